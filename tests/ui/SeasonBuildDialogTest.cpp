#include "ui/SeasonBuildDialog.h"

#include "WidgetTestSupport.h"

#include <filesystem>
#include <fstream>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

namespace fs = std::filesystem;
using testing::child;
using testing::CountingWindow;
using testing::showActive;

// Two clubs of 18 skaters, as the league exports them.
std::string skaters() {
    std::string text = "skaterFullName,teamAbbrevs,positionCode,gamesPlayed,goals,assists\n";
    for (const char* team : {"TOR", "NSH"}) {
        for (int k = 0; k < 18; ++k) {
            text += std::string(team) + " Skater " + std::to_string(k) + "," + team + "," +
                    (k < 12 ? 'C' : 'D') + ",82," + std::to_string(30 - k) + ",20\n";
        }
    }
    return text;
}

class SeasonBuildDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings().clear();
        write("skaters.csv", skaters());
        write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                             "2001-01-02,TOR,NSH,3,2\n2001-01-05,NSH,TOR,1,4\n");
    }

    void write(const char* name, const std::string& text) const {
        std::ofstream(dir / name, std::ios::binary) << text;
    }

    // Fills the dialog in and presses Build.
    static void build(SeasonBuildDialog& dialog, const fs::path& data, const fs::path& season) {
        child<QLineEdit>(dialog, "skatersFile")
            ->setText(QString::fromStdString((data / "skaters.csv").string()));
        child<QLineEdit>(dialog, "resultsFile")
            ->setText(QString::fromStdString((data / "results.csv").string()));
        child<QLineEdit>(dialog, "seasonFolder")->setText(QString::fromStdString(season.string()));
        QTest::mouseClick(child<QPushButton>(dialog, "buildButton"), Qt::LeftButton);
    }

    QTemporaryDir settings;
    QTemporaryDir files;
    const fs::path dir = files.path().toStdString();
    const fs::path season = dir / "season";
};

