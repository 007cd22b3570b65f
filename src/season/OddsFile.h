#pragma once

#include "season/CsvFile.h"
#include "season/ResultsFile.h"
#include "season/TeamCodes.h"

#include <optional>
#include <string>
#include <vector>

namespace zelkor {

// The money line an odds archive gives twice: when it opened and when the game began.
enum class OddsLine { Open, Close };

// One game of an odds file.
struct OddsEntry {
    int line = 0;            ///< the line of its first row, for messages
    std::optional<int> year; ///< none where the file writes the day as MMDD
    int month = 0;
    int day = 0;
    std::string visitor; ///< codes of the map's kind
    std::string home;
    bool neutral = false;         ///< played at a neutral site: either club may be the host
    std::optional<GameOdds> odds; ///< decimal; none where the file has no line ("-", blank)
};

// A club's name that the team directory does not know, and the lines it stands on.
struct UnknownOddsTeam {
    std::string name;
    std::vector<int> lines;
};

// The games of an odds file, and the names of those left out for a club without a code.
struct OddsFile {
    std::vector<OddsEntry> games;
    std::vector<UnknownOddsTeam> unknownTeams;
};

// How messages name an odds file: fileLabel(OddsFileKind, path).
inline constexpr std::string_view OddsFileKind = "Odds";

// Reads an odds file in either of two layouts:
// - an odds archive's spreadsheet saved as CSV: Date (MMDD), VH, Team, Open and Close money
//   lines (American), one row per club, the visitor's V row and then the home club's H row,
//   or two N rows for a neutral site; other columns are passed over;
// - date (YYYY-MM-DD), visitor, home, visitor_odds, home_odds (decimal or American).
// Clubs are codes, names or the archive's short names ("NYRangers"). Throws InputDataError
// naming the line of a row that cannot be used: a price that is no price (0, +50, -99,
// text), a V row without its H row, a day that is not one.
OddsFile readOddsFile(const std::vector<CsvRow>& rows, const std::string& label,
                      const TeamCodeMap& codes, OddsLine line);

// How the odds of a file met the games of a results file.
struct OddsJoin {
    int matched = 0;                 ///< games of the results that got odds
    int gamesWithoutOdds = 0;        ///< games of the results left without odds
    int unmatchedGames = 0;          ///< games of the file that are no game of the results
    std::vector<int> unmatchedLines; ///< the first line of each
};

// Gives each game of the results the odds of the file's game on its day between its clubs
// (either way round, each price following its club), replacing the odds the results held. A day
// written MMDD takes the year that puts it between the results' first and last day. Throws
// InputDataError when two games of the file are one game, or when none of them is a game
// of the results.
OddsJoin joinOdds(std::vector<ResultRow>& results, const OddsFile& odds, const std::string& label);

} // namespace zelkor
