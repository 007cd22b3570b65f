#include "ui/MainWindow.h"

#include "Typing.h"
#include "WidgetTestSupport.h"

#include <filesystem>
#include <regex>
#include <string>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

using testing::child;
using testing::CountingWindow;
using testing::MessageBoxCloser;
using testing::showActive;
using testing::typeInto;

const std::filesystem::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { showActive(window); }

    QWidget* focused() const { return QApplication::focusWidget(); }

    // Enters a prediction the way a user does: type into each box and tab on.
    void enterPrediction(const QString& visitor, const QString& visitorGaa, const QString& home,
                         const QString& homeGaa) {
        cboVisitor->setFocus(Qt::MouseFocusReason);
        for (const QString& text : {visitor, visitorGaa, home, homeGaa}) {
            typeInto(focused(), text);
            QTest::keyClick(focused(), Qt::Key_Tab);
        }
    }

    void pressFaceOff() { QTest::mouseClick(CmdGo, Qt::LeftButton); }

    CountingWindow window{SampleRosters};
    QComboBox* cboVisitor = child<QComboBox>(window, "cboVisitor");
    QComboBox* cboHome = child<QComboBox>(window, "cboHome");
    QLineEdit* txtGAAV = child<QLineEdit>(window, "txtGAAV");
    QLineEdit* txtGAAH = child<QLineEdit>(window, "txtGAAH");
    QPushButton* CmdGo = child<QPushButton>(window, "CmdGo");
    QPlainTextEdit* txtResults = child<QPlainTextEdit>(window, "txtResults");
    QLineEdit* txtResultVisitor = child<QLineEdit>(window, "txtResultVisitor");
    QLineEdit* txtResultHome = child<QLineEdit>(window, "txtResultHome");
    QLabel* lblBet = child<QLabel>(window, "lblBet");
};

TEST_F(MainWindowTest, StartsWithTheTeamListsAndNothingStored) {
    const QStringList clubs = {"ANA", "ATL", "BOS", "BUF", "CAL", "CAR", "CBJ", "CHI",
                               "COL", "DAL", "DET", "EDM", "FLO", "LAK", "MIN", "MON",
                               "NAS", "NJD", "NYI", "NYR", "OTT", "PHI", "PHO", "PIT",
                               "SJS", "SLB", "TBL", "TOR", "VAN", "WAS", "AVG"};
    const auto items = [](const QComboBox* box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i) {
            list.append(box->itemText(i));
        }
        return list;
    };
    EXPECT_EQ(items(cboVisitor), clubs + QStringList{"NAT"});
    EXPECT_EQ(items(cboHome), clubs + QStringList{"WAT"});
    for (const QComboBox* box : {cboVisitor, cboHome}) {
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->currentText(), "ANA");
    }
    EXPECT_EQ(focused(), cboVisitor);
    EXPECT_EQ(window.windowTitle(), " ZELKOR: THE HOCKEY PREDICTION PROGRAM!");
    EXPECT_EQ(window.minimumSize(), window.maximumSize()); // it cannot be resized
    EXPECT_TRUE(lblBet->text().isEmpty());
    EXPECT_EQ(window.state().VISITOR, "");
    EXPECT_EQ(window.state().GAAV, 0.0f);
}

