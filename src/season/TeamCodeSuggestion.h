#pragma once

#include "teamdata/RatingTable.h"

#include <optional>
#include <string>
#include <string_view>

namespace zelkor {

// The code of the table that the team directory takes a code it lacks for: "VEG" or "CAL"
// in a season of league codes is VGK or CGY, "CGY" in the built-in season is CAL. None
// when the table knows the code, the directory does not, or the table has no such side.
std::optional<std::string> suggestedTeamCode(std::string_view code, const RatingTable& table,
                                             bool visiting);

// " (did you mean VGK?)" for a refusal of the code, or nothing.
std::string teamCodeSuggestionText(std::string_view code, const RatingTable& table, bool visiting);

} // namespace zelkor
