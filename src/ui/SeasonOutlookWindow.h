#pragma once

#include "season/SeasonOutlook.h"
#include "ui/BackgroundRun.h"
#include "ui/SeasonInUse.h"

#include <cstdint>
#include <memory>
#include <string>

#include <QString>
#include <QWidget>

class QChartView;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTableWidget;

namespace zelkor::ui {

// Plays an outlook on a thread of its own and reports it on the thread that owns this
// object: progress with the seasons done, then exactly one of finished, cancelled or failed.
class OutlookRun : public BackgroundRun {
    Q_OBJECT

public:
    explicit OutlookRun(QObject* parent = nullptr);

    // Starts a run; ignored while one is going.
    void start(const OutlookRequest& request);

signals:
    void progressed(quint64 done, quint64 total);
    void finished(std::shared_ptr<const zelkor::SeasonOutlook> outlook);
    void cancelled();
    void failed(const QString& message);
};

// The rest of a season played many times from the season in use and a schedule: the
// standings by division with each club's chances, each club's final points as a box, and
// the goal race. It has no owner; closing it stops its run.
class SeasonOutlookWindow : public QWidget {
    Q_OBJECT

public:
    explicit SeasonOutlookWindow(SeasonInUse season, QWidget* parent = nullptr);

    // The figures shown belong to the season before; they go grey until the next run.
    void useSeason(SeasonInUse season);

private:
    QWidget* buildInputs();
    QWidget* buildStandings();
    QWidget* buildPointsChart();
    QWidget* buildGoalRace();
    void chooseSchedule();
    void startRun();
    void cancelRun();
    void inputsChanged();
    void setRunning(bool running);
    void runProgressed(quint64 done, quint64 total);
    void runFinished(std::shared_ptr<const SeasonOutlook> outlook);
    void runCancelled();
    void runFailed(const QString& message);
    void showOutlook();
    void exportFigures();
    QString figuresCsv() const;
    QString seasonText() const;

    SeasonInUse season_;
    OutlookRun* run_;
    std::shared_ptr<const SeasonOutlook> shown_;
    QString shownSource_;       // the line naming what the figures shown were played from
    std::size_t postponed_ = 0; // listings the schedule of the run skipped

    QLineEdit* schedule_ = nullptr;
    QLineEdit* asOf_ = nullptr;
    QSpinBox* seasons_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* runButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QLabel* seasonName_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* source_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableWidget* standings_ = nullptr;
    QChartView* pointsChart_ = nullptr;
    QTableWidget* goalRace_ = nullptr;
};

} // namespace zelkor::ui
