#pragma once

#include "odds/ManySeries.h"
#include "odds/OddsTally.h"

#include <stop_token>

#include <QObject>
#include <QString>

class QThread;

namespace zelkor::ui {

// Plays a many-series run on a thread of its own and reports it on the thread that owns
// this object: progress with the series so far, then exactly one of finished, cancelled
// or failed. Destroying it stops a run that is still going and waits for its thread.
class OddsRun : public QObject {
    Q_OBJECT

public:
    explicit OddsRun(QObject* parent = nullptr);
    ~OddsRun() override;
    OddsRun(const OddsRun&) = delete;
    OddsRun& operator=(const OddsRun&) = delete;

    // Starts a run; ignored while one is going.
    void start(const ManySeriesRequest& request);
    // Asks the run to stop; it reports cancelled once its thread has stopped.
    void cancel();
    bool running() const { return thread_ != nullptr; }

signals:
    void progressed(const zelkor::OddsTally& soFar);
    void finished(const zelkor::OddsTally& tally);
    void cancelled();
    void failed(const QString& message);

private:
    void threadDone();

    QThread* thread_ = nullptr;
    std::stop_source stop_;
};

} // namespace zelkor::ui
