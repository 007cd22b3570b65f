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
int averageScore(Integer goals, Integer match) {
    const Integer gamesPlayed = Integer(match - 1);
    return Integer::fromReal(checkedDivide(goals, gamesPlayed, "the average score"));
}

Integer seriesPoints(Integer wins, Integer ties) {
    Integer points = Integer(PointsForWin * wins);
    points += PointsForTie * ties;
    return points;
}

// cents / 100 in shortest form: no trailing zeros, no separator for a whole number.
std::string moneyText(int cents, const std::string& decimalSeparator) {
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

} // namespace

int moneyCentsOfPoints(int points) {
    return Integer::fromReal(checkedDivide(MoneyScale, points, "the money line"));
}

SeriesFacts summarizeSeries(const PredictionState& state) {
    SeriesFacts facts;
    facts.visitorAverage = averageScore(state.Goalsx, state.match);
    facts.homeAverage = averageScore(state.Goalsy, state.match);
    facts.visitorPoints = seriesPoints(state.Winsx, state.Tiesx);
    facts.homePoints = seriesPoints(state.Winsy, state.Tiesy);
    if (facts.visitorPoints > facts.homePoints) {
        facts.favourite = Favourite::Visitor;
        facts.moneyCents = moneyCentsOfPoints(facts.visitorPoints);
    }
    if (facts.homePoints > facts.visitorPoints) {
        facts.favourite = Favourite::Home;
        facts.moneyCents = moneyCentsOfPoints(facts.homePoints);
    }
    return facts;
}

std::string moneyLineCaption(const SeriesFacts& facts, const std::string& visitorCode,
                             const std::string& homeCode, const std::string& decimalSeparator) {
    switch (facts.favourite) {
    case Favourite::Visitor:
        return visitorCode + CodeGap + moneyText(facts.moneyCents, decimalSeparator);
    case Favourite::Home:
        return homeCode + CodeGap + moneyText(facts.moneyCents, decimalSeparator);
    case Favourite::Neither:
        break;
    }
    return NoBetCaption;
}

std::string moneyValueText(int points, const std::string& decimalSeparator) {
    return moneyText(moneyCentsOfPoints(points), decimalSeparator);
}

void SeriesSummary(const PredictionState& state, WindowServices& window) {
    const SeriesFacts facts = summarizeSeries(state);
    window.setVisitorAverage(std::to_string(facts.visitorAverage));
    window.setHomeAverage(std::to_string(facts.homeAverage));
    window.setMoneyLine(
        moneyLineCaption(facts, state.VISITOR, state.HOME, window.decimalSeparator()));
}

} // namespace zelkor
