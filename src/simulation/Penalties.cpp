#include "simulation/Penalties.h"

namespace zelkor {

namespace {

// Below this minute the draws are narrowed.
constexpr int LateMinuteLimit = 5;
// Late home draw = draw * 0.85 + 0.15, in [0.15, 1).
constexpr double HomeLateScale = 0.85;
constexpr double HomeLateOffset = 0.15;
// Late visiting draw = draw * 0.5 + 0.25, in [0.25, 0.75).
constexpr double VisitingLateScale = 0.5;
constexpr double VisitingLateOffset = 0.25;
// A power-play rating times this, rounded, is the multiplier.
constexpr double PowerPlayFactor = 1.6249;
// A short-handed rating times this, rounded, is the multiplier.
constexpr double ShortHandedFactor = 0.1912;
// A penalty with this many minutes left or fewer raises PENALFLAG.
constexpr int FlagLimit = 1;

template <typename Draws> Single narrowedDraw(Draws& draws, double scale, double offset) {
    return toSingle(static_cast<double>(draws.nextDraw()) * scale + offset, "a penalty draw");
}

// The penalised side goes short-handed and the other side on the power play.
void callPenalty(Integer& powerPlay, Single powerPlayRating, Integer& shortHanded,
                 Single shortHandedRating, Integer& flag, int minute) {
    powerPlay = Integer::fromReal(static_cast<double>(powerPlayRating) * PowerPlayFactor);
    shortHanded = Integer::fromReal(static_cast<double>(shortHandedRating) * ShortHandedFactor);
    if (minute <= FlagLimit) {
        flag = 1;
    }
}

template <typename Draws> void penalties(PredictionState& state, Draws& draws) {
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

} // namespace

void PENAL(PredictionState& state, DrawSource& draws) {
    penalties(state, draws);
}

void PENAL(PredictionState& state, Xoshiro256StarStar& draws) {
    penalties(state, draws);
}

} // namespace zelkor
