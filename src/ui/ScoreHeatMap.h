#pragma once

#include "odds/OddsFigures.h"

#include <string>

#include <QColor>
#include <QWidget>

namespace zelkor::ui {

// The final scores of a run as a grid, visitor goals down and home goals across, each
// cell shaded by its share of the games and labelled with it.
class ScoreHeatMap : public QWidget {
    Q_OBJECT

public:
    // Goals shown per side: 0 to HeatMapGoals - 2, then a last cell for that many or more.
    static constexpr int HeatMapGoals = ScoreGridGoals;

    explicit ScoreHeatMap(QWidget* parent = nullptr);

    void setShares(const ScoreGridShares& shares, const std::string& visitor,
                   const std::string& home);
    void clear();

    // The share of games in a cell, for the tests and the tooltips.
    double share(int visitorGoals, int homeGoals) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRect cellBox(int visitorGoals, int homeGoals) const;
    int cellSize() const;
    int left() const;

    ScoreGridShares shares_{};
    double largest_ = 0;
    QString visitor_;
    QString home_;
};

} // namespace zelkor::ui