TEST_F(MainWindowTest, TabbingVisitsTheBoxesInOrderAndStoresWhatWasTyped) {
    ASSERT_EQ(focused(), cboVisitor);
    typeInto(cboVisitor, "ana");
    QTest::keyClick(cboVisitor, Qt::Key_Tab);
    EXPECT_EQ(focused(), txtGAAV);
    EXPECT_EQ(window.state().VISITOR, "ana"); // as typed: no change of case, no check

    typeInto(txtGAAV, "2.5");
    QTest::keyClick(txtGAAV, Qt::Key_Tab);
    EXPECT_EQ(focused(), cboHome);
    EXPECT_EQ(window.state().GAAV, 2.5f);

    typeInto(cboHome, "TOR");
    QTest::keyClick(cboHome, Qt::Key_Tab);
    EXPECT_EQ(focused(), txtGAAH);
    EXPECT_EQ(window.state().HOME, "TOR");

    typeInto(txtGAAH, "3");
    QTest::keyClick(txtGAAH, Qt::Key_Tab);
    EXPECT_EQ(window.state().GAAH, 3.0f);

    const QWidget* rest[] = {CmdGo, txtResults, txtResultHome, txtResultVisitor, cboVisitor};
    for (const QWidget* expected : rest) {
        EXPECT_EQ(focused(), expected) << expected->objectName().toStdString();
        QTest::keyClick(focused(), Qt::Key_Tab);
    }
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(cboVisitor->count(), 32); // typing added no item
}

TEST_F(MainWindowTest, LeavingAGaaBoxStoresAndJudgesItsValue) {
    struct Row {
        const char* text;
        const char* message; // none when accepted
        float stored;        // what the state holds afterwards; the box held 1.5 before
    };
    const char* const above = "You must enter a value above 0";
    const Row rows[] = {
        {"0", above, 0.0f},
        {"-1", above, -1.0f},
        {"abc", "\"abc\" is not a number; write the decimals after a full stop, as in 2.75", 1.5f},
        {"nan", above, 1.5f},
        {"inf", above, 1.5f},
        {" 2.5 ", nullptr, 2.5f},
        {"", nullptr, 1.5f},
        {"   ", above, 1.5f},
        {"1e-46", above, 1.5f},
        {"1e39", above, 1.5f},
        {"1e-3", nullptr, 0.001f}, // accepted last
    };
    const struct {
        QLineEdit* box;
        const Single& stored;
    } boxes[] = {{txtGAAV, window.state().GAAV}, {txtGAAH, window.state().GAAH}};

    for (const auto& [box, stored] : boxes) {
        for (const Row& row : rows) {
            SCOPED_TRACE(box->objectName().toStdString() + " with '" + row.text + "'");
            box->setFocus(Qt::MouseFocusReason);
            typeInto(box, "1.5");
            QTest::keyClick(box, Qt::Key_Tab);
            ASSERT_EQ(stored, 1.5f);
            window.messages.clear();

            box->setFocus(Qt::MouseFocusReason);
            typeInto(box, row.text);
            QTest::keyClick(box, Qt::Key_Tab);
            EXPECT_EQ(stored, row.stored);
            if (row.message != nullptr) {
                EXPECT_EQ(window.messages, std::vector<std::string>{row.message});
                EXPECT_EQ(focused(), box);
            } else {
                EXPECT_TRUE(window.messages.empty());
                EXPECT_NE(focused(), box);
            }
        }
    }
}

TEST_F(MainWindowTest, GaaRefusalIsOneModalBoxWithOkOnlyAndTheFocusComesBack) {
    MainWindow plain(SampleRosters);
    showActive(plain);
    auto* gaa = child<QLineEdit>(plain, "txtGAAV");
    gaa->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(gaa, "0");
    {
        MessageBoxCloser closer;
        QTest::keyClick(gaa, Qt::Key_Tab);
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == gaa; }));
        QTest::qWait(50); // time for a second box to open, were there one
        ASSERT_EQ(closer.seen.size(), 1u);
        const auto& box = closer.seen.front();
        EXPECT_EQ(box.text, "You must enter a value above 0");
        EXPECT_EQ(box.title, "ZELKOR");
        EXPECT_EQ(box.buttons, QMessageBox::Ok);
        EXPECT_FALSE(box.okHasIcon);
        EXPECT_TRUE(box.modal);
    }
    EXPECT_EQ(plain.state().GAAV, 0.0f);
    EXPECT_EQ(plain.windowTitle(), " ZELKOR: THE HOCKEY PREDICTION PROGRAM!");

    MessageBoxCloser closer;
    plain.showMessage("Name \x1b[2J");
    ASSERT_EQ(closer.seen.size(), 1u);
    EXPECT_EQ(closer.seen.front().text, "Name \\x1b[2J");
    // A message's line breaks show as line breaks, not as escapes.
    plain.showMessage("Roster 'BOS' is short.\r\nTo list every problem\n\x07"
                      "end");
    ASSERT_EQ(closer.seen.size(), 2u);
    EXPECT_EQ(closer.seen.back().text.toStdString(),
              "Roster 'BOS' is short.\nTo list every problem\n\\x07end");
}

