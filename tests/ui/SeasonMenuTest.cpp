#include "ui/MainWindow.h"

#include "Typing.h"
#include "WidgetTestSupport.h"
#include "odds/ManySeries.h"
#include "teamdata/RatingsFile.h"
#include "ui/OddsWindow.h"
#include "ui/SeasonInUse.h"

#include <filesystem>
#include <fstream>
#include <stop_token>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

namespace fs = std::filesystem;
using testing::child;
using testing::CountingWindow;
using testing::enterAndLeave;
using testing::showActive;

const fs::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

QStringList items(const QComboBox* box) {
    QStringList list;
    for (int i = 0; i < box->count(); ++i) {
        list.append(box->itemText(i));
    }
    return list;
}

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A season of two clubs that the built-in table does not know, SEA and VGK, playing as
// the sample BOS and TOR, beside BOS itself.
RatingTable seasonTable() {
    const RatingTable& builtin = *RatingTable::builtin();
    return RatingTable({{"SEA", *builtin.roadRating("BOS")}, {"BOS", *builtin.roadRating("BOS")}},
                       {{"VGK", *builtin.homeRating("TOR")}, {"BOS", *builtin.homeRating("BOS")}});
}

class SeasonMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The season choice is remembered where this test alone looks.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QSettings().clear();
        for (const auto& [code, sample] :
             {std::pair{"SEA", "BOS"}, {"VGK", "TOR"}, {"BOS", "BOS"}}) {
            fs::copy_file(SampleRosters / sample, season / code);
        }
        writeFile(season / RatingsFileName, ratingsFileText(seasonTable()));
        showActive(window);
    }

    QTemporaryDir settings;
    QTemporaryDir folders;
    const fs::path season = fs::path(folders.path().toStdString()) / "season";
    const bool made = fs::create_directory(season);
    CountingWindow window{SampleRosters};
    QComboBox* cboVisitor = child<QComboBox>(window, "cboVisitor");
    QComboBox* cboHome = child<QComboBox>(window, "cboHome");
};

TEST_F(SeasonMenuTest, ASeasonFolderGivesItsTeamsToEveryWindowAndIsRestoredAtStart) {
    const QStringList builtInVisitors = items(cboVisitor);
    ASSERT_TRUE(window.openSeasonFolder(season));
    EXPECT_EQ(items(cboVisitor), (QStringList{"SEA", "BOS"}));
    EXPECT_EQ(items(cboHome), (QStringList{"VGK", "BOS"}));
    EXPECT_EQ(window.windowTitle(), " ZELKOR: THE HOCKEY PREDICTION PROGRAM!");
    EXPECT_FALSE(child<QAction>(window, "mnuBuiltInSeason")->isChecked());
    QAction* recent = child<QAction>(window, "mnuRecentSeason1");
    EXPECT_TRUE(recent->isVisible());
    EXPECT_TRUE(recent->isChecked());
    EXPECT_TRUE(recent->text().endsWith(QString::fromStdString(season.string())));

    // The face-off plays the clubs of the season's table.
    enterAndLeave(window, "cboVisitor", "SEA");
    enterAndLeave(window, "txtGAAV", "2.5");
    enterAndLeave(window, "cboHome", "VGK");
    enterAndLeave(window, "txtGAAH", "3.1");
    QTest::mouseClick(child<QPushButton>(window, "CmdGo"), Qt::LeftButton);
    EXPECT_TRUE(window.messages.empty()) << window.messages.front();
    EXPECT_TRUE(window.logText().find("SEA") != std::string::npos);

    child<QAction>(window, "mnuReadMe")->trigger();
    auto* readMe = qobject_cast<QWidget*>(QApplication::activeWindow());
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmReadMe") {
            readMe = widget;
        }
    }
    ASSERT_NE(readMe, nullptr);
    const QString help = child<QPlainTextEdit>(*readMe, "Text1")->toPlainText();
    EXPECT_TRUE(help.contains("ratings.csv"));
    EXPECT_TRUE(help.contains(QString::fromStdString(season.string())));
    readMe->close();

    // The Odds window's runs play the same season.
    child<QAction>(window, "oddsMenuItem")->trigger();
    OddsWindow* odds = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        odds = odds ? odds : qobject_cast<OddsWindow*>(widget);
    }
    ASSERT_NE(odds, nullptr);
    EXPECT_EQ(items(child<QComboBox>(*odds, "homeTeam")), (QStringList{"VGK", "BOS"}));
    child<QSpinBox>(*odds, "seriesCount")->setValue(20);
    child<QLineEdit>(*odds, "seed")->setText("7");
    auto* run = child<QPushButton>(*odds, "runButton");
    QTest::mouseClick(run, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([run] { return run->isEnabled(); }, 30'000));
    ManySeriesRequest request{"SEA", "VGK", {"2.5", 2.5f}, {"3.1", 3.1f}, season, 20, 7, 1};
    request.ratings = std::make_shared<const RatingTable>(seasonTable());
    const auto expected = playManySeries(request, std::stop_token());
    ASSERT_TRUE(expected && odds->shownTally());
    EXPECT_EQ(odds->shownTally()->scores(), expected->scores());

    // The built-in season takes its table back, in the Odds window too.
    child<QAction>(window, "mnuBuiltInSeason")->trigger();
    EXPECT_EQ(items(cboVisitor), builtInVisitors);
    EXPECT_EQ(items(child<QComboBox>(*odds, "visitorTeam")), builtInVisitors);
    odds->close();

    // The next start opens the season last chosen.
    ASSERT_TRUE(window.openSeasonFolder(season));
    CountingWindow next{SampleRosters};
    next.restoreSeason();
    EXPECT_EQ(items(child<QComboBox>(next, "cboHome")), (QStringList{"VGK", "BOS"}));
    EXPECT_TRUE(next.messages.empty());
}

TEST_F(SeasonMenuTest, RefusesAFolderWithoutUsableRatingsAndFallsBackWhenTheFolderIsGone) {
    const QStringList builtInHomes = items(cboHome);
    const fs::path empty = fs::path(folders.path().toStdString()) / "empty";
    fs::create_directory(empty);
    EXPECT_FALSE(window.openSeasonFolder(empty));
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].find("ratings.csv' does not exist"), std::string::npos)
        << window.messages[0];

    writeFile(empty / RatingsFileName,
              std::string(RatingsHeader) + "\nSEA,road,1,2,1,1,1\n"); // a penalty chance above 1
    EXPECT_FALSE(window.openSeasonFolder(empty));
    ASSERT_EQ(window.messages.size(), 2u);
    EXPECT_NE(window.messages[1].find("line 2"), std::string::npos) << window.messages[1];
    EXPECT_EQ(items(cboHome), builtInHomes);
    EXPECT_TRUE(child<QAction>(window, "mnuBuiltInSeason")->isChecked());

    ASSERT_TRUE(window.openSeasonFolder(season));
    fs::remove_all(season);
    CountingWindow next{SampleRosters};
    next.restoreSeason();
    ASSERT_EQ(next.messages.size(), 1u);
    EXPECT_NE(next.messages[0].find("built-in season 2000-01"), std::string::npos);
    EXPECT_EQ(items(child<QComboBox>(next, "cboHome")), builtInHomes);
    EXPECT_TRUE(QSettings().value("season/folder").toString().isEmpty());
}

