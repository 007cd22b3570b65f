#pragma once

#include "core/PredictionState.h"

#include <string>

namespace zelkor::testing {

// Fills roster row `row` of one team: name, games played and goals.
inline void setPlayer(PredictionState& state, bool visiting, int row, const std::string& name,
                      Single games, Single goals) {
    (visiting ? state.RosterX : state.RosterY).at(row, NameColumn) = name;
    (visiting ? state.Gamex : state.Gamey)[row] = games;
    (visiting ? state.GOALX : state.GOALY)[row] = goals;
}

// Two full teams of plausible players (5 to 40 goals in 60 to 82 games) and ratings of
// an ordinary table row, with penalties common enough to reach the late-game rules.
inline PredictionState fullRosterState() {
    PredictionState state;
    state.VISITOR = "NYR";
    state.HOME = "MON";
    state.GAAV = 2.85f;
    state.GAAH = 2.6f;
    state.Ratiox = 0.61f;
    state.Ratioy = 0.57f;
    state.OFFR = 0.96f;
    state.PENR = 0.31f;
    state.PPR = 1.02f;
    state.SHR = 0.42f;
    state.DEFR = 1.04f;
    state.OFFH = 1.08f;
    state.PENH = 0.22f;
    state.PPH = 0.88f;
    state.SHH = 1.3f;
    state.DEFH = 0.97f;
    for (int row = 1; row <= PlayersPerTeam; ++row) {
        const Single goals = static_cast<Single>(5 + (row * 7) % 36);
        const Single games = static_cast<Single>(60 + (row * 5) % 23);
        setPlayer(state, true, row, "Visitor " + std::to_string(row), games, goals);
        setPlayer(state, false, row, "Home " + std::to_string(row), games + 1, goals);
    }
    return state;
}

} // namespace zelkor::testing
