#pragma once

#include "season/SeasonBuild.h"

#include "ui/BackgroundRun.h"

#include <QString>

namespace zelkor::ui {

// Builds a season on a thread of its own and reports on the thread that owns this object:
// progress, then exactly one of finished, cancelled, filesExist or failed. Destroying it
// stops a build that is still going and waits for its thread. Cancelled once it is
// writing, it still reports finished.
class SeasonBuildRun : public BackgroundRun {
    Q_OBJECT

public:
    explicit SeasonBuildRun(QObject* parent = nullptr);

    // Starts a build; ignored while one is going.
    void start(const SeasonBuildRequest& request);

signals:
    void progressed(const QString& stage, double done);
    void finished(const zelkor::SeasonBuildReport& report);
    void cancelled();
    // The folder holds count of the files the build writes and replacing was not asked.
    void filesExist(int count);
    void failed(const QString& message);
};

} // namespace zelkor::ui
