#include "ui/OddsWindow.h"

#include "Typing.h"
#include "WidgetTestSupport.h"
#include "odds/ManySeries.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/SeasonRatings.h"
#include "ui/ScoreHeatMap.h"
#include "ui/SeasonInUse.h"

#include <QAction>
#include <QBarSeries>
#include <QBarSet>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stop_token>

namespace zelkor::ui {
namespace {

using testing::child;
using testing::CountingWindow;
using testing::enterAndLeave;
using testing::MessageBoxCloser;
using testing::showActive;
using testing::typeInto;

const std::filesystem::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

class OddsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        showActive(window);
        enterAndLeave(window, "cboVisitor", "BOS");
        enterAndLeave(window, "txtGAAV", "2.5");
        enterAndLeave(window, "cboHome", "TOR");
        enterAndLeave(window, "txtGAAH", "3.1");
    }
    void TearDown() override {
        for (QWidget* odds : oddsWindows()) {
            odds->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static QList<OddsWindow*> oddsWindows() {
        QList<OddsWindow*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* odds = qobject_cast<OddsWindow*>(widget); odds && odds->isVisible()) {
                found.append(odds);
            }
        }
        return found;
    }

    OddsWindow& openOdds() {
        child<QAction>(window, "oddsMenuItem")->trigger();
        EXPECT_EQ(oddsWindows().size(), 1);
        EXPECT_TRUE(QTest::qWaitForWindowActive(oddsWindows().front()));
        return *oddsWindows().front();
    }

    // Waits for the run to end: Run is offered again.
    static bool waitForRunEnd(OddsWindow& odds, int milliseconds) {
        auto* run = child<QPushButton>(odds, "runButton");
        return QTest::qWaitFor([run] { return run->isEnabled(); }, milliseconds);
    }

    CountingWindow window{SampleRosters};
};

