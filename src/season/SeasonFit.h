#pragma once

#include "season/Backtest.h"
#include "season/RatingsFit.h"
#include "season/RosterImport.h"
#include "season/SeasonBuild.h"
#include "season/TeamTotalsFile.h"

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {

// The season build's view of the readers and the fit, each a thin call of theirs.

// A season's skater statistics, every team under its league code, of the request's season
// when the file holds several. Throws InputDataError.
SkaterStatistics readSeasonSkaters(const SeasonBuildRequest& request);

// The games of the request's results file before its date, if it names one. Throws the
// reader's errors, and InputDataError for a date that is not a day of the calendar.
std::vector<ResultRow> readSeasonGames(const SeasonBuildRequest& request);

// The totals of the request's team statistics file by league code, of the year its season
// begins with when the file holds several; empty without a file. Throws the reader's
// errors, and SeasonBuildError for a season that does not begin with a year.
std::map<std::string, TeamTotals> readSeasonTeams(const SeasonBuildRequest& request);

// How the request's season is fitted: its prior ratings, each club's special teams from its
// totals, and shootouts when the games had them; each game's goalies as the results give
// them. Throws the ratings reader's errors.
FitOptions seasonFitOptions(const SeasonBuildRequest& request, const std::vector<ResultRow>& games,
                            const std::map<std::string, TeamTotals>& teams);

// The analytic fit calibrated by simulation, on the rosters of rosterFolder. None when
// stop was requested; progress gets the share done.
std::optional<RatingsFit> fitSeason(const SeasonBuildRequest& request,
                                    const std::vector<ResultRow>& games,
                                    const std::vector<std::string>& codes,
                                    const std::filesystem::path& rosterFolder,
                                    const FitOptions& options, std::stop_token stop,
                                    const std::function<void(double)>& progress);

} // namespace zelkor
