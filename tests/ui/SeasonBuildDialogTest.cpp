#include "ui/SeasonBuildDialog.h"

#include "WidgetTestSupport.h"

#include <filesystem>
#include <fstream>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

namespace fs = std::filesystem;
using testing::child;
using testing::CountingWindow;
using testing::MessageBoxCloser;
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
    // Results naming a club without a roster: the reason in a message box, nothing written.
    write("results.csv", "date,visitor,home,visitor_goals,home_goals\n2001-01-02,BOS,TOR,3,2\n");
    {
        SeasonBuildDialog dialog;
        dialog.show();
        MessageBoxCloser closer;
        build(dialog, dir, season);
        auto* buildButton = child<QPushButton>(dialog, "buildButton");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !closer.seen.empty(); }, 10'000));
        EXPECT_EQ(closer.seen[0].title, "ZELKOR");
        EXPECT_TRUE(closer.seen[0].text.contains("BOS")) << closer.seen[0].text.toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return buildButton->isEnabled(); }, 1'000));
        EXPECT_FALSE(fs::exists(season));
        EXPECT_TRUE(dialog.isVisible());
    }

    // Through the menu: the folder built is opened as the season.
    write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                         "2001-01-02,TOR,NSH,3,2\n2001-01-05,NSH,TOR,1,4\n");
    CountingWindow window{"."};
    showActive(window);
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<SeasonBuildDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        build(*dialog, dir, season);
    });
    child<QAction>(window, "mnuBuildSeason")->trigger();
    EXPECT_TRUE(window.messages.empty()) << window.messages.front();
    ASSERT_TRUE(window.season().folder);
    EXPECT_EQ(*window.season().folder, season);
    EXPECT_EQ(child<QComboBox>(window, "cboHome")->itemText(0), "NSH");
    EXPECT_TRUE(fs::exists(season / "TOR") && fs::exists(season / "ratings.csv"));
}

// A folder that holds a season is replaced only with the Replace box ticked, and then its
// old files are kept beside the new.
TEST_F(SeasonBuildDialogTest, ReplaceBoxDecidesWhetherAnExistingSeasonIsReplaced) {
    const auto buildOnce = [this](bool replace) {
        SeasonBuildDialog dialog;
        dialog.show();
        MessageBoxCloser closer;
        child<QCheckBox>(dialog, "replaceFiles")->setChecked(replace);
        build(dialog, dir, season);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return !dialog.isVisible() || !closer.seen.empty(); }, 60'000));
        return closer.seen.empty() ? QString() : closer.seen[0].text;
    };
    EXPECT_EQ(buildOnce(false), QString());
    ASSERT_TRUE(fs::exists(season / "TOR"));
    const QString refused = buildOnce(false);
    EXPECT_TRUE(refused.contains("exists already")) << refused.toStdString();
    EXPECT_FALSE(fs::exists(season / "TOR.bak"));
    EXPECT_EQ(buildOnce(true), QString());
    EXPECT_TRUE(fs::exists(season / "TOR.bak"));
    EXPECT_TRUE(fs::exists(season / "ratings.csv.bak"));
}

} // namespace
} // namespace zelkor::ui
