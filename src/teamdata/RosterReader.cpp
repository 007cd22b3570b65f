#include "teamdata/RosterReader.h"

#include "teamdata/RosterFile.h"
#include "teamdata/TeamTotals.h"

namespace zelkor {

void ReadRosters(PredictionState& state, const std::string& visitorCode,
                 const std::string& homeCode, const std::filesystem::path& rosterFolder) {
    readRosterTables(state, visitorCode, homeCode, rosterFolder);
    computeTeamTotals(state, visitorCode, homeCode);
}

} // namespace zelkor
