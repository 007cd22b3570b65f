#pragma once

#include "season/RosterImport.h"
#include "season/SeasonBuild.h"
#include "teamdata/RatingTable.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {

// The season build's view of the readers and the fit.

// A season's skater statistics, every team under its league code.
struct SeasonSkaters {
    SkaterStatistics statistics;
};
SeasonSkaters readSeasonSkaters(const std::filesystem::path& file);

// One game the ratings are fitted to.
struct SeasonGame {
    std::string visitor;
    std::string home;
    int visitorGoals = 0;
    int homeGoals = 0;
};
struct SeasonGames {
    std::vector<SeasonGame> games;
};
// The games of the request's results file before its date, if it names one.
SeasonGames readSeasonGames(const SeasonBuildRequest& request);

// The fitted table and its check.
struct SeasonFit {
    RatingTable table{{}, {}};
    std::vector<TeamFitCheck> check;
};
// None when stop was requested.
std::optional<SeasonFit> fitSeason(const SeasonBuildRequest& request,
                                   const std::vector<ImportedRoster>& rosters,
                                   const SeasonGames& games, std::stop_token stop,
                                   const std::function<void(double)>& progress);

} // namespace zelkor
