#pragma once

#include "season/Backtest.h"

#include "teamdata/RatingTable.h"

#include <filesystem>
#include <memory>

namespace zelkor {

// Game odds from the many-series engine with the rosters of the folder: the request's
// seed is the run's base seed, so series i of a game plays with seriesSeed(seed, i).
// ratings: the table (none: the built-in one); shootout: level games go to a shootout.
GameOddsEngine seriesBySeriesOdds(const std::filesystem::path& rosterFolder,
                                  std::shared_ptr<const RatingTable> ratings = nullptr,
                                  bool shootout = false);

} // namespace zelkor