TEST_F(SeasonBuildDialogTest, RefusalIsShownAndABuiltFolderBecomesTheSeasonInUse) {
    // Results naming a club without a roster: the reason in the dialog, nothing written.
    write("results.csv", "date,visitor,home,visitor_goals,home_goals\n2001-01-02,BOS,TOR,3,2\n");
    {
        SeasonBuildDialog dialog;
        dialog.show();
        build(dialog, dir, season);
        auto* buildButton = child<QPushButton>(dialog, "buildButton");
        auto* report = child<QPlainTextEdit>(dialog, "buildReport");
        ASSERT_TRUE(QTest::qWaitFor([&] { return buildButton->isEnabled(); }, 10'000));
        EXPECT_TRUE(report->isVisible());
        EXPECT_TRUE(report->toPlainText().contains("BOS")) << report->toPlainText().toStdString();
        EXPECT_FALSE(child<QPushButton>(dialog, "useSeasonButton")->isVisible());
        EXPECT_FALSE(fs::exists(season));
        EXPECT_TRUE(dialog.isVisible());
    }

    // Through the menu: the build's report, then the folder built is opened as the season.
    write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                         "2001-01-02,TOR,NSH,3,2\n2001-01-05,NSH,TOR,1,4\n");
    CountingWindow window{"."};
    showActive(window);
    QString shown;
    QTimer::singleShot(0, [this, &shown] {
        auto* dialog = qobject_cast<SeasonBuildDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        build(*dialog, dir, season);
        auto* use = child<QPushButton>(*dialog, "useSeasonButton");
        ASSERT_TRUE(QTest::qWaitFor([use] { return use->isVisible(); }, 60'000));
        shown = child<QPlainTextEdit>(*dialog, "buildReport")->toPlainText();
        EXPECT_TRUE(use->hasFocus());
        // What the box says afterwards is not what was built.
        child<QLineEdit>(*dialog, "seasonFolder")->setText("elsewhere");
        QTest::keyClick(use, Qt::Key_Return);
    });
    child<QAction>(window, "mnuBuildSeason")->trigger();
    EXPECT_TRUE(window.messages.empty()) << window.messages.front();
    ASSERT_TRUE(window.season().folder);
    EXPECT_EQ(*window.season().folder, season);
    EXPECT_EQ(child<QComboBox>(window, "cboHome")->itemText(0), "NSH");
    EXPECT_TRUE(fs::exists(season / "TOR") && fs::exists(season / "ratings.csv"));
    // The fit's check of both clubs, and every file written, by its path.
    EXPECT_TRUE(shown.contains("of 2 clubs")) << shown.toStdString();
    // The rosters, the ratings, the Elo and the alignment's two files.
    EXPECT_TRUE(shown.contains("Wrote 6 files")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QString::fromStdString((season / "NSH").string())));
    EXPECT_EQ(child<QLabel>(window, "lblSeasonInUse")->text(), "Season: season");
}

TEST_F(SeasonBuildDialogTest, AFolderHoldingTheFilesIsRefusedOnceNamingTheCountAndTheBox) {
    fs::create_directories(season);
    for (const char* name : {"TOR", "NSH", "ratings.csv", "BOS"}) {
        std::ofstream(season / name) << "old\n";
    }
    SeasonBuildDialog dialog;
    showActive(dialog);
    build(dialog, dir, season);
    auto* report = child<QPlainTextEdit>(dialog, "buildReport");
    ASSERT_TRUE(QTest::qWaitFor([report] { return report->isVisible(); }, 10'000));
    // BOS is no club of this build: three files are in its way, said in one sentence.
    const QString text = report->toPlainText();
    EXPECT_TRUE(text.contains(" 3 of the files")) << text.toStdString();
    EXPECT_TRUE(text.contains("\"Replace existing files\"")) << text.toStdString();
    EXPECT_FALSE(text.contains("--force"));
    EXPECT_FALSE(text.contains('\n'));
    EXPECT_TRUE(child<QCheckBox>(dialog, "replaceFiles")->hasFocus());
    std::ifstream old(season / "TOR");
    std::string line;
    std::getline(old, line);
    EXPECT_EQ(line, "old");

    // Ticked, the same build replaces them and keeps the old ones.
    auto* replace = child<QCheckBox>(dialog, "replaceFiles");
    QTest::keyClick(&dialog, Qt::Key_P, Qt::AltModifier);
    // A button's letter clicks it as a mouse would, pressed for a moment.
    EXPECT_TRUE(QTest::qWaitFor([replace] { return replace->isChecked(); }, 1'000));
    QTest::mouseClick(child<QPushButton>(dialog, "buildButton"), Qt::LeftButton);
    auto* use = child<QPushButton>(dialog, "useSeasonButton");
    ASSERT_TRUE(QTest::qWaitFor([use] { return use->isVisible(); }, 60'000));
    EXPECT_TRUE(report->toPlainText().contains("3 old ones kept as .bak"))
        << report->toPlainText().toStdString();
    EXPECT_TRUE(fs::exists(season / "TOR.bak"));
}

TEST_F(SeasonBuildDialogTest, EveryCaptionIsWholeAndEachLetterLeadsToOneControl) {
    SeasonBuildDialog dialog;
    showActive(dialog);
    for (const char* name :
         {"skatersFileLabel", "resultsFileLabel", "teamStatsFileLabel", "seasonFolderLabel"}) {
        const auto* label = child<QLabel>(dialog, name);
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text().remove('&')))
            << name;
    }
    // Alt+B is Build's alone: it starts a build (which refuses the empty boxes), and
    // Alt+O goes to the date.
    QTest::keyClick(&dialog, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(child<QLineEdit>(dialog, "beforeDate")->hasFocus());
    QTest::keyClick(&dialog, Qt::Key_B, Qt::AltModifier);
    auto* report = child<QPlainTextEdit>(dialog, "buildReport");
    EXPECT_TRUE(QTest::qWaitFor([report] { return report->isVisible(); }, 10'000));
    EXPECT_FALSE(child<QLineEdit>(dialog, "beforeDate")->hasFocus());
}

} // namespace
} // namespace zelkor::ui
