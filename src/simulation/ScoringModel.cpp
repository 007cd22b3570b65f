#include "simulation/ScoringModel.h"

#include "core/DisplayText.h"
#include "core/Errors.h"

#include <string>

namespace zelkor {

namespace {

constexpr double DrawRange = 100000.0;  // a rate is a chance per minute on this scale
constexpr double MinutesPerGame = 60.0; // turns goals per game into goals per minute
constexpr Single FloorRate = 1; // an exact zero rate becomes this, so every player can score

// What scales one team's rates in this minute. The divisor is the same product for every
// player, so it is formed once.
struct TeamScaling {
    double defence;
    double offence;
    double powerPlay;
    double shortHanded;
    double divisor; // goalie factor times finishing factor
};

TeamScaling visitingScaling(const PredictionState& state) {
    return {state.DEFH, state.OFFR, static_cast<double>(state.powerplayx),
            static_cast<double>(state.shorthandx),
            static_cast<double>(state.GaaFactorx) * state.Finishx};
}

TeamScaling homeScaling(const PredictionState& state) {
    return {state.DEFR, state.OFFH, static_cast<double>(state.powerplayy),
            static_cast<double>(state.shorthandy),
            static_cast<double>(state.GaaFactory) * state.Finishy};
}

// The season rate times the ratings and multipliers of the minute, left to right; the
// scaled rate is this over the team's divisor.
double scaledNumerator(Single rate, const TeamScaling& team) {
    return static_cast<double>(rate) * team.defence * team.offence * team.powerPlay *
           team.shortHanded;
}

Single withFloor(Single rate) {
    return rate == 0 ? FloorRate : rate;
}

bool rises(const PlayerArray& thresholds) {
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        if (thresholds[player] < thresholds[player - 1]) {
            return false;
        }
    }
    return true;
}

// The side and player whose rate is being computed, kept so that an error can name them.
struct RatePosition {
    bool visiting = true;
    int player = 1;
};

// The rebuild step by step in the order of the model, each result checked, so that the
// first step out of range raises the error.
void rebuild(PredictionState& state, RatePosition& position) {
    const TeamScaling visiting = visitingScaling(state);
    const TeamScaling home = homeScaling(state);
    constexpr const char* baseStep = "the base rate";
    constexpr const char* scaledStep = "the scaled rate";
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        position.player = player;
        position.visiting = true;
        state.Ratex[player] =
            toSingle(checkedDivide(state.GOALX[player] * DrawRange,
                                   state.Gamex[player] * MinutesPerGame, baseStep),
                     baseStep);
        position.visiting = false;
        state.Ratey[player] =
            toSingle(checkedDivide(state.GOALY[player] * DrawRange,
                                   state.Gamey[player] * MinutesPerGame, baseStep),
                     baseStep);
        position.visiting = true;
        state.Ratex[player] = toSingle(checkedDivide(scaledNumerator(state.Ratex[player], visiting),
                                                     visiting.divisor, scaledStep),
                                       scaledStep);
        position.visiting = false;
        state.Ratey[player] = toSingle(
            checkedDivide(scaledNumerator(state.Ratey[player], home), home.divisor, scaledStep),
            scaledStep);
        state.Ratex[player] = withFloor(state.Ratex[player]);
        state.Ratey[player] = withFloor(state.Ratey[player]);
    }
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        position.player = player;
        position.visiting = true;
        state.Cumx[player] = toSingle(
            static_cast<double>(state.Cumx[player - 1]) + state.Ratex[player], "the thresholds");
        position.visiting = false;
        state.Cumy[player] = toSingle(
            static_cast<double>(state.Cumy[player - 1]) + state.Ratey[player], "the thresholds");
    }
}

// What made the rate of the player at position fail, in words.
std::string rateFaultReason(const PredictionState& state, const RatePosition& position,
                            const ArithmeticError& error) {
    const Single games =
        position.visiting ? state.Gamex[position.player] : state.Gamey[position.player];
    const Single finish = position.visiting ? state.Finishx : state.Finishy;
    const Single gaaFactor = position.visiting ? state.GaaFactorx : state.GaaFactory;
    if (games == 0) {
        return "games played is 0.";
    }
    if (finish == 0) {
        return "the team's finishing factor is 0 (its roster has no goals).";
    }
    if (gaaFactor == 0) {
        return "the goalie factor is 0.";
    }
    return error.what();
}

[[noreturn]] void throwRateError(const PredictionState& state, const RatePosition& position,
                                 const ArithmeticError& error) {
    const std::string& code = position.visiting ? state.VISITOR : state.HOME;
    const RosterTable& roster = position.visiting ? state.RosterX : state.RosterY;
    std::string message = "Cannot compute the scoring rate of " + code + " player " +
                          std::to_string(position.player) + " (" +
                          quotedText(roster.at(position.player, NameColumn)) +
                          "): " + rateFaultReason(state, position, error);
    if (dynamic_cast<const OverflowError*>(&error) != nullptr) {
        throw OverflowError(message);
    }
    throw ArithmeticError(message);
}

} // namespace

void SCORERATE(PredictionState& state) {
    RatePosition position;
    try {
        rebuild(state, position);
    } catch (const ArithmeticError& error) {
        throwRateError(state, position, error);
    }
}

// A combination not in the direct table: multipliers beyond it, or not met yet.
void RateCache::rebuildSlowly(PredictionState& state) {
    const Key key = keyOf(state);
    for (std::size_t index = 0; index < used_; ++index) {
        if (entries_[index].key == key) {
            active_ = &entries_[index];
            return;
        }
    }
    // SCORERATE starts from the arrays of the minute before, as without the cache.
    storeArraysInto(state);
    active_ = nullptr;
    SCORERATE(state);
    const bool spare = used_ == Capacity;
    Entry& entry = spare ? entries_.back() : entries_[used_++];
    entry = {key,
             state.Ratex,
             state.Ratey,
             state.Cumx,
             state.Cumy,
             rises(state.Cumx),
             rises(state.Cumy),
             bitThresholdsOf(state.Cumx),
             bitThresholdsOf(state.Cumy)};
    active_ = &entry;
    if (const auto slot = directSlot(state); slot && !spare) {
        direct_[*slot] = &entry;
    }
}

void RateCache::storeArraysInto(PredictionState& state) const {
    if (active_ == nullptr) {
        return;
    }
    state.Ratex = active_->Ratex;
    state.Ratey = active_->Ratey;
    state.Cumx = active_->Cumx;
    state.Cumy = active_->Cumy;
}

void RateCache::storeInto(PredictionState& state) {
    if (active_ == nullptr) {
        return;
    }
    storeArraysInto(state);
    const auto multiplier = [key = active_->key](int shift) {
        return Integer(static_cast<std::int16_t>(key >> shift & 0xFFFF));
    };
    state.powerplayx = multiplier(0);
    state.shorthandx = multiplier(16);
    state.powerplayy = multiplier(32);
    state.shorthandy = multiplier(48);
    // The state holds the minute now: a fault before the next rebuild leaves it as is.
    active_ = nullptr;
}

RateCache::Key RateCache::keyOf(const PredictionState& state) {
    const auto bits = [](Integer value) {
        return static_cast<Key>(static_cast<std::uint16_t>(static_cast<int>(value)));
    };
    return bits(state.powerplayx) | bits(state.shorthandx) << 16 | bits(state.powerplayy) << 32 |
           bits(state.shorthandy) << 48;
}

} // namespace zelkor
