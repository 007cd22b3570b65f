#pragma once

#include "core/PredictionState.h"

namespace zelkor {

// Rebuilds Ratex, Ratey, Cumx and Cumy from the season records, the ratings, the factors
// and the multipliers of the minute. An arithmetic fault (a player with 0 games, a team
// without goals) raises ArithmeticError naming the team and the player.
void SCORERATE(PredictionState& state);

} // namespace zelkor
