#pragma once

#include "core/PredictionState.h"
#include "core/WindowServices.h"

#include <string>

namespace zelkor {

// Writes the two average scores and the money line of a completed series.
void SeriesSummary(const PredictionState& state, WindowServices& window);

// The favourite's odds for its series points (12 to 22): 2200 / points rounded, over 100,
// in shortest form with the given decimal separator ("1.83", "1.1", "1").
std::string moneyValueText(int points, const std::string& decimalSeparator);

} // namespace zelkor
