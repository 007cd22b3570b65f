#include "simulation/LateGame.h"

#include "simulation/Penalties.h"

namespace zelkor {

namespace {

constexpr double LeadMargin = 2.1; // a lead beyond this, three goals or more, adds a call
constexpr double TrailingPowerPlayReset = 1.35; // stored in an Integer, so the power play is 1
constexpr double LeadingShortHandedReset = 1.2; // stored in an Integer, so even strength, 1

bool leadsByThreeOrMore(int leader, int trailer) {
    return static_cast<double>(leader) > static_cast<double>(trailer) + LeadMargin;
}

template <typename Draws> void visitingLead(PredictionState& state, Draws& draws) {
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

template <typename Draws> void homeLead(PredictionState& state, Draws& draws) {
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

template <typename Draws> void lateGame(PredictionState& state, Draws& draws) {
    // Four independent tests; PENAL leaves the scores alone, so at most one of the last
    // three passes.
    if (state.OVERTIME == 1) {
        PENAL(state, draws);
    }
    if (state.Scorex == state.Scorey) {
        PENAL(state, draws);
    }
    if (state.Scorex > state.Scorey) {
        visitingLead(state, draws);
    }
    if (state.Scorey > state.Scorex) {
        homeLead(state, draws);
    }
}

} // namespace

void LATEGAME(PredictionState& state, DrawSource& draws) {
    lateGame(state, draws);
}

void LATEGAME(PredictionState& state, Xoshiro256StarStar& draws) {
    lateGame(state, draws);
}

void VISITWIN(PredictionState& state, DrawSource& draws) {
    visitingLead(state, draws);
}

void VISITWIN(PredictionState& state, Xoshiro256StarStar& draws) {
    visitingLead(state, draws);
}

void HOMEWIN(PredictionState& state, DrawSource& draws) {
    homeLead(state, draws);
}

void HOMEWIN(PredictionState& state, Xoshiro256StarStar& draws) {
    homeLead(state, draws);
}

} // namespace zelkor
