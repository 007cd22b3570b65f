// Shows a window of the program as a person sees it, for scripts/screenshot:
//   zelkor_screenshot_driver ROSTER_FOLDER main    the main window after a prediction
//   zelkor_screenshot_driver ROSTER_FOLDER readme  the ReadMe window
//   zelkor_screenshot_driver ROSTER_FOLDER odds    the Odds window after a run
//   zelkor_screenshot_driver ROSTER_FOLDER lines   the same, scrolled to the betting lines
//   zelkor_screenshot_driver ROSTER_FOLDER build   the Build season dialog, filled in
//   zelkor_screenshot_driver ROSTER_FOLDER built   the dialog after a build of two clubs
//   zelkor_screenshot_driver ROSTER_FOLDER season  the main window with its Season menu open
//   zelkor_screenshot_driver ROSTER_FOLDER outlook the Season outlook window after a run
// Once the window is drawn it prints its frame as "x y width height" on one line and
// stays until it is ended.

#include "Typing.h"
#include "season/LeagueAlignment.h"
#include "ui/MainWindow.h"
#include "ui/SeasonBuildDialog.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

namespace {

using zelkor::ui::testing::enterAndLeave;

void printFrame(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    std::printf("%d %d %d %d\n", frame.x(), frame.y(), frame.width(), frame.height());
    std::fflush(stdout);
}

// Opens the Odds window, plays the default run with a fixed seed and enters a bookmaker's
// odds for each side; none when the run does not end.
QWidget* showOddsAfterRun(QWidget& window) {
    window.findChild<QAction*>(QStringLiteral("oddsMenuItem"))->trigger();
    QWidget* odds = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == QLatin1String("frmOdds")) {
            odds = widget;
        }
    }
    window.hide();
    if (odds == nullptr || !QTest::qWaitForWindowExposed(odds)) {
        std::fprintf(stderr, "the Odds window did not show\n");
        return nullptr;
    }
    odds->findChild<QLineEdit*>(QStringLiteral("seed"))->setText(QStringLiteral("20010314"));
    auto* run = odds->findChild<QPushButton*>(QStringLiteral("runButton"));
    QTest::mouseClick(run, Qt::LeftButton);
    if (!QTest::qWaitFor([run] { return run->isEnabled(); }, 120'000)) {
        std::fprintf(stderr, "the run did not end\n");
        return nullptr;
    }
    odds->findChild<QLineEdit*>(QStringLiteral("visitorOffered"))->setText(QStringLiteral("1.95"));
    odds->findChild<QLineEdit*>(QStringLiteral("homeOffered"))->setText(QStringLiteral("+110"));
    return odds;
}

// Two clubs of 18 skaters and four games between them, written into folder, for a
// build that is quick to fit.
void writeSmallSeason(const QString& folder) {
    const std::string base = folder.toStdString();
    std::ofstream skaters(base + "/skaters.csv");
    skaters << "skaterFullName,teamAbbrevs,positionCode,gamesPlayed,goals,assists\n";
    const char* surnames[] = {"Adler", "Berg",  "Cole",  "Dunn",  "Eck",   "Frey",
                              "Gould", "Hale",  "Irwin", "Joyce", "Kerr",  "Lund",
                              "Moss",  "Nolan", "Orr",   "Pike",  "Quinn", "Roy"};
    for (const char* team : {"TOR", "NSH"}) {
        for (int k = 0; k < 18; ++k) {
            skaters << (team[0] == 'T' ? "Tom " : "Nils ") << surnames[k] << ',' << team << ','
                    << (k < 12 ? 'C' : 'D') << ",82," << 30 - k << ',' << 20 + k % 5 << '\n';
        }
    }
    // The Nashville Lund is listed twice, as a traded player is: the import notes it.
    skaters << "Nils Lund,NSH,C,10,2,1\n";
    std::ofstream(base + "/results.csv") << "date,visitor,home,visitor_goals,home_goals\n"
                                            "2024-10-08,TOR,NSH,3,2\n2024-10-12,NSH,TOR,1,4\n"
                                            "2024-11-02,TOR,NSH,2,5\n2024-12-01,NSH,TOR,3,1\n";
}

