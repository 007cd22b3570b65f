#pragma once

#include "core/PredictionState.h"
#include "core/WindowServices.h"

#include <string>

namespace zelkor {

// Which side the money line names.
enum class Favourite { Visitor, Home, Neither };

// The results of a completed series as numbers, for the front ends to show.
struct SeriesFacts {
    int visitorAverage = 0; ///< series goals per game, rounded ties to even
    int homeAverage = 0;
    int visitorPoints = 0; ///< standings points: 2 a win, 1 a level game
    int homePoints = 0;
    Favourite favourite = Favourite::Neither;
    int moneyCents = 0; ///< the favourite's odds in hundredths (2200 / points); 0 for neither
};

// The facts of the series whose tallies the state holds (match one past the last game).
SeriesFacts summarizeSeries(const PredictionState& state);

// Writes the two average scores and the money line of a completed series.
void SeriesSummary(const PredictionState& state, WindowServices& window);

// The money-line caption of the facts: the favourite's code, two blanks and its money value,
// or "EVEN, NO BET".
std::string moneyLineCaption(const SeriesFacts& facts, const std::string& visitorCode,
                             const std::string& homeCode, const std::string& decimalSeparator);

// The favourite's odds for its series points in hundredths: 2200 / points, rounded.
int moneyCentsOfPoints(int points);

// The favourite's odds for its series points (12 to 22): 2200 / points rounded, over 100,
// in shortest form with the given decimal separator ("1.83", "1.1", "1").
std::string moneyValueText(int points, const std::string& decimalSeparator);

} // namespace zelkor
