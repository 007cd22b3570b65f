#pragma once

#include "ui/MainWindow.h"

#include <string>
#include <vector>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace zelkor::ui::testing {

// A main window that counts its beeps and messages instead of sounding and showing them.
class CountingWindow : public MainWindow {
public:
    using MainWindow::MainWindow;

    void beep() override { ++beeps; }
    void showMessage(const std::string& message) override { messages.push_back(message); }

    int beeps = 0;
    std::vector<std::string> messages;
};

// A child widget by object name; fails the test when there is none.
template <typename Widget> Widget* child(const QWidget& parent, const char* name) {
    auto* widget = parent.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << "no widget " << name;
    return widget;
}

// Focus events arrive only in the active window.
inline void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Answers every modal message box that opens with OK, noting what each showed.
class MessageBoxCloser {
public:
    struct SeenBox {
        QString text;
        QString title;
        QMessageBox::StandardButtons buttons;
        bool okHasIcon = false;
        bool modal = false;
    };

    MessageBoxCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                return;
            }
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            seen.push_back({box->text(), box->windowTitle(), box->standardButtons(),
                            ok != nullptr && !ok->icon().isNull(), box->isModal()});
            if (ok != nullptr) {
                ok->click();
            } else {
                box->reject();
            }
        });
        timer_.start(10);
    }

    std::vector<SeenBox> seen;

private:
    QTimer timer_;
};

} // namespace zelkor::ui::testing
