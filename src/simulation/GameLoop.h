#pragma once

#include "core/PredictionState.h"
#include "core/WindowServices.h"
#include "simulation/RandomSource.h"

namespace zelkor {

// Games in a series.
inline constexpr int GamesPerSeries = 11;

// Plays a series of 11 games from a filled state (ratings, rosters, ratios, GAA values,
// codes): reseeds draws from seeds once, appends goal and final-score lines to the log,
// keeps the tallies and ends with SeriesSummary. Errors pass to the caller.
void Gameplay(PredictionState& state, WindowServices& window, DrawSource& draws, SeedSource& seeds);

// Sets Winx, Winy or Tiex and Tiey for the game just ended.
void OUTCOME(PredictionState& state);

} // namespace zelkor
