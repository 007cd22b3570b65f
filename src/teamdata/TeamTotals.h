#pragma once

#include "core/PredictionState.h"

#include <string>

namespace zelkor {

// From the two roster tables: the per-player goals, assists and games, the four totals
// and the two ratios (goals per assist). Raises RosterDataError for a negative count or
// assists adding up to 0, OverflowError for a value or a total beyond the single range.
void computeTeamTotals(PredictionState& state, const std::string& visitorCode,
                       const std::string& homeCode);

} // namespace zelkor