TEST_F(OddsWindowTest, OpensOnceAfterReadMeWithTheMainWindowsEntriesToEditApart) {
    const QList<QAction*> items = window.menuBar()->actions();
    ASSERT_EQ(items.size(), 3);
    // The captions' words, each with its underlined letter.
    EXPECT_EQ(items[0]->text(), "&ReadMe");
    EXPECT_EQ(items[1]->text(), "&Odds");
    EXPECT_EQ(items[2]->text(), "&Season");

    openOdds();
    OddsWindow& odds = openOdds();
    EXPECT_EQ(odds.parentWidget(), nullptr);
    EXPECT_FALSE(odds.isModal());
    EXPECT_EQ(child<QComboBox>(odds, "visitorTeam")->currentText(), "BOS");
    EXPECT_EQ(child<QLineEdit>(odds, "visitorGaa")->text(), "2.5");
    EXPECT_EQ(child<QComboBox>(odds, "homeTeam")->currentText(), "TOR");
    EXPECT_EQ(child<QLineEdit>(odds, "homeGaa")->text(), "3.1");
    EXPECT_EQ(child<QSpinBox>(odds, "seriesCount")->value(), 100'000);

    typeInto(child<QComboBox>(odds, "visitorTeam"), "ANA");
    EXPECT_EQ(child<QComboBox>(window, "cboVisitor")->currentText(), "BOS");
    // The bookmaker's field: a placeholder that is no price, and a tooltip that shows also
    // while the main window is the active one.
    auto* offered = child<QLineEdit>(odds, "visitorOffered");
    EXPECT_EQ(offered->placeholderText(), "odds");
    showActive(window);
    const QPoint inside = offered->mapTo(&odds, QPoint(6, 6));
    QTest::mouseMove(odds.windowHandle(), inside);
    QTest::mouseMove(odds.windowHandle(), inside + QPoint(2, 2));
    EXPECT_TRUE(QTest::qWaitFor([offered] { return QToolTip::text() == offered->toolTip(); }));
}

TEST_F(OddsWindowTest, RunShowsWhatTheEngineCountsForTheSameSeeds) {
    OddsWindow& odds = openOdds();
    child<QSpinBox>(odds, "seriesCount")->setValue(40);
    typeInto(child<QLineEdit>(odds, "seed"), "2024");
    QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
    ASSERT_TRUE(waitForRunEnd(odds, 30'000));
    ASSERT_TRUE(odds.shownTally());
    const OddsTally& shown = *odds.shownTally();

    ManySeriesRequest request{"BOS",         "TOR", {"2.5", 2.5f}, {"3.1", 3.1f},
                              SampleRosters, 40,    2024,          1};
    const auto expected = playManySeries(request, std::stop_token());
    ASSERT_TRUE(expected);
    EXPECT_EQ(shown.scores(), expected->scores());
    EXPECT_EQ(shown.moneyLineCaptions(), expected->moneyLineCaptions());
    EXPECT_EQ(child<QProgressBar>(odds, "progressBar")->value(),
              child<QProgressBar>(odds, "progressBar")->maximum());
    EXPECT_EQ(child<QLabel>(odds, "statusLine")->text(), "40 series, 440 games (base seed 2024)");

    const QLocale locale;
    auto* scorers = child<QTableWidget>(odds, "visitorScorers");
    ASSERT_EQ(scorers->rowCount(), 18);
    const PlayerTally* top = &expected->visitorPlayers[0]; // the most goals, first in roster
    for (const PlayerTally& player : expected->visitorPlayers) {
        top = player.goals > top->goals ? &player : top;
    }
    EXPECT_EQ(scorers->item(0, 0)->text(), QString::fromStdString(top->name));
    EXPECT_EQ(scorers->item(0, 1)->text(),
              locale.toString(100.0 * double(top->gamesWithGoal) / 440, 'f', 1) + " %");
    auto* moneyLines = child<QTableWidget>(odds, "moneyLineTable");
    EXPECT_EQ(moneyLines->rowCount(), int(expected->moneyLineCaptions().size()));

    // The edge follows the bookmaker's odds as they are typed, in either form.
    const OddsFigures figures = oddsFigures(*expected, 2.1, 2.5);
    const auto edgeText = [&locale](double edge) {
        return (edge > 0 ? "+" : "") + locale.toString(edge * 100, 'f', 1) + " %";
    };
    typeInto(child<QLineEdit>(odds, "visitorOffered"), locale.toString(2.1, 'f', 2));
    typeInto(child<QLineEdit>(odds, "homeOffered"), "+150");
    EXPECT_EQ(child<QLabel>(odds, "visitorEdge")->text(), edgeText(*figures.visitorEdge));
    EXPECT_EQ(child<QLabel>(odds, "homeEdge")->text(), edgeText(*figures.homeEdge));
    // The sample folder was never backtested: the window says so, and a positive edge is
    // marked as one no backtest found paying.
    EXPECT_TRUE(child<QLabel>(odds, "modelTest")->text().contains("has not been tested"));
    for (const char* side : {"visitorEdge", "homeEdge"}) {
        auto* edge = child<QLabel>(odds, side);
        EXPECT_EQ(edge->toolTip().isEmpty(), !edge->text().startsWith('+')) << side;
    }
    typeInto(child<QLineEdit>(odds, "homeOffered"), "+50");
    EXPECT_EQ(child<QLabel>(odds, "homeEdge")->text(), "not odds");
    auto* note = child<QLabel>(odds, "edgeNote");
    EXPECT_EQ(note->text(),
              QString::fromUtf8("Not odds: type decimal with a decimal point 1.01 to 1,000 or "
                                "American \u00b1100 to \u00b1100,000 (+150, -120; a whole number "
                                "from 100 on is American)."));
    typeInto(child<QLineEdit>(odds, "homeOffered"), "+150");

    // Other teams: the figures are marked as the previous run's and judge no odds.
    typeInto(child<QComboBox>(odds, "visitorTeam"), "ANA");
    EXPECT_TRUE(child<QLabel>(odds, "statusLine")
                    ->text()
                    .startsWith("The figures are of the previous run, BOS at TOR"));
    EXPECT_EQ(child<QLabel>(odds, "visitorEdge")->text(), "");
    EXPECT_FALSE(child<QTableWidget>(odds, "outcomeTable")->isEnabled());
    EXPECT_TRUE(note->text().contains("previous run"));
    typeInto(child<QComboBox>(odds, "visitorTeam"), "BOS");
    EXPECT_EQ(child<QLabel>(odds, "statusLine")->text(), "40 series, 440 games (base seed 2024)");
    EXPECT_EQ(child<QLabel>(odds, "visitorEdge")->text(), edgeText(*figures.visitorEdge));
    odds.useSeason(builtInSeason(SampleRosters));
    EXPECT_EQ(child<QLabel>(odds, "visitorEdge")->text(), "");
}

// The command line's JSON of the same seeded run ranks the scorers and cuts the score
// grid as the window does; 40 series rank some players differently by games with a goal.
// The window fits a screen of 1280 x 720, names whole.
TEST_F(OddsWindowTest, RanksScorersAndCutsTheScoreGridAsTheCommandLine) {
    OddsWindow& odds = openOdds();
    odds.resize(1280, 690); // 720 less a title bar
    child<QSpinBox>(odds, "seriesCount")->setValue(40);
    typeInto(child<QLineEdit>(odds, "seed"), "2024");
    QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
    ASSERT_TRUE(waitForRunEnd(odds, 30'000));
    EXPECT_EQ(odds.size(), QSize(1280, 690));
    EXPECT_LE(odds.minimumSizeHint().width(), 1280);
    EXPECT_LE(odds.minimumSizeHint().height(), 690);

    QProcess cli;
    cli.start(QStringLiteral(ZELKOR_CLI_PATH),
              {"BOS", "TOR", "--gaa-visitor", "2.5", "--gaa-home", "3.1", "--rosters",
               QString::fromStdString(SampleRosters.string()), "--series", "40", "--seed", "2024",
               "--json"});
    ASSERT_TRUE(cli.waitForFinished(30'000));
    const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();

    for (const char* side : {"visitor", "home"}) {
        SCOPED_TRACE(side);
        const QJsonArray players = json[QString(side) + "_players"].toArray();
        const QJsonArray ranks = json["scorer_ranks"][side].toArray();
        auto* table = child<QTableWidget>(odds, side == std::string("visitor") ? "visitorScorers"
                                                                               : "homeScorers");
        ASSERT_EQ(ranks.size(), table->rowCount());
        for (int rank = 0; rank < table->rowCount(); ++rank) {
            EXPECT_EQ(table->item(rank, 0)->text(),
                      players[ranks[rank].toInt() - 1]["name"].toString())
                << "rank " << rank;
            // On a 1280 x 720 screen every name is whole.
            EXPECT_LE(table->fontMetrics().horizontalAdvance(table->item(rank, 0)->text()) + 8,
                      table->columnWidth(0))
                << table->item(rank, 0)->text().toStdString();
        }
    }
    const QJsonArray grid = json["score_grid"].toArray();
    ASSERT_EQ(grid.size(), ScoreHeatMap::HeatMapGoals);
    const auto* heatMap = child<ScoreHeatMap>(odds, "scoreHeatMap");
    for (int v = 0; v < grid.size(); ++v) {
        for (int h = 0; h < grid.size(); ++h) {
            EXPECT_DOUBLE_EQ(heatMap->share(v, h), grid[v][h].toDouble()) << v << "-" << h;
        }
    }
}

TEST_F(OddsWindowTest, CancelStopsALongRunWhileFaceOffStaysUsable) {
    OddsWindow& odds = openOdds();
    child<QSpinBox>(odds, "seriesCount")->setValue(100'000'000);
    typeInto(child<QLineEdit>(odds, "seed"), "99");
    QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&odds] { return odds.shownTally().has_value(); }, 5'000));

    QTest::mouseClick(child<QPushButton>(window, "CmdGo"), Qt::LeftButton);
    EXPECT_FALSE(child<QLabel>(window, "lblBet")->text().isEmpty());

    QTest::mouseClick(child<QPushButton>(odds, "cancelButton"), Qt::LeftButton);
    ASSERT_TRUE(waitForRunEnd(odds, 10'000));
    ASSERT_TRUE(odds.shownTally());
    EXPECT_LT(odds.shownTally()->series, 100'000'000U);
    EXPECT_TRUE(child<QLabel>(odds, "statusLine")->text().startsWith("Cancelled"));
    EXPECT_TRUE(child<QLabel>(odds, "statusLine")->text().contains("(base seed 99)"));

    // Closing the window in the middle of a run stops it too.
    QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
    QPointer<OddsWindow> closing = &odds;
    closing->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(closing.isNull());
}

TEST_F(OddsWindowTest, RefusesWhatFaceOffRefusesWithItsMessages) {
    OddsWindow& odds = openOdds();
    const struct {
        const char* box;
        const char* text;
        const char* message;
        const char* focus; // where the focus goes back; none for "You must enter GAA"
    } rows[] = {
        {"visitorGaa", "", "You must enter GAA", nullptr},
        {"homeGaa", "0", "You must enter a value above 0", "homeGaa"},
        {"visitorGaa", "abc",
         "\"abc\" is not a number; write the decimals after a full stop, as in 2.75", "visitorGaa"},
        {"homeGaa", "  ", "You must enter a value above 0", "homeGaa"},
        {"homeTeam", "XYZ", "Unknown home team \"XYZ\"", "homeTeam"},
        {"homeTeam", "BOS", "BOS cannot play itself: choose another home team", "homeTeam"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.box) + " '" + row.text + "'");
        typeInto(child<QLineEdit>(odds, "visitorGaa"), "2.5");
        typeInto(child<QLineEdit>(odds, "homeGaa"), "3.1");
        child<QComboBox>(odds, "homeTeam")->setEditText("TOR");
        typeInto(odds.findChild<QWidget*>(row.box), row.text);
        MessageBoxCloser closer;
        QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
        ASSERT_EQ(closer.seen.size(), 1U);
        EXPECT_EQ(closer.seen[0].text, row.message);
        EXPECT_EQ(closer.seen[0].title, "ZELKOR");
        EXPECT_FALSE(odds.shownTally());
        EXPECT_TRUE(child<QPushButton>(odds, "runButton")->isEnabled());
        if (row.focus != nullptr) {
            QWidget* back = odds.findChild<QWidget*>(row.focus);
            EXPECT_TRUE(QTest::qWaitFor([back] { return QApplication::focusWidget() == back; }));
        }
    }
}

// Whether any pixel of the widget is plainly coloured rather than grey.
bool drawsColour(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (std::abs(qBlue(pixel) - qRed(pixel)) > 16 ||
                std::abs(qBlue(pixel) - qGreen(pixel)) > 16) {
                return true;
            }
        }
    }
    return false;
}

// The seeded 40-series run of BOS at TOR that the tests read figures from.
void runForty(OddsWindow& odds) {
    child<QSpinBox>(odds, "seriesCount")->setValue(40);
    typeInto(child<QLineEdit>(odds, "seed"), "2024");
    QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
}

TEST_F(OddsWindowTest, TheBettorsLinesArePricedAndJudgedRowByRow) {
    OddsWindow& odds = openOdds();
    runForty(odds);
    ASSERT_TRUE(waitForRunEnd(odds, 30'000));
    const std::vector<BettingLine> lines = bettingLines(*odds.shownTally());
    const QLocale locale;
    auto* table = child<QTableWidget>(odds, "bettingLines");
    // Each market under a row of its own, then its lines.
    const QStringList rows{"Regulation time, three-way",
                           "BOS",
                           "Draw",
                           "TOR",
                           "Total goals",
                           "Over 4.5",
                           "Under 4.5",
                           "Over 5.5",
                           "Under 5.5",
                           "Over 6.5",
                           "Under 6.5",
                           "Puck line",
                           "BOS -1.5",
                           "TOR +1.5",
                           "TOR -1.5",
                           "BOS +1.5"};
    ASSERT_EQ(table->rowCount(), rows.size());
    std::size_t index = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        EXPECT_EQ(table->item(row, 0)->text(), rows[row]);
        if (table->columnSpan(row, 0) > 1) {
            continue; // a market's title
        }
        const BettingLine& line = lines[index++];
        EXPECT_EQ(table->item(row, 1)->text(), locale.toString(line.chance * 100, 'f', 1) + " %");
        ASSERT_TRUE(line.fair) << row;
        EXPECT_EQ(table->item(row, 2)->text(), locale.toString(line.fair->decimal, 'f', 2));
    }
    EXPECT_EQ(index, BettingLineCount);
    // The under 5.5 at 2.10: its own chance judged, no other row's.
    const double under = lines[6].chance;
    typeInto(child<QLineEdit>(odds, "lineOffered6"), locale.toString(2.1, 'f', 2));
    const double edge = under * 1.1 - (1 - under);
    EXPECT_EQ(table->item(8, 5)->text(),
              (edge > 0 ? "+" : "") + locale.toString(edge * 100, 'f', 1) + " %");
    EXPECT_EQ(table->item(7, 5)->text(), "");
    typeInto(child<QLineEdit>(odds, "lineOffered9"), "+50");
    EXPECT_EQ(table->item(12, 5)->text(), "not odds");

    // Each scorer's anytime chance has its fair price; the goals a game are on the name.
    auto* scorers = child<QTableWidget>(odds, "visitorScorers");
    EXPECT_EQ(scorers->columnCount(), 3);
    EXPECT_TRUE(scorers->item(0, 0)->toolTip().endsWith(" goals a game"));
    const ScorerFigures top = oddsFigures(*odds.shownTally()).visitorScorers[0];
    EXPECT_EQ(scorers->item(0, 2)->text(), locale.toString(1 / top.anytime, 'f', 2));
    EXPECT_EQ(scorers->item(0, 2)->toolTip(),
              QString("Fair odds %1 or %2")
                  .arg(locale.toString(1 / top.anytime, 'f', 2))
                  .arg((1 / top.anytime >= 2 ? "+" : "") +
                       locale.toString(std::round(anytimeScorerOdds(top)->american), 'f', 0)));
    EXPECT_FALSE(child<QLabel>(odds, "moneyLinesNote")->text().isEmpty());
    EXPECT_EQ(child<QLabel>(odds, "seasonName")->text(), "Season: built-in 2000-01");

    // Without shootouts games may end level, and overtime is overtime alone.
    auto* outcomes = child<QTableWidget>(odds, "outcomeTable");
    EXPECT_EQ(outcomes->item(1, 0)->text(), "BOS wins in overtime");
    EXPECT_FALSE(outcomes->isRowHidden(4));
}

TEST_F(OddsWindowTest, TheKeyboardRunsAndCancelsAndTheFocusFollows) {
    OddsWindow& odds = openOdds();
    showActive(odds);
    child<QSpinBox>(odds, "seriesCount")->setValue(100'000'000);
    auto* gaa = child<QLineEdit>(odds, "homeGaa");
    gaa->setFocus();
    QTest::keyClick(gaa, Qt::Key_Return);
    auto* cancel = child<QPushButton>(odds, "cancelButton");
    ASSERT_TRUE(cancel->isEnabled());
    EXPECT_TRUE(cancel->hasFocus());
    EXPECT_TRUE(QTest::qWaitFor([&odds] { return odds.shownTally().has_value(); }, 5'000));
    QTest::keyClick(cancel, Qt::Key_Escape);
    ASSERT_TRUE(waitForRunEnd(odds, 10'000));
    EXPECT_TRUE(child<QLabel>(odds, "statusLine")->text().startsWith("Cancelled"));
    EXPECT_TRUE(child<QPushButton>(odds, "runButton")->hasFocus());

    // Enter in a bookmaker's field judges the odds and starts nothing.
    auto* offered = child<QLineEdit>(odds, "visitorOffered");
    offered->setFocus();
    QTest::keyClick(offered, Qt::Key_Return);
    EXPECT_FALSE(cancel->isEnabled());
    // Alt+E goes to the seed, and every other letter to its own control.
    QTest::keyClick(&odds, Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(child<QLineEdit>(odds, "seed")->hasFocus());
}

TEST_F(OddsWindowTest, TablesCopyAsTabsAndEveryFigureExportsAsCsv) {
    OddsWindow& odds = openOdds();
    showActive(odds);
    runForty(odds);
    ASSERT_TRUE(waitForRunEnd(odds, 30'000));

    auto* outcomes = child<QTableWidget>(odds, "outcomeTable");
    QTest::mouseClick(outcomes->viewport(), Qt::LeftButton);
    ASSERT_TRUE(outcomes->hasFocus());
    QApplication::clipboard()->clear();
    QTest::keySequence(outcomes, QKeySequence::Copy);
    QStringList copied = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(copied.size(), 9); // the header, seven outcomes, the last line's end
    EXPECT_EQ(copied[0], "Game ends\tChance\t95 % interval");
    EXPECT_EQ(copied[1].section('\t', 0, 1),
              outcomes->item(0, 0)->text() + "\t" + outcomes->item(0, 1)->text());

    // The context menu's one item copies the bettor's table, bookmaker's odds and all.
    typeInto(child<QLineEdit>(odds, "lineOffered3"), "1.90");
    auto* lines = child<QTableWidget>(odds, "bettingLines");
    EXPECT_EQ(lines->contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_EQ(lines->actions().size(), 1);
    lines->actions()[0]->trigger();
    copied = QApplication::clipboard()->text().split('\n');
    ASSERT_EQ(copied.size(), int(BettingLineCount) + 3 + 2);
    EXPECT_EQ(copied[5], "Total goals\t\t\t\t\t");
    EXPECT_EQ(copied[6].section('\t', 0, 0), "Over 4.5");
    EXPECT_EQ(copied[6].section('\t', 4, 4), "1.90");

    // Export, through the file dialog as a user would.
    QTemporaryDir folder;
    const QString file = folder.filePath("figures.csv");
    QTimer::singleShot(0, [file] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(file);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    auto* exportButton = child<QPushButton>(odds, "exportButton");
    ASSERT_TRUE(exportButton->isEnabled());
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QString csv = QString::fromUtf8(written.readAll());
    EXPECT_TRUE(csv.startsWith("Visitor,Home,Series,Games,Base seed,Season\nBOS,TOR,40,440,2024,"
                               "Season: built-in 2000-01\n"))
        << csv.toStdString();
    for (const char* section :
         {"\nHow the games end\nGame ends,Chance,95 % interval\n", "\nBetting lines\nLine,Chance,",
          "\nVisitor scorers\n", "\nMoney line of an 11-game series\n", "\nFinal scores"}) {
        EXPECT_TRUE(csv.contains(section)) << section;
    }
    EXPECT_TRUE(csv.contains("\nTotal goals,,,,,\nOver 4.5,")) << csv.toStdString();

    // As JSON: the command line's object, the bookmaker's odds typed included.
    typeInto(child<QLineEdit>(odds, "homeOffered"), "+120");
    const QString jsonFile = folder.filePath("figures.json");
    QTimer::singleShot(0, [jsonFile] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(jsonFile);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::mouseClick(exportButton, Qt::LeftButton);
    QFile jsonWritten(jsonFile);
    ASSERT_TRUE(jsonWritten.open(QIODevice::ReadOnly));
    const QJsonObject json = QJsonDocument::fromJson(jsonWritten.readAll()).object();
    EXPECT_EQ(json["visitor"].toString(), "BOS");
    EXPECT_EQ(json["series"].toInt(), 40);
    EXPECT_EQ(json["seed"].toInt(), 2024);
    EXPECT_EQ(json["games"].toInt(), 440);
    EXPECT_EQ(json["ratings"].toString(), "built-in");
    EXPECT_DOUBLE_EQ(json["offered_odds"]["home"].toDouble(), 2.2);
    EXPECT_TRUE(json["offered_odds"]["visitor"].isNull());
}

TEST_F(OddsWindowTest, StaleFiguresAreGreyedInTheChartsToo) {
    OddsWindow& odds = openOdds();
    showActive(odds);
    runForty(odds);
    ASSERT_TRUE(waitForRunEnd(odds, 30'000));
    auto* heatMap = child<ScoreHeatMap>(odds, "scoreHeatMap");
    auto* chart = child<QChartView>(odds, "totalGoalsChart");
    const auto barColour = [chart] {
        return qobject_cast<QBarSeries*>(chart->chart()->series().at(0))->barSets().at(0)->color();
    };
    const QColor current = barColour();
    EXPECT_TRUE(drawsColour(heatMap));

    typeInto(child<QLineEdit>(odds, "homeGaa"), "2.9");
    EXPECT_FALSE(drawsColour(heatMap));
    EXPECT_EQ(barColour().saturation(), 0);
    typeInto(child<QLineEdit>(odds, "homeGaa"), "3.1");
    EXPECT_TRUE(drawsColour(heatMap));
    EXPECT_EQ(barColour(), current);
}

// A season decided by shootouts names the shootout and shows no level games; a code the
// season lacks is met with the one the team directory knows.
TEST_F(OddsWindowTest, ASeasonOfShootoutsNamesThemAndDirectoryCodesAreOffered) {
    QTemporaryDir folder;
    const std::filesystem::path season = folder.filePath("2025-26").toStdString();
    std::filesystem::create_directory(season);
    const RatingTable& builtin = *RatingTable::builtin();
    std::filesystem::copy_file(SampleRosters / "BOS", season / "BOS");
    std::filesystem::copy_file(SampleRosters / "TOR", season / "VGK");
    std::ofstream(season / RatingsFileName) << ratingsFileText(
        RatingTable({{"BOS", *builtin.roadRating("BOS")}}, {{"VGK", *builtin.homeRating("TOR")}}));
    std::ofstream(season / ShootoutsFileName) << ShootoutsHeader << "\nBOS,6,4\nVGK,3,5\n";
    OddsWindow& odds = openOdds();
    odds.useSeason(folderSeason(season));
    EXPECT_EQ(child<QLabel>(odds, "seasonName")->text(), "Season: 2025-26");

    child<QComboBox>(odds, "homeTeam")->setEditText("VEG");
    {
        MessageBoxCloser closer;
        QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
        ASSERT_EQ(closer.seen.size(), 1U);
        EXPECT_EQ(closer.seen[0].text, "Unknown home team \"VEG\" (did you mean VGK?)");
    }
    child<QComboBox>(odds, "homeTeam")->setEditText("VGK");
    child<QSpinBox>(odds, "seriesCount")->setValue(30);
    QTest::mouseClick(child<QPushButton>(odds, "runButton"), Qt::LeftButton);
    ASSERT_TRUE(waitForRunEnd(odds, 30'000));
    auto* outcomes = child<QTableWidget>(odds, "outcomeTable");
    EXPECT_EQ(outcomes->item(1, 0)->text(), "BOS wins in overtime or the shootout");
    EXPECT_EQ(outcomes->item(3, 0)->text(), "VGK wins in overtime or the shootout");
    EXPECT_TRUE(outcomes->isRowHidden(4));
    EXPECT_EQ(odds.shownTally()->ties, 0U);
}

} // namespace
} // namespace zelkor::ui
