#pragma once

#include "season/Backtest.h"

#include <filesystem>

namespace zelkor {

// Game odds from the many-series engine with the rosters of the folder: the request's
// seed is the run's base seed, so series i of a game plays with seriesSeed(seed, i).
GameOddsEngine seriesBySeriesOdds(const std::filesystem::path& rosterFolder);

} // namespace zelkor
