#include "ui/LineWidget.h"

#include <QPainter>

namespace zelkor::ui {

LineWidget::LineWidget(QWidget* parent) : QWidget(parent) {
    // A line is drawn over what it crosses and takes no clicks from it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::WindowText));
}

} // namespace zelkor::ui