// The built-in season's 30 clubs meeting twice each, a round of 15 games (the circle
// method) every other day, the first 24 rounds played with made-up scores.
void writeOutlookSchedule(const QString& file) {
    const std::optional<zelkor::LeagueAlignment> alignment =
        zelkor::builtinAlignment(2000, zelkor::TeamCodeKind::Program);
    std::vector<std::string> clubs;
    for (const zelkor::ClubAlignment& club : alignment->clubs) {
        clubs.push_back(club.code);
    }
    const int count = int(clubs.size());
    std::ofstream out(file.toStdString());
    out << "date,visitor,home,visitor_goals,home_goals,result\n";
    QDate day(2000, 10, 4);
    int game = 0;
    for (int round = 0; round < 2 * (count - 1); ++round, day = day.addDays(2)) {
        const int turn = round % (count - 1);
        for (int k = 0; k < count / 2; ++k) {
            const int first = k == 0 ? count - 1 : (turn + k) % (count - 1);
            const int second = (turn + count - 1 - k) % (count - 1);
            const bool swap = (round >= count - 1) != (k % 2 == 1);
            const std::string& visitor = clubs[std::size_t(swap ? second : first)];
            const std::string& home = clubs[std::size_t(swap ? first : second)];
            out << day.toString(Qt::ISODate).toStdString() << ',' << visitor << ',' << home;
            if (round < 24) {
                ++game;
                const int visitorGoals = (game * 7) % 5;
                const int homeGoals = (game * 3) % 6;
                if (visitorGoals == homeGoals) {
                    out << ',' << visitorGoals << ',' << homeGoals + 1 << ",OT\n";
                } else {
                    out << ',' << visitorGoals << ',' << homeGoals << ",REG\n";
                }
            } else {
                out << ",,,\n";
            }
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: zelkor_screenshot_driver ROSTER_FOLDER "
                             "main|readme|odds|lines|build|built|season|outlook\n");
        return 2;
    }
    zelkor::ui::MainWindow window(arguments.at(1).toStdString());
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) {
        std::fprintf(stderr, "the main window did not become active\n");
        return 1;
    }

    QWidget* shown = &window;
    zelkor::ui::SeasonBuildDialog build(&window);
    QTemporaryDir files;
    if (arguments.at(2) == QLatin1String("built")) {
        writeSmallSeason(files.path());
        const auto fill = [&build](const char* name, const QString& text) {
            build.findChild<QLineEdit*>(QLatin1String(name))->setText(text);
        };
        fill("skatersFile", files.filePath(QStringLiteral("skaters.csv")));
        fill("resultsFile", files.filePath(QStringLiteral("results.csv")));
        fill("seasonFolder", files.filePath(QStringLiteral("2024-25")));
        build.show();
        QTest::mouseClick(build.findChild<QPushButton*>(QStringLiteral("buildButton")),
                          Qt::LeftButton);
        auto* use = build.findChild<QPushButton*>(QStringLiteral("useSeasonButton"));
        if (!QTest::qWaitFor([use] { return use->isVisible(); }, 120'000)) {
            std::fprintf(stderr, "the build did not end\n");
            return 1;
        }
        shown = &build;
    } else if (arguments.at(2) == QLatin1String("build")) {
        const auto fill = [&build](const char* name, const char* text) {
            build.findChild<QLineEdit*>(QLatin1String(name))->setText(QLatin1String(text));
        };
        fill("skatersFile", "/home/ann/hockey/2023-24/skaters.csv");
        fill("resultsFile", "/home/ann/hockey/2023-24/results.csv");
        fill("teamStatsFile", "/home/ann/hockey/2023-24/teams.csv");
        fill("seasonFolder", "/home/ann/hockey/seasons/2023-24");
        fill("beforeDate", "2024-01-01");
        build.show();
        shown = &build;
    } else if (arguments.at(2) == QLatin1String("season")) {
        auto* menu = window.findChild<QMenu*>(QStringLiteral("mnuSeason"));
        QMenuBar* bar = window.menuBar();
        menu->popup(bar->mapToGlobal(bar->actionGeometry(menu->menuAction()).bottomLeft()));
        if (!QTest::qWaitForWindowExposed(menu)) {
            std::fprintf(stderr, "the Season menu did not show\n");
            return 1;
        }
        // The virtual display leaves an open menu's own window black: the picture is the
        // window's with the menu drawn over it where it opened.
        QTest::qWait(500);
        QPixmap picture = window.grab();
        QPainter painter(&picture);
        painter.drawPixmap(window.mapFromGlobal(menu->pos()), menu->grab());
        painter.end();
        const QString file = qEnvironmentVariable("ZELKOR_SHOT_FILE");
        if (file.isEmpty() || !picture.save(file, "PNG")) {
            std::fprintf(stderr, "the picture could not be saved to ZELKOR_SHOT_FILE\n");
            return 1;
        }
        std::printf("%d %d %d %d\n", 0, 0, picture.width(), picture.height());
        return 0;
    } else if (arguments.at(2) == QLatin1String("outlook")) {
        const QString schedule = files.filePath(QStringLiteral("schedule-2000.csv"));
        writeOutlookSchedule(schedule);
        window.findChild<QAction*>(QStringLiteral("mnuSeasonOutlook"))->trigger();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("frmSeasonOutlook")) {
                shown = widget;
            }
        }
        window.hide();
        shown->findChild<QLineEdit*>(QStringLiteral("scheduleFile"))->setText(schedule);
        shown->findChild<QSpinBox*>(QStringLiteral("seasonCount"))->setValue(2'000);
        auto* run = shown->findChild<QPushButton*>(QStringLiteral("runButton"));
        QTest::mouseClick(run, Qt::LeftButton);
        if (!QTest::qWaitFor([run] { return run->isEnabled(); }, 120'000)) {
            std::fprintf(stderr, "the outlook did not end\n");
            return 1;
        }
    } else if (arguments.at(2) == QLatin1String("readme")) {
        window.findChild<QAction*>(QStringLiteral("mnuReadMe"))->trigger();
        shown = QApplication::activeWindow();
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QLatin1String("frmReadMe")) {
                shown = widget;
            }
        }
        window.hide();
    } else {
        enterAndLeave(window, "cboVisitor", "BOS");
        enterAndLeave(window, "txtGAAV", "2.5");
        enterAndLeave(window, "cboHome", "TOR");
        enterAndLeave(window, "txtGAAH", "3.1");
        if (arguments.at(2) == QLatin1String("odds") || arguments.at(2) == QLatin1String("lines")) {
            shown = showOddsAfterRun(window);
            if (shown == nullptr) {
                return 1;
            }
            if (arguments.at(2) == QLatin1String("lines")) {
                shown->findChild<QLineEdit*>(QStringLiteral("lineOffered4"))
                    ->setText(QStringLiteral("1.87"));
                shown->findChild<QLineEdit*>(QStringLiteral("lineOffered10"))
                    ->setText(QStringLiteral("-240"));
                shown->findChild<QScrollArea*>(QStringLiteral("figuresScroll"))
                    ->ensureWidgetVisible(
                        shown->findChild<QWidget*>(QStringLiteral("bettingLines")), 0, 0);
            }
        } else {
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("CmdGo")),
                              Qt::LeftButton);
        }
    }
    if (!QTest::qWaitForWindowExposed(shown)) {
        std::fprintf(stderr, "the window did not show\n");
        return 1;
    }
    QTest::qWait(500); // let the display settle before the picture is taken
    printFrame(*shown);
    return app.exec();
}
