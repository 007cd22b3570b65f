#pragma once

#include "odds/ManySeries.h"
#include "odds/OddsTally.h"

#include "ui/BackgroundRun.h"

#include <QString>

namespace zelkor::ui {

// Plays a many-series run on a thread of its own and reports it on the thread that owns
// this object: progress with the series so far, then exactly one of finished, cancelled
// or failed. Destroying it stops a run that is still going and waits for its thread.
class OddsRun : public BackgroundRun {
    Q_OBJECT

public:
    explicit OddsRun(QObject* parent = nullptr);

    // Starts a run; ignored while one is going.
    void start(const ManySeriesRequest& request);

signals:
    void progressed(const zelkor::OddsTally& soFar);
    void finished(const zelkor::OddsTally& tally);
    void cancelled();
    void failed(const QString& message);
};

} // namespace zelkor::ui