TEST_F(SeasonMenuTest, TheSeasonInUseIsNamedAndTheDirectorysCodeIsOffered) {
    auto* name = child<QLabel>(window, "lblSeasonInUse");
    EXPECT_EQ(name->text(), "Season: built-in 2000-01");
    ASSERT_TRUE(window.openSeasonFolder(season));
    EXPECT_EQ(name->text(), "Season: season");
    EXPECT_EQ(name->toolTip(), QString::fromStdString(season.string()));
    // The window's own area keeps its fixed size.
    EXPECT_EQ(window.centralWidget()->size(), QSize(494, 439));

    // Vegas plays only at home here: offered at home, not on the road.
    enterAndLeave(window, "cboVisitor", "SEA");
    enterAndLeave(window, "txtGAAV", "2.5");
    enterAndLeave(window, "cboHome", "VEG");
    enterAndLeave(window, "txtGAAH", "3.1");
    QTest::mouseClick(child<QPushButton>(window, "CmdGo"), Qt::LeftButton);
    ASSERT_EQ(window.messages.size(), 1U);
    EXPECT_EQ(window.messages[0], "Unknown home team \"VEG\" (did you mean VGK?)");
    EXPECT_TRUE(window.logText().empty());
    enterAndLeave(window, "cboVisitor", "VEG");
    QTest::mouseClick(child<QPushButton>(window, "CmdGo"), Qt::LeftButton);
    ASSERT_EQ(window.messages.size(), 2U);
    EXPECT_EQ(window.messages[1], "Unknown visiting team \"VEG\"");

    child<QAction>(window, "mnuBuiltInSeason")->trigger();
    EXPECT_EQ(name->text(), "Season: built-in 2000-01");
}

TEST_F(SeasonMenuTest, TheMenusAndTheReadMeAnswerTheKeyboard) {
    auto* menu = child<QMenu>(window, "mnuSeason");
    QTest::keyClick(&window, Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2'000));
    menu->hide();
    QTest::keyClick(&window, Qt::Key_F10);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2'000));
    menu->hide();
    // Every item of the menu has a letter of its own.
    QStringList letters;
    for (const QAction* item : menu->actions()) {
        const QString text = item->text();
        const auto at = text.indexOf('&');
        if (item->isVisible() && !item->isSeparator()) {
            ASSERT_GE(at, 0) << text.toStdString();
            letters << text.mid(at + 1, 1).toLower();
        }
    }
    letters.removeDuplicates();
    EXPECT_EQ(letters.size(), menu->actions().size() - 2 - MostRecentSeasons);

    // Alt+R opens the help; Esc and Ctrl+W close it.
    for (const QKeySequence& close :
         {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)}) {
        showActive(window);
        QTest::keyClick(&window, Qt::Key_R, Qt::AltModifier);
        QWidget* readMe = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            readMe = widget->objectName() == "frmReadMe" && widget->isVisible() ? widget : readMe;
        }
        ASSERT_NE(readMe, nullptr);
        showActive(*readMe);
        QPointer<QWidget> open = readMe;
        QTest::keySequence(readMe, close);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(open.isNull()) << close.toString().toStdString();
    }
}

