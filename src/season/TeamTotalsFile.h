#pragma once

#include "season/CsvFile.h"
#include "season/TeamCodes.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zelkor {

// One club's season totals; a figure the file leaves blank or lacks is none.
struct TeamTotals {
    std::string code; ///< as the map writes it, league codes for a season build
    int line = 0;     ///< line of the file, for messages
    std::optional<int> games;
    std::optional<int> goalsFor;
    std::optional<int> goalsAgainst;
    std::optional<int> penaltyMinutes;
    std::optional<int> powerPlayGoals;
    std::optional<int> powerPlayChances;
    std::optional<int> powerPlayGoalsAgainst; ///< goals let in short-handed
    std::optional<int> timesShortHanded;
    std::optional<int> shortHandedGoalsFor;
    std::optional<int> shortHandedGoalsAgainst;
    std::optional<int> shootoutWins;
    std::optional<int> shootoutLosses;
};

// How messages name a team table: fileLabel(TeamStatsFileKind, path).
inline constexpr std::string_view TeamStatsFileKind = "Team statistics";

// Reads a team table: the databank's (columns by header: tmID or name, G, GF, GA, PIM, PPG,
// PPC, PKG, PKC, SHF, SHA, SoW, SoL) or a site's (Tm or Team, GP, PPO, TSH, SHG); only the
// team is required, and a league row is passed over. A file whose year column
// holds several years is read for year only, and refused without one. Throws
// InputDataError listing every unknown team, or naming the line and column of a value that
// is not a count, a row cut short, a team listed twice, a shootout record beyond what a
// shootouts file takes, or goals against that give no usable goalie's average.
std::map<std::string, TeamTotals> readTeamTotals(const std::vector<CsvRow>& rows,
                                                 const std::string& label, const TeamCodeMap& codes,
                                                 std::optional<int> year = std::nullopt);

} // namespace zelkor
