#include "ui/SeasonOutlookWindow.h"

#include "Typing.h"
#include "WidgetTestSupport.h"
#include "ui/SeasonInUse.h"

#include <filesystem>
#include <fstream>

#include <QAction>
#include <QBoxPlotSeries>
#include <QBoxSet>
#include <QChart>
#include <QChartView>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

namespace fs = std::filesystem;
using testing::child;
using testing::CountingWindow;
using testing::showActive;
using testing::typeInto;

const fs::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The standings' columns the test reads, as the window shows them.
constexpr int ClubColumn = 0;
constexpr int GamesColumn = 2;
constexpr int LossesColumn = 4;
constexpr int OvertimeLossesColumn = 5;
constexpr int PointsColumn = 7;
constexpr int LeftColumn = 8;
constexpr int ProjectedColumn = 9;
constexpr int PlayoffsColumn = 11;

// Five sample clubs in one division, the top four reaching the playoffs, with the built-in
// ratings. BOS beat TOR and lost a shootout to BUF (3 points); TOR lost both its games;
// TOR at BOS on the 5th was postponed and is listed again, still to play, on the 10th.
class SeasonOutlookWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* club : {"BOS", "TOR", "MON", "OTT", "BUF"}) {
            fs::copy_file(SampleRosters / club, season / club);
        }
        writeFile(season / "divisions.csv",
                  "code,conference,division\nBOS,East,Northeast\nTOR,East,Northeast\n"
                  "MON,East,Northeast\nOTT,East,Northeast\nBUF,East,Northeast\n");
        writeFile(season / "playoffs.txt", "division-top-four\n");
        writeFile(schedule, "date,visitor,home,visitor_goals,home_goals,result\n"
                            "2001-01-02,BOS,TOR,3,1,REG\n"
                            "2001-01-02,MON,OTT,2,3,OT\n"
                            "2001-01-03,BUF,BOS,2,1,SO\n"
                            "2001-01-05,TOR,BOS,,,\n"
                            "2001-01-08,BUF,TOR,4,0,REG\n"
                            "2001-01-10,TOR,BOS,,,\n"
                            "2001-01-10,OTT,MON,,,\n"
                            "2001-01-11,BOS,BUF,,,\n"
                            "2001-01-13,MON,BOS,,,\n");
    }

    // Fills the inputs and runs; true when the run ended within the time.
    bool run(int seasons) {
        child<QLineEdit>(outlook, "scheduleFile")->setText(QString::fromStdString(schedule));
        child<QSpinBox>(outlook, "seasonCount")->setValue(seasons);
        QTest::mouseClick(child<QPushButton>(outlook, "runButton"), Qt::LeftButton);
        return runEnds(60'000);
    }

    bool runEnds(int milliseconds) {
        auto* button = child<QPushButton>(outlook, "runButton");
        return QTest::qWaitFor([button] { return button->isEnabled(); }, milliseconds);
    }

    int rowOf(const QTableWidget* table, const QString& club) const {
        for (int row = 0; row < table->rowCount(); ++row) {
            if (table->item(row, ClubColumn)->text() == club) {
                return row;
            }
        }
        return -1;
    }

    static double columnSum(const QTableWidget* table, int column) {
        double sum = 0;
        for (int row = 0; row < table->rowCount(); ++row) {
            sum += table->item(row, column)->data(Qt::UserRole).toDouble();
        }
        return sum;
    }

    QTemporaryDir folders;
    const fs::path season = fs::path(folders.path().toStdString()) / "season";
    const bool made = fs::create_directory(season);
    const std::string schedule = (fs::path(folders.path().toStdString()) / "schedule.csv").string();
    SeasonOutlookWindow outlook{builtInSeason(season)};
};

