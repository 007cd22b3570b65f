#pragma once

#include "core/PredictionState.h"
#include "simulation/RandomSource.h"
#include "support/SampleTeams.h"

#include <map>
#include <string>
#include <tuple>
#include <utility>

namespace zelkor::testing {

// The two teams of the worked minute: BOS at TOR; BOS player 2 is "Winger". Penalty
// chances are low enough that a draw of 0.99 never calls one.
inline PredictionState traceState() {
    PredictionState state;
    state.VISITOR = "BOS";
    state.HOME = "TOR";
    state.GAAH = 2.5f;
    state.GAAV = 3.0f;
    state.Ratiox = 0.65f;
    state.Ratioy = 0.55f;
    state.DEFH = 1.1f;
    state.OFFR = 0.9f;
    state.DEFR = 1.05f;
    state.OFFH = 1.2f;
    state.PENH = 0.05f;
    state.PENR = 0.05f;
    state.PPR = 0.95f;
    state.PPH = 0.9f;
    state.SHR = 0.5f;
    state.SHH = 0.5f;
    setPlayer(state, true, 1, "Sniper", 60, 30);
    setPlayer(state, true, 2, "Winger", 80, 20);
    setPlayer(state, false, 1, "Captain", 75, 40);
    setPlayer(state, false, 2, "Grinder", 60, 12);
    for (int row = 3; row <= PlayersPerTeam; ++row) {
        setPlayer(state, true, row, "Visitor " + std::to_string(row), 70, 0);
        setPlayer(state, false, row, "Home " + std::to_string(row), 70, 0);
    }
    return state;
}

// Hands out scripted draws by minute of the series: the first draw of a minute goes to
// the visitors, the second to the home team, every further one to the penalty model. A
// new minute is recognised by a change of game, period or minute in the state. Counts the
// penalty draws of every minute played.
class MinuteScriptDraws : public DrawSource {
public:
    using MinuteKey = std::tuple<int, bool, int>; // game, overtime, minute

    explicit MinuteScriptDraws(const PredictionState& state, Single quietDraw = 0.99f)
        : state_(state), quietDraw_(quietDraw) {}

    void goals(int game, bool overtime, int minute, Single visitorDraw, Single homeDraw) {
        goalDraws_[{game, overtime, minute}] = {visitorDraw, homeDraw};
    }
    void penaltyDraw(int game, bool overtime, int minute, Single draw) {
        penaltyDraws_[{game, overtime, minute}] = draw;
    }
    // Draws the penalty model took in that minute; -1 when the minute was not played.
    int penaltyDrawsTaken(int game, bool overtime, int minute) const {
        const auto found = taken_.find({game, overtime, minute});
        return found == taken_.end() ? -1 : found->second - 2;
    }

    void reseed(std::uint64_t) override { ++reseeds; }
    Single nextDraw() override {
        const MinuteKey key{state_.match, state_.OVERTIME == 1, state_.Minute};
        const int position = taken_[key]++;
        if (position < 2) {
            const auto goal = goalDraws_.find(key);
            if (goal == goalDraws_.end()) {
                return quietDraw_;
            }
            return position == 0 ? goal->second.first : goal->second.second;
        }
        const auto penalty = penaltyDraws_.find(key);
        return penalty == penaltyDraws_.end() ? quietDraw_ : penalty->second;
    }

    int reseeds = 0;

private:
    const PredictionState& state_;
    Single quietDraw_;
    std::map<MinuteKey, std::pair<Single, Single>> goalDraws_;
    std::map<MinuteKey, Single> penaltyDraws_;
    std::map<MinuteKey, int> taken_;
};

} // namespace zelkor::testing
