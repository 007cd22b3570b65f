#include "simulation/SeriesSummary.h"

#include <string>

namespace zelkor {

namespace {

constexpr int PointsForWin = 2;       // standings points of a won game
constexpr int PointsForTie = 1;       // standings points of a level game, to each side
constexpr double MoneyScale = 2200.0; // 22 points, a sweep, times 100 for two decimals
constexpr int CentsPerUnit = 100;     // the money value is kept in hundredths
constexpr int CentsPerTenth = 10;
constexpr const char* NoBetCaption = "EVEN, NO BET"; // both sides took the same points
constexpr const char* CodeGap = "  "; // between the favourite's code and its money value

// Series goals per game played, rounded to an Integer (ties to even).
std::string averageText(Integer goals, Integer match) {
    const Integer gamesPlayed = Integer(match - 1);
    const double average = checkedDivide(goals, gamesPlayed, "the average score");
    return std::to_string(Integer::fromReal(average));
}

Integer seriesPoints(Integer wins, Integer ties) {
    Integer points = Integer(PointsForWin * wins);
    points += PointsForTie * ties;
    return points;
}

} // namespace

std::string moneyValueText(int points, const std::string& decimalSeparator) {
    const int cents = Integer::fromReal(checkedDivide(MoneyScale, points, "the money line"));
    // cents / 100 in shortest form: no trailing zeros, no separator for a whole number.
    std::string text = std::to_string(cents / CentsPerUnit);
    const int fraction = cents % CentsPerUnit;
    if (fraction != 0) {
        text += decimalSeparator;
        text += static_cast<char>('0' + fraction / CentsPerTenth);
        if (fraction % CentsPerTenth != 0) {
            text += static_cast<char>('0' + fraction % CentsPerTenth);
        }
    }
    return text;
}

void SeriesSummary(const PredictionState& state, WindowServices& window) {
    window.setVisitorAverage(averageText(state.Goalsx, state.match));
    window.setHomeAverage(averageText(state.Goalsy, state.match));
    const Integer visitorPoints = seriesPoints(state.Winsx, state.Tiesx);
    const Integer homePoints = seriesPoints(state.Winsy, state.Tiesy);
    if (visitorPoints > homePoints) {
        window.setMoneyLine(state.VISITOR + CodeGap +
                            moneyValueText(visitorPoints, window.decimalSeparator()));
    }
    if (homePoints > visitorPoints) {
        window.setMoneyLine(state.HOME + CodeGap +
                            moneyValueText(homePoints, window.decimalSeparator()));
    }
    if (visitorPoints == homePoints) {
        window.setMoneyLine(NoBetCaption);
    }
}

} // namespace zelkor
