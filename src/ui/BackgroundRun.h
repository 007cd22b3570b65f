#pragma once

#include <functional>
#include <stop_token>

#include <QObject>

class QLabel;
class QPushButton;
class QProgressBar;
class QString;
class QThread;

namespace zelkor::ui {

// One long job at a time on a thread of its own, its reports delivered on the thread that
// owns this object in the order they were made. Destroying it stops a job that is still
// going and waits for its thread; a report still queued then is dropped.
class BackgroundRun : public QObject {
    Q_OBJECT

public:
    using Report = std::function<void()>;

    // How the job's thread hands its reports over.
    class Reports {
    public:
        void progress(Report report) const;
        // The job's last report: the thread is gone by the time it runs.
        void end(Report report) const;

    private:
        friend class BackgroundRun;
        explicit Reports(BackgroundRun* run) : run_(run) {}
        BackgroundRun* run_;
    };
    using Job = std::function<void(std::stop_token, const Reports&)>;

    explicit BackgroundRun(QObject* parent);
    ~BackgroundRun() override;
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    // Asks the job to stop; it says how it ended in its last report.
    void cancel();
    bool running() const { return thread_ != nullptr; }

protected:
    // Starts job, which touches this object only through its reports; ignored while one
    // is going.
    void startJob(Job job);

private:
    void threadDone();

    QThread* thread_ = nullptr;
    std::stop_source stop_;
};

// The progress bar of a window's run, steps long, and its status line, named as the
// window tests find them.
QProgressBar* newRunProgressBar(int steps);
QLabel* newRunStatusLine();

// The buttons of a window's run, named as the window tests find them.
struct RunButtons {
    QPushButton* run = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* exportFigures = nullptr; ///< its tooltip says what it writes
};
RunButtons newRunButtons(const QString& exportTip);

// The label naming the season a window plays.
QLabel* newSeasonNameLabel();

} // namespace zelkor::ui
