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

// Which sides one call of the penalty model penalises.
struct PenaltyCalls {
    bool home = false;    ///< the home team is penalised: visitors on the power play
    bool visitor = false; ///< the visiting team is penalised: home team on the power play
};

// The draws and tests of one call of the penalty model in the given minute, without its
// effect: takes two draws, four when minute < 5, and leaves the deciding draws in
// homeDraw and visitorDraw. Draws is a DrawSource; a template so that the series loop,
// which plays on the generator itself, draws without a call.
template <typename Draws>
PenaltyCalls drawPenaltyCalls(Draws& draws, int minute, Single homeChance, Single visitorChance,
                              Single& homeDraw, Single& visitorDraw) {
    using namespace penalty_rules;
    homeDraw = draws.nextDraw();
    visitorDraw = draws.nextDraw();
    // The plain draws are taken either way, so the sequence advances by four late in a period.
    if (minute < LateMinuteLimit) {
        homeDraw = narrowedDraw(draws, HomeLateScale, HomeLateOffset);
        visitorDraw = narrowedDraw(draws, VisitingLateScale, VisitingLateOffset);
    }
    return {homeDraw < homeChance, visitorDraw < visitorChance};
}

// Sets the power-play and short-handed multipliers and PENALFLAG for the calls made in
// minute state.Minute.
inline void applyPenaltyCalls(PredictionState& state, PenaltyCalls calls) {
    using namespace penalty_rules;
    const int x = state.Minute;
    if (calls.home) {
        callPenalty(state.powerplayx, state.PPR, state.shorthandy, state.SHH, state.PENALFLAG, x);
    }
    if (calls.visitor) {
        callPenalty(state.powerplayy, state.PPH, state.shorthandx, state.SHR, state.PENALFLAG, x);
    }
}

// The penalty model of one call in the minute state.Minute: draws whether each team is
// penalised (into penaltyx and penaltyy) and sets the power-play and short-handed
// multipliers and PENALFLAG.
template <typename Draws> void PENAL(PredictionState& state, Draws& draws) {
    applyPenaltyCalls(state, drawPenaltyCalls(draws, state.Minute, state.PENH, state.PENR,
                                              state.penaltyx, state.penaltyy));
}

} // namespace zelkor
