#pragma once

#include "season/CsvFile.h"
#include "season/TeamCodes.h"
#include "teamdata/RosterWriter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelkor {

enum class SkaterRole { Forward, Defence };

// One skater's season for one team, as a statistics file lists it.
struct Skater {
    std::string name;       ///< without the site's marks
    std::string listedName; ///< as the file writes it, marks and all
    std::string team;       ///< the program's team code
    std::string position;   ///< as the file writes it
    SkaterRole role = SkaterRole::Forward;
    int games = 0;
    int goals = 0;
    int assists = 0;
    int line = 0; ///< line of the file, for messages

    int points() const { return goals + assists; }
};

// What a statistics file holds for the import.
struct SkaterStatistics {
    std::vector<Skater> skaters;           ///< goalies and total rows left out
    std::vector<std::string> unknownTeams; ///< abbreviations without a code, once each
};

// How messages name a skater table: fileLabel(SkatersFileKind, path).
inline constexpr std::string_view SkatersFileKind = "Skater statistics";

// Reads skater statistics from the rows of a CSV file (label names it in messages). A file
// without a team column is taken as one team's, which is then soleTeam (none: refused). A
// season column (Season, year, seasonId) holding several seasons is read for season only,
// and refused without one. Throws InputDataError for a missing column or a value that is
// not a count.
SkaterStatistics readSkaterStatistics(const std::vector<CsvRow>& rows, const std::string& label,
                                      const TeamCodeMap& codes,
                                      const std::optional<std::string>& soleTeam,
                                      const std::optional<std::string>& season = std::nullopt);

// Whether the statistics file has a season column to choose a season from.
bool hasSeasonColumn(const std::vector<CsvRow>& rows);

// The 18 players of a team's roster, best first, and what the choice had to give way on.
struct ImportedRoster {
    std::string code;
    std::vector<Skater> players;
    std::vector<std::string> notes;
};

// The 12 forwards and 6 defencemen of the team with the most points (ties by goals, then
// games played, more first, then by name); forwards fill in for missing defencemen. A
// player listed twice for the team counts once with his rows added up; rows whose names
// differ only in the site's marks are two players, since the marks are what tells them
// apart. Throws InputDataError when the team has fewer than 18 skaters or a chosen one has
// no game or a name a roster file cannot hold.
ImportedRoster chooseRoster(const std::string& code, const std::vector<Skater>& skaters);

// The chosen players as the roster writer takes them, best first.
std::vector<RosterLine> rosterLines(const ImportedRoster& roster);

// What importing the teams of a statistics file into a folder did.
struct FolderImport {
    std::vector<ImportedRoster> rosters;
    std::vector<RosterWrite> written;      ///< in the order of rosters
    std::vector<std::string> skippedTeams; ///< the file's teams without a code
    bool stopped = false; ///< stop was asked for before the folder was replaced: nothing written
};

// Chooses the roster of each team (every team of the statistics when teams is empty) and
// writes each into folder. Every roster is chosen and every target checked before any file
// is written: a problem throws InputDataError listing them all, with nothing written. The
// files are written beside the folder and put in place all in one step (see StagedFolder):
// a write that fails throws RosterWriteError with the folder as it was. The folder is
// locked from the check of its targets to the end. stopRequested is asked before each
// file; once it answers yes, nothing is written.
FolderImport importRosters(const SkaterStatistics& statistics, std::vector<std::string> teams,
                           const std::filesystem::path& folder, bool replace,
                           const std::function<bool()>& stopRequested = {});

} // namespace zelkor
