#pragma once

#include "core/PredictionState.h"

namespace zelkor {

namespace penalty_rules {

// Below this minute the draws are narrowed.
inline constexpr int LateMinuteLimit = 5;
// Late home draw = draw * 0.85 + 0.15, in [0.15, 1).
inline constexpr double HomeLateScale = 0.85;
inline constexpr double HomeLateOffset = 0.15;
// Late visiting draw = draw * 0.5 + 0.25, in [0.25, 0.75).
inline constexpr double VisitingLateScale = 0.5;
inline constexpr double VisitingLateOffset = 0.25;
// A power-play rating times this, rounded, is the multiplier.
inline constexpr double PowerPlayFactor = 1.6249;
// A short-handed rating times this, rounded, is the multiplier.
inline constexpr double ShortHandedFactor = 0.1912;
// A penalty with this many minutes left or fewer raises PENALFLAG.
inline constexpr int FlagLimit = 1;

template <typename Draws> Single narrowedDraw(Draws& draws, double scale, double offset) {
    return toSingle(static_cast<double>(draws.nextDraw()) * scale + offset, "a penalty draw");
}

// The penalised side goes short-handed and the other side on the power play.
inline void callPenalty(Integer& powerPlay, Single powerPlayRating, Integer& shortHanded,
                        Single shortHandedRating, Integer& flag, int minute) {
    powerPlay = Integer::fromReal(static_cast<double>(powerPlayRating) * PowerPlayFactor);
    shortHanded = Integer::fromReal(static_cast<double>(shortHandedRating) * ShortHandedFactor);
    if (minute <= FlagLimit) {
        flag = 1;
    }
}

} // namespace penalty_rules

// The penalty model of one call in the minute state.Minute: draws whether each team is
// penalised and sets the power-play and short-handed multipliers and PENALFLAG. Takes
// two draws, four when Minute < 5. Draws is a DrawSource; a template so that the series
// loop, which plays on the generator itself, draws without a call.
template <typename Draws> void PENAL(PredictionState& state, Draws& draws) {
    using namespace penalty_rules;
    const int x = state.Minute;
    state.penaltyx = draws.nextDraw();
    state.penaltyy = draws.nextDraw();
    // The plain draws are taken either way, so the sequence advances by four late in a period.
    if (x < LateMinuteLimit) {
        state.penaltyx = narrowedDraw(draws, HomeLateScale, HomeLateOffset);
        state.penaltyy = narrowedDraw(draws, VisitingLateScale, VisitingLateOffset);
    }
    if (state.penaltyx < state.PENH) {
        callPenalty(state.powerplayx, state.PPR, state.shorthandy, state.SHH, state.PENALFLAG, x);
    }
    if (state.penaltyy < state.PENR) {
        callPenalty(state.powerplayy, state.PPH, state.shorthandx, state.SHR, state.PENALFLAG, x);
    }
}

} // namespace zelkor