TEST(SeasonInUse, RecentListPutsAFolderFirstOnceAndKeepsFive) {
    QStringList recent;
    for (const char* folder : {"/a", "/b", "/c", "/d", "/e", "/f"}) {
        recent = withRecentSeason(recent, folder);
    }
    EXPECT_EQ(recent, (QStringList{"/f", "/e", "/d", "/c", "/b"}));
    EXPECT_EQ(withRecentSeason(recent, "/c"), (QStringList{"/c", "/f", "/e", "/d", "/b"}));
    EXPECT_EQ(withRecentSeason(recent, "/f"), recent);
    EXPECT_EQ(withRecentSeason({}, "/x"), QStringList{"/x"});
}

// Two folders opened in turn: both listed, newest first, only the one in use marked; the
// first opened again moves up and is listed once.
TEST_F(SeasonMenuTest, RecentMenuMarksOnlyTheSeasonInUse) {
    const fs::path other = fs::path(folders.path().toStdString()) / "other";
    fs::copy(season, other);
    ASSERT_TRUE(window.openSeasonFolder(season));
    ASSERT_TRUE(window.openSeasonFolder(other));
    QAction* first = child<QAction>(window, "mnuRecentSeason1");
    QAction* second = child<QAction>(window, "mnuRecentSeason2");
    QAction* third = child<QAction>(window, "mnuRecentSeason3");
    EXPECT_TRUE(first->text().endsWith(QString::fromStdString(other.string())));
    EXPECT_TRUE(second->text().endsWith(QString::fromStdString(season.string())));
    EXPECT_TRUE(first->isChecked());
    EXPECT_FALSE(second->isChecked());
    EXPECT_FALSE(third->isVisible());
    ASSERT_TRUE(window.openSeasonFolder(season));
    EXPECT_TRUE(first->text().endsWith(QString::fromStdString(season.string())));
    EXPECT_TRUE(first->isChecked());
    EXPECT_FALSE(second->isChecked());
    EXPECT_FALSE(third->isVisible());
    child<QAction>(window, "mnuBuiltInSeason")->trigger();
    EXPECT_FALSE(first->isChecked());
    EXPECT_FALSE(second->isChecked());
}

// The Odds window gives a many-series run the visitors' own shootout chance.
TEST_F(SeasonMenuTest, OddsWindowPlaysShootoutsWithTheVisitorsChance) {
    writeFile(season / ShootoutsFileName, "code,wins,losses\nSEA,40,2\nVGK,2,40\n");
    ASSERT_TRUE(window.openSeasonFolder(season));
    child<QAction>(window, "oddsMenuItem")->trigger();
    OddsWindow* odds = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        odds = odds ? odds : qobject_cast<OddsWindow*>(widget);
    }
    ASSERT_NE(odds, nullptr);
    for (const auto& [box, code] : {std::pair{"visitorTeam", "SEA"}, {"homeTeam", "VGK"}}) {
        auto* teams = child<QComboBox>(*odds, box);
        teams->setCurrentIndex(teams->findText(code));
    }
    child<QLineEdit>(*odds, "visitorGaa")->setText("2.5");
    child<QLineEdit>(*odds, "homeGaa")->setText("3.1");
    child<QSpinBox>(*odds, "seriesCount")->setValue(30);
    child<QLineEdit>(*odds, "seed")->setText("11");
    auto* run = child<QPushButton>(*odds, "runButton");
    QTest::mouseClick(run, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([run] { return run->isEnabled(); }, 30'000));
    ASSERT_TRUE(odds->shownTally());
    const ShootoutRules rules{true, {{"SEA", 40, 2}, {"VGK", 2, 40}}};
    ManySeriesRequest request{"SEA", "VGK", {"2.5", 2.5f}, {"3.1", 3.1f}, season, 30, 11, 1};
    request.ratings = std::make_shared<const RatingTable>(seasonTable());
    request.shootout = true;
    request.shootoutVisitorChance = rules.visitorChance("SEA", "VGK");
    const auto expected = playManySeries(request, std::stop_token());
    ASSERT_TRUE(expected);
    EXPECT_EQ(odds->shownTally()->ties, 0u);
    EXPECT_EQ(odds->shownTally()->visitorWinsOvertime, expected->visitorWinsOvertime);
    EXPECT_EQ(odds->shownTally()->scores(), expected->scores());
    odds->close();
}

} // namespace
} // namespace zelkor::ui
