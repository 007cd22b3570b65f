#pragma once

#include "core/PredictionState.h"
#include "simulation/RandomSource.h"

namespace zelkor {

// The rules of minutes 1 and 0 of regulation and of overtime: extra penalty calls by
// situation, through PENAL.
void LATEGAME(PredictionState& state, DrawSource& draws);

// The visiting team leads: extra calls, then the home power play and the visiting
// short-handed state are cancelled before a last call.
void VISITWIN(PredictionState& state, DrawSource& draws);

// The mirror image of VISITWIN for a home lead.
void HOMEWIN(PredictionState& state, DrawSource& draws);

// The same three on the generator itself, whose draws are then inlined.
void LATEGAME(PredictionState& state, Xoshiro256StarStar& draws);
void VISITWIN(PredictionState& state, Xoshiro256StarStar& draws);
void HOMEWIN(PredictionState& state, Xoshiro256StarStar& draws);

} // namespace zelkor
