#pragma once

#include "season/Backtest.h"
#include "season/WalkForward.h"
#include "teamdata/SeasonRatings.h"

#include <filesystem>
#include <memory>

namespace zelkor {

// Game odds from the many-series engine with the rosters of the folder, under the ratings
// and shootout rules given (none: the built-in table, no shootouts): the request's seed is
// the run's base seed, so series i of a game plays with seriesSeed(seed, i).
GameOddsEngine seriesBySeriesOdds(const std::filesystem::path& rosterFolder,
                                  std::shared_ptr<const RatingTable> ratings = nullptr,
                                  ShootoutRules shootouts = {});

// The same under the table given with each request (none: the built-in one).
RatedOddsEngine ratedSeriesOdds(const std::filesystem::path& rosterFolder,
                                ShootoutRules shootouts = {});

} // namespace zelkor
