#pragma once

#include "core/PredictionState.h"
#include "simulation/DrawThresholds.h"
#include "simulation/RandomSource.h"

#include <cstdint>

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

// A narrowed draw before it is rounded to a float.
inline double narrowedValue(Single draw, double scale, double offset) {
    return static_cast<double>(draw) * scale + offset;
}

template <typename Draws> Single narrowedDraw(Draws& draws, double scale, double offset) {
    return toSingle(narrowedValue(draws.nextDraw(), scale, offset), "a penalty draw");
}

// The narrowed draw made of the generator's bits; in [0, 1), it cannot fail the check.
inline Single narrowedDrawOfBits(std::uint32_t bits, double scale, double offset) {
    return static_cast<Single>(narrowedValue(Xoshiro256StarStar::drawOfBits(bits), scale, offset));
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

// The tests of drawPenaltyCalls as limits on the bits of the generator's draws, for the
// chances of one series: a side is penalised when its deciding draw's bits are below its
// limit, which gives the same calls as the float draws (see DrawThresholds.h).
struct PenaltyLimits {
    std::uint32_t home = 0;
    std::uint32_t visitor = 0;
    std::uint32_t lateHome = 0; // narrowed draws, minute < 5
    std::uint32_t lateVisitor = 0;
};

inline PenaltyLimits penaltyLimitsOf(Single homeChance, Single visitorChance) {
    using namespace penalty_rules;
    const auto plain = [](std::uint32_t bits) { return Xoshiro256StarStar::drawOfBits(bits); };
    const auto narrowed = [](double scale, double offset) {
        return
            [scale, offset](std::uint32_t bits) { return narrowedDrawOfBits(bits, scale, offset); };
    };
    return {bitsBelow(homeChance, plain, 1, 0), bitsBelow(visitorChance, plain, 1, 0),
            bitsBelow(homeChance, narrowed(HomeLateScale, HomeLateOffset), HomeLateScale,
                      HomeLateOffset),
            bitsBelow(visitorChance, narrowed(VisitingLateScale, VisitingLateOffset),
                      VisitingLateScale, VisitingLateOffset)};
}

// The deciding bits of one call on the generator, kept as bits until the state shows them.
struct PenaltyBits {
    std::uint32_t home = 0;
    std::uint32_t visitor = 0;
    bool narrowed = false;

    Single homeDraw() const {
        using namespace penalty_rules;
        return narrowed ? narrowedDrawOfBits(home, HomeLateScale, HomeLateOffset)
                        : Xoshiro256StarStar::drawOfBits(home);
    }
    Single visitorDraw() const {
        using namespace penalty_rules;
        return narrowed ? narrowedDrawOfBits(visitor, VisitingLateScale, VisitingLateOffset)
                        : Xoshiro256StarStar::drawOfBits(visitor);
    }
};

// drawPenaltyCalls on the generator's bits: the same draws, in the same order, and the
// same calls, without a float per draw.
inline PenaltyCalls drawPenaltyCallBits(Xoshiro256StarStar& draws, int minute,
                                        const PenaltyLimits& limits, PenaltyBits& drawn) {
    using namespace penalty_rules;
    drawn.home = draws.nextDrawBits();
    drawn.visitor = draws.nextDrawBits();
    drawn.narrowed = minute < LateMinuteLimit;
    if (!drawn.narrowed) {
        return {drawn.home < limits.home, drawn.visitor < limits.visitor};
    }
    drawn.home = draws.nextDrawBits();
    drawn.visitor = draws.nextDrawBits();
    return {drawn.home < limits.lateHome, drawn.visitor < limits.lateVisitor};
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
