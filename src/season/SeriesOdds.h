#pragma once

#include "season/Backtest.h"
#include "season/WalkForward.h"

#include <filesystem>

namespace zelkor {

// Game odds from the many-series engine with the rosters of the folder: the request's
// seed is the run's base seed, so series i of a game plays with seriesSeed(seed, i).
GameOddsEngine seriesBySeriesOdds(const std::filesystem::path& rosterFolder);

// The same under the table given with each request (none: the built-in one).
RatedOddsEngine ratedSeriesOdds(const std::filesystem::path& rosterFolder);

} // namespace zelkor