// Boxes filled without leaving them: the run's refusal puts the focus in the box at fault.
TEST_F(MainWindowTest, RefusedFaceOffReturnsTheFocusToTheBoxAtFault) {
    struct Case {
        const char* visitorGaa;
        const char* home;
        const char* message;
        QWidget* focus;
    };
    const Case cases[] = {
        {"  ", "TOR", "You must enter a value above 0", txtGAAV},
        {"2.5", "XYZ", "Unknown home team \"XYZ\"", cboHome},
        {"", "TOR", "You must enter GAA", CmdGo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        window.messages.clear();
        cboVisitor->setEditText("BOS");
        cboHome->setEditText(c.home);
        txtGAAV->setText(c.visitorGaa);
        txtGAAH->setText("2.6");
        pressFaceOff();
        EXPECT_EQ(window.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(focused(), c.focus);
    }
}

TEST_F(MainWindowTest, FaceOffPlaysTheSeriesAndShowsLogAveragesAndMoneyLine) {
    enterPrediction("BOS", "2.5", "TOR", "3.1");
    ASSERT_EQ(focused(), CmdGo);
    QTest::keyClick(CmdGo, Qt::Key_Return); // Enter presses the focused button
    EXPECT_EQ(window.beeps, 1);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(int(window.state().match), 12);

    const QString shown = txtResults->toPlainText();
    EXPECT_FALSE(shown.contains('\r'));
    QString logged = QString::fromStdString(window.logText());
    EXPECT_EQ(shown, logged.replace("\r\n", "\n"));

    const std::regex finalScore(R"(BOS - \d+  TOR - \d+)");
    const std::regex goal(R"((BOS|TOR) score! by .+ at minute \d+)");
    int finals = 0;
    const QStringList lines = shown.split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const std::string text = line.toStdString();
        if (std::regex_match(text, finalScore)) {
            ++finals;
        } else {
            EXPECT_TRUE(std::regex_match(text, goal)) << text;
        }
    }
    EXPECT_EQ(finals, 11);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(std::regex_match(lines.last().toStdString(), finalScore));

    const std::regex average(R"(\d+)");
    EXPECT_TRUE(std::regex_match(txtResultVisitor->text().toStdString(), average));
    EXPECT_TRUE(std::regex_match(txtResultHome->text().toStdString(), average));
    const std::regex moneyLine(R"((BOS|TOR)  1(\.\d\d?)?|EVEN, NO BET)");
    EXPECT_TRUE(std::regex_match(lblBet->text().toStdString(), moneyLine))
        << lblBet->text().toStdString();
}

TEST_F(MainWindowTest, FaceOffWithoutGaaChangesNothingShown) {
    enterPrediction("BOS", "2.5", "TOR", "3.1");
    pressFaceOff();
    ASSERT_TRUE(window.messages.empty());
    const QString log = txtResults->toPlainText();
    const QString visitor = txtResultVisitor->text();
    const QString home = txtResultHome->text();
    const QString bet = lblBet->text();

    struct Row {
        const char* visitorGaa;
        const char* homeGaa;
    };
    for (const Row& row : {Row{"", ""}, Row{"", "3.1"}, Row{"2.5", ""}}) {
        SCOPED_TRACE(std::string("GAA texts '") + row.visitorGaa + "' and '" + row.homeGaa + "'");
        txtGAAV->setText(row.visitorGaa);
        txtGAAH->setText(row.homeGaa);
        window.beeps = 0;
        window.messages.clear();
        pressFaceOff();
        EXPECT_EQ(window.beeps, 1);
        EXPECT_EQ(window.messages, std::vector<std::string>{"You must enter GAA"});
        EXPECT_EQ(txtResults->toPlainText(), log);
        EXPECT_EQ(txtResultVisitor->text(), visitor);
        EXPECT_EQ(txtResultHome->text(), home);
        EXPECT_EQ(lblBet->text(), bet);
    }
}

TEST_F(MainWindowTest, FaceOffTakesTheCodeABoxShowsWithoutHavingLeftIt) {
    enterPrediction("BOS", "2.5", "ANA", "3.1");
    // Changed without either box losing the focus again.
    cboVisitor->setEditText("DET");
    cboHome->setEditText("TOR");
    pressFaceOff();
    ASSERT_TRUE(window.messages.empty());
    EXPECT_EQ(window.state().VISITOR, "DET");
    EXPECT_EQ(window.state().HOME, "TOR");
    EXPECT_TRUE(QRegularExpression("DET - \\d+  TOR - \\d+\n$")
                    .match(txtResults->toPlainText())
                    .hasMatch());
}

TEST(MainWindowFailure, FailedRunKeepsThePreviousResults) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const std::filesystem::path rosters = folder.path().toStdString();
    std::filesystem::copy_file(SampleRosters / "BOS", rosters / "BOS");

    CountingWindow window(rosters);
    showActive(window);
    auto* cboHome = child<QComboBox>(window, "cboHome");
    child<QComboBox>(window, "cboVisitor")->setEditText("BOS");
    cboHome->setEditText("BOS");
    for (const char* name : {"txtGAAV", "txtGAAH"}) {
        auto* box = child<QLineEdit>(window, name);
        box->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(box, "2.5");
    }
    auto* CmdGo = child<QPushButton>(window, "CmdGo");
    QTest::mouseClick(CmdGo, Qt::LeftButton);
    ASSERT_TRUE(window.messages.empty());
    const auto shown = [&] {
        return QStringList{child<QPlainTextEdit>(window, "txtResults")->toPlainText(),
                           child<QLineEdit>(window, "txtResultVisitor")->text(),
                           child<QLineEdit>(window, "txtResultHome")->text(),
                           child<QLabel>(window, "lblBet")->text()};
    };
    const QStringList before = shown();
    ASSERT_FALSE(before.at(3).isEmpty());

    cboHome->setEditText("TOR"); // no roster file for TOR in this folder
    QTest::mouseClick(CmdGo, Qt::LeftButton);
    EXPECT_EQ(window.beeps, 2);
    EXPECT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(shown(), before);
}

TEST(MainWindowLocale, GaaIsReadWithTheUsersDecimalComma) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    {
        CountingWindow window(SampleRosters);
        showActive(window);
        auto* gaa = child<QLineEdit>(window, "txtGAAV");
        gaa->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(gaa, "2,5");
        QTest::keyClick(gaa, Qt::Key_Tab);
        EXPECT_EQ(window.state().GAAV, 2.5f);
        EXPECT_TRUE(window.messages.empty());
        EXPECT_EQ(window.decimalSeparator(), ",");

        // A full stop makes no number here, which is not "a value above 0".
        gaa->setFocus(Qt::MouseFocusReason);
        typeInto(gaa, "2.60");
        QTest::keyClick(gaa, Qt::Key_Tab);
        EXPECT_EQ(window.messages,
                  std::vector<std::string>{
                      "\"2.60\" is not a number; write the decimals after a comma, as in 2,75"});
        EXPECT_EQ(window.state().GAAV, 2.5f);
    }
    QLocale::setDefault(previous);
}

} // namespace
} // namespace zelkor::ui
