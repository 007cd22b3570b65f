#pragma once

#include "core/Errors.h"
#include "season/RatingsFit.h"
#include "season/RosterImport.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {

// What a season build reads and the season folder it writes.
struct SeasonBuildRequest {
    std::filesystem::path skaters;                  ///< skater statistics of every team
    std::filesystem::path results;                  ///< the games the ratings are fitted to
    std::optional<std::filesystem::path> teamStats; ///< the teams' own statistics
    std::string before;                             ///< YYYY-MM-DD: only earlier games; empty: all
    std::optional<std::filesystem::path> prior;     ///< ratings the fit starts from
    std::optional<std::filesystem::path> priorResults; ///< last season's games, for the Elo
    std::string season;                                ///< the season's name, e.g. 2023-24
    std::optional<int> series; ///< series of 11 the fit plays of each game; none: CalibrationSeries
    std::filesystem::path folder;
    bool replace = false; ///< replace existing files, each kept as NAME.bak, all at once
};

// How far a build is: what it does now and the share of the whole done, 0 to 1.
struct SeasonBuildStep {
    std::string stage;
    double done = 0;
};
using SeasonBuildProgress = std::function<void(const SeasonBuildStep&)>;

// What a build wrote.
struct SeasonBuildReport {
    std::vector<ImportedRoster> rosters;
    std::vector<std::string> unknownTeams; ///< skaters' teams without a league code, once each
    std::vector<TeamFitCheck> check;
    std::vector<RosterWrite> written; ///< the roster files, ratings.csv, shootouts.csv if any
};

// A build cannot be made; the message lists every problem found, one per line.
class SeasonBuildError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// Reads and checks every input and every target, locks the folder and prepares its new
// contents beside it (so that a folder that cannot be written is refused before the fit),
// fits the ratings on the rosters as written, and only then puts the rosters, ratings.csv,
// elo.csv (each club's Elo after the season's last game, carried from last season's when
// priorResults is given, else from a level start) and, when games went to a shootout, shootouts.csv
// with the clubs' records in place, all in one step (see StagedFolder): the folder holds the old
// season or the new, never a mix. None when stop was requested; a stop is taken up to the swap.
// Throws SeasonBuildError, and RosterWriteError when a write fails, the folder then as it was.
std::optional<SeasonBuildReport> buildSeason(const SeasonBuildRequest& request,
                                             std::stop_token stop,
                                             const SeasonBuildProgress& progress = {});

} // namespace zelkor
