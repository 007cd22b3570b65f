#pragma once

#include "season/SeasonBuild.h"

#include <stop_token>

#include <QObject>
#include <QString>

class QThread;

namespace zelkor::ui {

// Builds a season on a thread of its own and reports on the thread that owns this object:
// progress, then exactly one of finished, cancelled or failed. Destroying it stops a build
// that is still going and waits for its thread.
class SeasonBuildRun : public QObject {
    Q_OBJECT

public:
    explicit SeasonBuildRun(QObject* parent = nullptr);
    ~SeasonBuildRun() override;
    SeasonBuildRun(const SeasonBuildRun&) = delete;
    SeasonBuildRun& operator=(const SeasonBuildRun&) = delete;

    // Starts a build; ignored while one is going.
    void start(const SeasonBuildRequest& request);
    // Asks the build to stop; it reports cancelled once its thread has stopped, or
    // finished when it was already writing.
    void cancel();
    bool running() const { return thread_ != nullptr; }

signals:
    void progressed(const QString& stage, double done);
    void finished();
    void cancelled();
    void failed(const QString& message);

private:
    void threadDone();

    QThread* thread_ = nullptr;
    std::stop_source stop_;
};

} // namespace zelkor::ui
