#pragma once

#include "core/PredictionState.h"
#include "simulation/Penalties.h"

namespace zelkor {

namespace late_game_rules {

inline constexpr double LeadMargin = 2.1; // a lead beyond this, three goals or more, adds a call
inline constexpr double TrailingPowerPlayReset = 1.35; // stored in an Integer: the power play is 1
inline constexpr double LeadingShortHandedReset = 1.2; // stored in an Integer: even strength, 1

inline bool leadsByThreeOrMore(int leader, int trailer) {
    return static_cast<double>(leader) > static_cast<double>(trailer) + LeadMargin;
}

} // namespace late_game_rules

// The rules below are templates on the draw source for the same reason as PENAL.

// The visiting team leads: extra calls, then the home power play and the visiting
// short-handed state are cancelled before a last call.
template <typename Draws> void VISITWIN(PredictionState& state, Draws& draws) {
    using namespace late_game_rules;
    if (leadsByThreeOrMore(state.Scorex, state.Scorey)) {
        PENAL(state, draws);
    }
    // A penalty in minute 1 or earlier in this minute makes one more call.
    if (state.PENALFLAG == 1) {
        PENAL(state, draws);
    }
    // Cancel any penalty on the leader before the last call.
    state.powerplayy = Integer::fromReal(TrailingPowerPlayReset);
    state.shorthandx = Integer::fromReal(LeadingShortHandedReset);
    PENAL(state, draws);
}

// The mirror image of VISITWIN for a home lead.
template <typename Draws> void HOMEWIN(PredictionState& state, Draws& draws) {
    using namespace late_game_rules;
    if (leadsByThreeOrMore(state.Scorey, state.Scorex)) {
        PENAL(state, draws);
    }
    if (state.PENALFLAG == 1) {
        PENAL(state, draws);
    }
    state.powerplayx = Integer::fromReal(TrailingPowerPlayReset);
    state.shorthandy = Integer::fromReal(LeadingShortHandedReset);
    PENAL(state, draws);
}

// The rules of minutes 1 and 0 of regulation and of overtime: extra penalty calls by
// situation, through PENAL.
template <typename Draws> void LATEGAME(PredictionState& state, Draws& draws) {
    // Four independent tests; PENAL leaves the scores alone, so at most one of the last
    // three passes.
    if (state.OVERTIME == 1) {
        PENAL(state, draws);
    }
    if (state.Scorex == state.Scorey) {
        PENAL(state, draws);
    }
    if (state.Scorex > state.Scorey) {
        VISITWIN(state, draws);
    }
    if (state.Scorey > state.Scorex) {
        HOMEWIN(state, draws);
    }
}

} // namespace zelkor
