#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

namespace zelkor::ui::testing {

// Replaces a box's text by typing, as a user who selected all of it would.
inline void typeInto(QWidget* box, const QString& text) {
    if (auto* combo = qobject_cast<QComboBox*>(box)) {
        combo->clearEditText();
    } else if (auto* line = qobject_cast<QLineEdit*>(box)) {
        line->clear();
    }
    QTest::keyClicks(box, text);
}

// Clicks into the window's box of that name, types the text and tabs on, so that the
// box's lost-focus handler stores it.
inline void enterAndLeave(QWidget& window, const char* name, const QString& text) {
    auto* box = window.findChild<QWidget*>(QString::fromLatin1(name));
    box->setFocus(Qt::MouseFocusReason);
    typeInto(box, text);
    QTest::keyClick(box, Qt::Key_Tab);
}

} // namespace zelkor::ui::testing
