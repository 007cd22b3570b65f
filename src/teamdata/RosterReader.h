#pragma once

#include "core/Arithmetic.h"
#include "core/PredictionState.h"
#include "teamdata/ItemValue.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace zelkor {

// Items a roster file must hold: 18 players of name, games played, goals, assists.
inline constexpr int RosterItems = PlayersPerTeam * RosterColumns;

// Reads the two roster files named by the codes from rosterFolder, item by item in turn
// (72 items each), into RosterX and RosterY, then recomputes the per-player arrays, the
// four totals and the two ratios. Raises RosterFileMissingError, RosterFileShortError,
// RosterDataError or OverflowError with a message naming the file and what is wrong.
void ReadRosters(PredictionState& state, const std::string& visitorCode,
                 const std::string& homeCode, const std::filesystem::path& rosterFolder);

} // namespace zelkor
