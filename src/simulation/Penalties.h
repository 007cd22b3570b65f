#pragma once

#include "core/PredictionState.h"
#include "simulation/RandomSource.h"

namespace zelkor {

// The penalty model of one call in the minute state.Minute: draws whether each team is
// penalised and sets the power-play and short-handed multipliers and PENALFLAG. Takes
// two draws, four when Minute < 5.
void PENAL(PredictionState& state, DrawSource& draws);
// The same on the generator itself, whose draws are then inlined.
void PENAL(PredictionState& state, Xoshiro256StarStar& draws);

} // namespace zelkor
