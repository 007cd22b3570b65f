#pragma once

#include "core/PredictionState.h"

#include <filesystem>
#include <string>

namespace zelkor {

// Opens the two roster files named by the codes in rosterFolder, visiting first, and reads
// them alternately, one item at a time, into RosterX and RosterY; both are closed on every
// way out. Raises RosterFileMissingError, RosterFileShortError, RosterFileReadError or
// RosterDataError naming the file (and the row and field of an item that cannot be taken).
void readRosterTables(PredictionState& state, const std::string& visitorCode,
                      const std::string& homeCode, const std::filesystem::path& rosterFolder);

} // namespace zelkor
