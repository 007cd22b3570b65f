#include "ui/ReadMeWindow.h"

#include "WidgetTestSupport.h"
#include "ui/HelpText.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <gtest/gtest.h>

namespace zelkor::ui {
namespace {

using testing::child;
using testing::CountingWindow;
using testing::showActive;

QList<QWidget*> readMeWindows() {
    QList<QWidget*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == "frmReadMe" && widget->isVisible()) {
            found.append(widget);
        }
    }
    return found;
}

// Lets the closed windows delete themselves.
void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class ReadMeWindowTest : public ::testing::Test {
protected:
    void SetUp() override { showActive(window); }
    void TearDown() override {
        for (QWidget* readMe : readMeWindows()) {
            readMe->close();
        }
        flushDeletes();
    }

    void chooseReadMe() { child<QAction>(window, "mnuReadMe")->trigger(); }

    CountingWindow window{"."};
};

TEST_F(ReadMeWindowTest, ChoosingReadMeTwiceLeavesOneWindowWithoutOwner) {
    chooseReadMe();
    chooseReadMe();
    const QList<QWidget*> open = readMeWindows();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open.front()->parentWidget(), nullptr);
    EXPECT_FALSE(open.front()->isModal());
    EXPECT_EQ(open.front()->windowTitle(), "ReadMe ZELKOR");
}

TEST_F(ReadMeWindowTest, ShowsTheHelpTextWithPlainLineBreaks) {
    chooseReadMe();
    ASSERT_EQ(readMeWindows().size(), 1);
    auto* text = child<QPlainTextEdit>(*readMeWindows().front(), "Text1");
    const QString shown = text->toPlainText();
    EXPECT_FALSE(shown.contains('\r'));
    EXPECT_TRUE(shown.startsWith("ZELKOR  Hockey Game Prediction Program"));
    EXPECT_TRUE(shown.contains("******************************************\n\nThe Odds window"));
    EXPECT_TRUE(shown.endsWith("opened again at the next start.\n"));
    EXPECT_EQ(shown.count('\n'),
              QString::fromStdString(helpTextWithRosterFolder("folder")).count("\r\n"));
    EXPECT_FALSE(text->isReadOnly());
    EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

TEST_F(ReadMeWindowTest, NamesTheVersionAndTheRosterFolderInUse) {
    chooseReadMe();
    ASSERT_EQ(readMeWindows().size(), 1);
    const QString shown = child<QPlainTextEdit>(*readMeWindows().front(), "Text1")->toPlainText();
    EXPECT_TRUE(shown.section('\n', 0, 0).endsWith("Version " ZELKOR_VERSION))
        << shown.toStdString();
    const QString note = "this folder; edit them there:\n\t" + QDir::currentPath() + "\n\n";
    EXPECT_TRUE(shown.contains(note)) << shown.toStdString();
    EXPECT_LT(shown.indexOf("##### Installation #####"), shown.indexOf(note));
}

TEST_F(ReadMeWindowTest, ReopeningAfterAnEditShowsTheFixedTextAgain) {
    chooseReadMe();
    QPointer<QWidget> first = readMeWindows().front();
    auto* text = child<QPlainTextEdit>(*first, "Text1");
    const QString fixed = text->toPlainText();
    text->setFocus();
    QTest::keyClicks(text, "scribbled");
    ASSERT_NE(text->toPlainText(), fixed);

    first->close();
    flushDeletes();
    EXPECT_TRUE(first.isNull());
    chooseReadMe();
    ASSERT_EQ(readMeWindows().size(), 1);
    EXPECT_EQ(child<QPlainTextEdit>(*readMeWindows().front(), "Text1")->toPlainText(), fixed);
}

TEST_F(ReadMeWindowTest, ClosingTheMainWindowLeavesTheReadMeOpen) {
    chooseReadMe();
    window.close();
    flushDeletes();
    EXPECT_EQ(readMeWindows().size(), 1);
}

} // namespace
} // namespace zelkor::ui
