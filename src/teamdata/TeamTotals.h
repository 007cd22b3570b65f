#pragma once

#include "core/PredictionState.h"
#include "teamdata/RosterFindings.h"

#include <string>
#include <vector>

namespace zelkor {

// From the two roster tables: the per-player goals, assists and games, the four totals
// and the two ratios (goals per assist). Raises RosterDataError for a negative count or
// assists adding up to 0, OverflowError for a value or a total beyond the single range.
void computeTeamTotals(PredictionState& state, const std::string& visitorCode,
                       const std::string& homeCode);

// The same checks of one team's table, into findings, with what the scoring rates will
// fail on (games played of 0, no goals) and warnings for counts that are not numbers;
// lines holds the line of each item of the table, in order.
void checkTeamCounts(const RosterTable& table, const std::string& code,
                     const std::vector<int>& lines, RosterFindings& findings);

} // namespace zelkor
