#include "ui/ScoreHeatMap.h"

#include <algorithm>
#include <cmath>

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

namespace zelkor::ui {

namespace {

constexpr int Margin = 34;         // pixels left and above the cells for the goal numbers
constexpr int SmallestCell = 26;   // pixels: room for "12.3" in a small font
constexpr int PreferredCell = 36;  // pixels
constexpr double Percent = 100.0;  // shares are shown as percentages
const QColor Empty(250, 250, 252); // a score that never came up
const QColor Darkest(20, 40, 140); // the most frequent score

QString goalsLabel(int goals) {
    return goals == ScoreHeatMap::HeatMapGoals - 1 ? QString::number(goals) + QStringLiteral("+")
                                                   : QString::number(goals);
}

QColor shade(double weight) {
    // Square root: the many rare scores stay visible beside the few common ones.
    const double t = std::sqrt(std::clamp(weight, 0.0, 1.0));
    const auto mix = [t](int from, int to) { return int(from + (to - from) * t + 0.5); };
    return QColor(mix(Empty.red(), Darkest.red()), mix(Empty.green(), Darkest.green()),
                  mix(Empty.blue(), Darkest.blue()));
}

// A colour as the map draws it: greyed, and lighter, while its figures are of a previous
// run (the map is disabled then).
QColor drawn(const QColor& colour, bool enabled) {
    if (enabled) {
        return colour;
    }
    const int grey = 128 + qGray(colour.rgb()) / 2;
    return QColor(grey, grey, grey);
}

} // namespace

ScoreHeatMap::ScoreHeatMap(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScoreHeatMap::setShares(const ScoreGridShares& shares, const std::string& visitor,
                             const std::string& home) {
    shares_ = shares;
    largest_ = 0;
    for (const auto& row : shares_) {
        largest_ = std::max(largest_, *std::max_element(row.begin(), row.end()));
    }
    visitor_ = QString::fromStdString(visitor);
    home_ = QString::fromStdString(home);
    update();
}

void ScoreHeatMap::clear() {
    shares_ = {};
    largest_ = 0;
    update();
}

double ScoreHeatMap::share(int visitorGoals, int homeGoals) const {
    return shares_[std::size_t(visitorGoals)][std::size_t(homeGoals)];
}

QSize ScoreHeatMap::sizeHint() const {
    const int side = Margin + HeatMapGoals * PreferredCell + 2;
    return {side, side};
}

QSize ScoreHeatMap::minimumSizeHint() const {
    const int side = Margin + HeatMapGoals * SmallestCell + 2;
    return {side, side};
}

int ScoreHeatMap::cellSize() const {
    return std::max(1, (std::min(width(), height()) - Margin - 2) / HeatMapGoals);
}

QRect ScoreHeatMap::cellBox(int visitorGoals, int homeGoals) const {
    const int cell = cellSize();
    return {left() + Margin + homeGoals * cell, Margin + visitorGoals * cell, cell, cell};
}

int ScoreHeatMap::left() const {
    // The grid stands in the middle of a widget wider than it is high.
    return std::max(0, (width() - Margin - HeatMapGoals * cellSize()) / 2);
}

void ScoreHeatMap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QLocale locale;
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.8);
    const int cell = cellSize();
    const bool enabled = isEnabled();

    // The axis titles, in the sides' colours, and the goal numbers.
    painter.setPen(drawn(QColor(0, 0, 255), enabled));
    painter.save();
    painter.translate(left(), 0);
    painter.save();
    painter.translate(10, Margin + HeatMapGoals * cell / 2);
    painter.rotate(-90);
    painter.drawText(QRect(-HeatMapGoals * cell / 2, -10, HeatMapGoals * cell, 20), Qt::AlignCenter,
                     visitor_.isEmpty() ? tr("Visitor") : visitor_);
    painter.restore();
    painter.setPen(drawn(QColor(255, 0, 0), enabled));
    painter.drawText(QRect(Margin, 0, HeatMapGoals * cell, 16), Qt::AlignCenter,
                     home_.isEmpty() ? tr("Home") : home_);
    painter.setFont(small);
    for (int goals = 0; goals < HeatMapGoals; ++goals) {
        painter.setPen(drawn(QColor(0, 0, 255), enabled));
        painter.drawText(QRect(18, Margin + goals * cell, Margin - 20, cell),
                         Qt::AlignRight | Qt::AlignVCenter, goalsLabel(goals));
        painter.setPen(drawn(QColor(255, 0, 0), enabled));
        painter.drawText(QRect(Margin + goals * cell, 16, cell, Margin - 16), Qt::AlignCenter,
                         goalsLabel(goals));
    }

    painter.restore();
    painter.setFont(small);
    for (int v = 0; v < HeatMapGoals; ++v) {
        for (int h = 0; h < HeatMapGoals; ++h) {
            const QRect box = cellBox(v, h);
            const double cellShare = share(v, h);
            const double weight = largest_ == 0 ? 0 : cellShare / largest_;
            const QColor fill = drawn(cellShare == 0 ? Empty : shade(weight), enabled);
            painter.fillRect(box, fill);
            painter.setPen(QColor(220, 220, 228));
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            // Shares under a twentieth of a percent round to nothing shown.
            const double percent = cellShare * Percent;
            if (percent >= 0.05) {
                painter.setPen(drawn(fill.lightnessF() < 0.55 ? Qt::white : Qt::black, enabled));
                painter.drawText(box, Qt::AlignCenter, locale.toString(percent, 'f', 1));
            }
        }
    }
}

bool ScoreHeatMap::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        for (int v = 0; v < HeatMapGoals; ++v) {
            for (int h = 0; h < HeatMapGoals; ++h) {
                if (cellBox(v, h).contains(help->pos())) {
                    const QLocale locale;
                    QToolTip::showText(help->globalPos(),
                                       tr("%1 %2, %3 %4: %5 % of games")
                                           .arg(visitor_, goalsLabel(v), home_, goalsLabel(h),
                                                locale.toString(share(v, h) * Percent, 'f', 2)));
                    return true;
                }
            }
        }
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    return QWidget::event(event);
}

} // namespace zelkor::ui
