#pragma once

#include "season/Backtest.h"
#include "season/RatingsFit.h"
#include "season/RosterImport.h"
#include "season/SeasonBuild.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {

// The season build's view of the readers and the fit, each a thin call of theirs.

// A season's skater statistics, every team under its code. Throws InputDataError.
SkaterStatistics readSeasonSkaters(const std::filesystem::path& file);

// The games of the request's results file before its date, if it names one.
std::vector<ResultRow> readSeasonGames(const SeasonBuildRequest& request);

// How the request's season is fitted: its prior ratings, the teams' goals-against averages
// and special teams of its team statistics file, and shootouts when the games had them.
// Throws the readers' errors.
FitOptions seasonFitOptions(const SeasonBuildRequest& request, const std::vector<ResultRow>& games);

// The analytic fit calibrated by simulation, on the rosters of rosterFolder. None when
// stop was requested; progress gets the share done.
std::optional<RatingsFit> fitSeason(const SeasonBuildRequest& request,
                                    const std::vector<ResultRow>& games,
                                    const std::vector<std::string>& codes,
                                    const std::filesystem::path& rosterFolder,
                                    const FitOptions& options, std::stop_token stop,
                                    const std::function<void(double)>& progress);

} // namespace zelkor
