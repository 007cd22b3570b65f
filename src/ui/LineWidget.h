#pragma once

#include <QWidget>

namespace zelkor::ui {

// A straight horizontal or vertical line, as thick as the widget is narrow, in the
// palette's text colour.
class LineWidget : public QWidget {
public:
    explicit LineWidget(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace zelkor::ui
