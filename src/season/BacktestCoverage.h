#pragma once

#include "season/DataErrors.h"
#include "season/ResultsFile.h"
#include "teamdata/RatingTable.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zelkor {

// Reads the roster of every club of the results once, before the first game, so that a bad
// file stops a backtest at once rather than after the games before its club's first.
// Throws InputDataError naming every club without a usable roster, so that one run names
// them all.
void checkRosterCoverage(const std::vector<ResultRow>& results,
                         const std::filesystem::path& rosterFolder);

// A club of the results that a table cannot rate at the venue it plays.
struct UnratedClub {
    std::string code;
    bool home = false;  ///< at home; else on the road
    int firstLine = 0;  ///< the line of its first such game
    int otherGames = 0; ///< such games after that one
};

// Every such club, by code, the road before the home.
std::vector<UnratedClub> unratedClubs(const std::vector<ResultRow>& results,
                                      const RatingTable& table);

// The table in use lacks a row for clubs of the results; the front end says how to choose
// another table.
class RatingCoverageError : public InputDataError {
public:
    using InputDataError::InputDataError;
};

// Throws RatingCoverageError listing every unrated club, one a line, when there is one;
// source names the table ("built-in" or its file).
void checkRatingCoverage(const std::vector<ResultRow>& results, const RatingTable& table,
                         const std::string& source);

} // namespace zelkor