// The standings so far are the games played, side by side; the chances add up as the
// format wants; the source line names the schedule and the postponed listing skipped.
TEST_F(SeasonOutlookWindowTest, RunShowsStandingsPointsAndTheGoalRace) {
    showActive(outlook);
    ASSERT_TRUE(run(200));
    EXPECT_TRUE(child<QLabel>(outlook, "statusLine")->text().startsWith("Done: 200 seasons"));
    EXPECT_EQ(child<QProgressBar>(outlook, "progressBar")->value(),
              child<QProgressBar>(outlook, "progressBar")->maximum());

    auto* standings = child<QTableWidget>(outlook, "standingsTable");
    ASSERT_EQ(standings->rowCount(), 5);
    const int bos = rowOf(standings, "BOS");
    const int tor = rowOf(standings, "TOR");
    ASSERT_GE(bos, 0);
    ASSERT_GE(tor, 0);
    EXPECT_EQ(standings->item(bos, GamesColumn)->text(), "2");
    EXPECT_EQ(standings->item(bos, OvertimeLossesColumn)->text(), "1");
    EXPECT_EQ(standings->item(bos, PointsColumn)->text(), "3");
    EXPECT_EQ(standings->item(bos, LeftColumn)->text(),
              "3"); // the postponed listing not among them
    EXPECT_EQ(standings->item(tor, LossesColumn)->text(), "2");
    EXPECT_EQ(standings->item(tor, PointsColumn)->text(), "0");
    EXPECT_EQ(standings->item(tor, LeftColumn)->text(), "1");
    EXPECT_NEAR(columnSum(standings, PlayoffsColumn), 4.0, 1e-9);
    for (const int row : {bos, tor}) {
        const double projected =
            standings->item(row, ProjectedColumn)->data(Qt::UserRole).toDouble();
        const int points = standings->item(row, PointsColumn)->text().toInt();
        const int left = standings->item(row, LeftColumn)->text().toInt();
        EXPECT_GE(projected, points);
        EXPECT_LE(projected, points + 2 * left);
    }
    const QString source = child<QLabel>(outlook, "outlookSource")->text();
    EXPECT_TRUE(source.contains("schedule.csv")) << source.toStdString();
    EXPECT_TRUE(source.contains("4 games played, 4 to play, 1 postponed listings skipped · 200 "
                                "seasons, base seed "))
        << source.toStdString();

    // One box a club, its percentiles in order.
    const QList<QAbstractSeries*> series =
        child<QChartView>(outlook, "pointsChart")->chart()->series();
    ASSERT_EQ(series.size(), 1);
    const auto* boxes = qobject_cast<QBoxPlotSeries*>(series[0]);
    ASSERT_NE(boxes, nullptr);
    ASSERT_EQ(boxes->count(), 5);
    for (const QBoxSet* box : boxes->boxSets()) {
        EXPECT_LE(box->at(QBoxSet::LowerExtreme), box->at(QBoxSet::Median));
        EXPECT_LE(box->at(QBoxSet::Median), box->at(QBoxSet::UpperExtreme));
    }

    // The goal race: the 18 of each roster, most projected first, one leader a season.
    auto* tabs = child<QTabWidget>(outlook, "outlookTabs");
    QTest::keyClick(&outlook, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(tabs->currentIndex(), 2);
    auto* race = child<QTableWidget>(outlook, "goalRaceTable");
    ASSERT_EQ(race->rowCount(), 5 * 18);
    EXPECT_NEAR(columnSum(race, 4), 1.0, 1e-6); // a title shared by many is rounded
    EXPECT_GE(race->item(0, 3)->data(Qt::UserRole).toDouble(),
              race->item(1, 3)->data(Qt::UserRole).toDouble());
    EXPECT_GE(race->item(0, 3)->data(Qt::UserRole).toDouble(),
              race->item(0, 2)->data(Qt::UserRole).toDouble());
}

// A click on a header sorts by the numbers, not their text; Export writes the source line
// and both tables as CSV; a changed input greys the figures it no longer answers.
TEST_F(SeasonOutlookWindowTest, SortsExportsAndGreysStaleFigures) {
    showActive(outlook);
    ASSERT_TRUE(run(100));
    auto* standings = child<QTableWidget>(outlook, "standingsTable");
    QHeaderView* header = standings->horizontalHeader();
    const QPoint points(header->sectionViewportPosition(PointsColumn) +
                            header->sectionSize(PointsColumn) / 2,
                        header->height() / 2);
    // BUF has 4 points, BOS 3, OTT 2, MON 1, TOR 0: as numbers whichever way they go.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, points);
    const bool ascending = header->sortIndicatorOrder() == Qt::AscendingOrder;
    EXPECT_EQ(header->sortIndicatorSection(), PointsColumn);
    for (int row = 1; row < standings->rowCount(); ++row) {
        const int before = standings->item(row - 1, PointsColumn)->text().toInt();
        const int after = standings->item(row, PointsColumn)->text().toInt();
        EXPECT_TRUE(ascending ? before <= after : before >= after) << row;
    }
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, points);
    EXPECT_EQ(standings->item(0, ClubColumn)->text(), ascending ? "BUF" : "TOR");

    QTemporaryDir folder;
    const QString file = folder.filePath("outlook.csv");
    QTimer::singleShot(0, [file] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    auto* exportButton = child<QPushButton>(outlook, "exportButton");
    ASSERT_TRUE(exportButton->isEnabled());
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(written.readAll()).split('\n');
    ASSERT_GE(lines.size(), 2 + 6 + 1 + 91);
    EXPECT_TRUE(lines[0].startsWith("\"Season: built-in 2000-01")) << lines[0].toStdString();
    EXPECT_TRUE(lines[2].startsWith("Club,Division,GP,W,L,OTL,T,Pts,Left,Projected points"));
    EXPECT_TRUE(lines[3].startsWith(standings->item(0, ClubColumn)->text() + ",East / Northeast,"));
    EXPECT_EQ(lines.filter(QRegularExpression("^BOS,East / Northeast,2,1,0,1,0,3,3,")).size(), 1);
    EXPECT_EQ(lines[9], "Player,Club,Goals,Projected goals,Most goals");

    typeInto(child<QLineEdit>(outlook, "asOfDate"), "2001-01-03");
    EXPECT_FALSE(child<QTabWidget>(outlook, "outlookTabs")->isEnabled());
    EXPECT_FALSE(exportButton->isEnabled());
    EXPECT_TRUE(child<QLabel>(outlook, "outlookSource")->text().startsWith("Inputs changed"));
    // Run again as of the 3rd: the game of the 2nd stands, BUF's win of the 3rd is replayed.
    QTest::mouseClick(child<QPushButton>(outlook, "runButton"), Qt::LeftButton);
    ASSERT_TRUE(runEnds(60'000));
    EXPECT_TRUE(child<QTabWidget>(outlook, "outlookTabs")->isEnabled());
    const int bos = rowOf(standings, "BOS");
    EXPECT_EQ(standings->item(bos, PointsColumn)->text(), "2");
    EXPECT_EQ(standings->item(bos, LeftColumn)->text(), "4");
}

// Cancel or Esc stops a long run and shows no figures; a schedule that cannot be read is named
// and nothing runs.
TEST_F(SeasonOutlookWindowTest, CancelStopsTheRunAndABadScheduleIsNamed) {
    showActive(outlook);
    child<QLineEdit>(outlook, "scheduleFile")->setText(QString::fromStdString(schedule));
    child<QSpinBox>(outlook, "seasonCount")->setValue(5'000'000);
    auto* cancel = child<QPushButton>(outlook, "cancelButton");
    EXPECT_FALSE(cancel->isEnabled());
    QTest::mouseClick(child<QPushButton>(outlook, "runButton"), Qt::LeftButton);
    ASSERT_TRUE(cancel->isEnabled());
    EXPECT_FALSE(child<QLineEdit>(outlook, "scheduleFile")->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    ASSERT_TRUE(runEnds(30'000));
    EXPECT_TRUE(child<QLabel>(outlook, "statusLine")->text().startsWith("Cancelled"));
    // Enter in the schedule's box runs again, and Esc stops it.
    QTest::keyClick(child<QLineEdit>(outlook, "scheduleFile"), Qt::Key_Return);
    ASSERT_TRUE(cancel->isEnabled());
    QTest::keyClick(&outlook, Qt::Key_Escape);
    ASSERT_TRUE(runEnds(30'000));
    EXPECT_TRUE(child<QLabel>(outlook, "statusLine")->text().startsWith("Cancelled"));
    EXPECT_EQ(child<QTableWidget>(outlook, "standingsTable")->rowCount(), 0);
    EXPECT_FALSE(child<QPushButton>(outlook, "exportButton")->isEnabled());

    const std::string missing = (season / "nothing.csv").string();
    child<QLineEdit>(outlook, "scheduleFile")->setText(QString::fromStdString(missing));
    QTest::mouseClick(child<QPushButton>(outlook, "runButton"), Qt::LeftButton);
    EXPECT_TRUE(child<QPushButton>(outlook, "runButton")->isEnabled());
    EXPECT_TRUE(child<QLabel>(outlook, "statusLine")->text().contains("nothing.csv"));
    EXPECT_EQ(child<QTableWidget>(outlook, "standingsTable")->rowCount(), 0);
}

// The Season menu opens one outlook window on the season in use, and tells it of a new one.
TEST(SeasonOutlookMenu, OpensOnceOnTheSeasonInUse) {
    CountingWindow window{SampleRosters};
    showActive(window);
    child<QAction>(window, "mnuSeasonOutlook")->trigger();
    QPointer<QWidget> opened;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmSeasonOutlook" && widget->isVisible()) {
            opened = widget;
        }
    }
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(child<QLabel>(*opened, "seasonName")->text(), "Season: built-in 2000-01");
    EXPECT_EQ(child<QSpinBox>(*opened, "seasonCount")->value(), 10'000);
    child<QAction>(window, "mnuSeasonOutlook")->trigger();
    int open = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        open += widget->objectName() == "frmSeasonOutlook" && widget->isVisible() ? 1 : 0;
    }
    EXPECT_EQ(open, 1);
}

} // namespace
} // namespace zelkor::ui
