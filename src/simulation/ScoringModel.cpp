#include "simulation/ScoringModel.h"

#include "core/Errors.h"

#include <array>
#include <cmath>
#include <string>

namespace zelkor {

namespace {

constexpr double DrawRange = 100000.0;  // a rate is a chance per minute on this scale
constexpr double MinutesPerGame = 60.0; // turns goals per game into goals per minute
constexpr Single FloorRate = 1; // an exact zero rate becomes this, so every player can score
// The least magnitude that rounds to infinity in single precision.
constexpr double SingleOverflowLimit = 0x1.ffffffp+127;

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

// A player's season goals per minute on the draw scale, before rounding: goals times
// 100000 over games times 60.
double baseQuotient(Single goals, Single games) {
    return (goals * DrawRange) / (games * MinutesPerGame);
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

using TeamValues = std::array<Single, PlayersPerTeam + 1>;

using PlayerValues = std::array<double, PlayersPerTeam>;

// False as soon as one value is beyond the single range or not a number.
bool allFitSingle(const PlayerValues& values) {
    bool fit = true;
    for (const double value : values) {
        fit &= std::fabs(value) < SingleOverflowLimit;
    }
    return fit;
}

// The rebuild runs every minute, so its usual case runs step by step over all players at
// once, which lets the divisions overlap, and checks each step's results together: one
// team's rates and thresholds into local arrays, or false when a step left the range.
bool computeTeam(const PlayerArray& goals, const PlayerArray& games, const TeamScaling& team,
                 Single firstThreshold, TeamValues& rates, TeamValues& thresholds) {
    PlayerValues values; // every element is written before it is read
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        values[player - 1] = baseQuotient(goals[player], games[player]);
    }
    if (!allFitSingle(values)) {
        return false;
    }
    for (double& value : values) {
        value = scaledNumerator(static_cast<Single>(value), team);
    }
    for (double& value : values) {
        value /= team.divisor;
    }
    if (!allFitSingle(values)) {
        return false;
    }
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        rates[player] = withFloor(static_cast<Single>(values[player - 1]));
    }
    // A sum of two Singles rounded once to single precision is exactly their double sum
    // rounded to single (double has more than twice the digits), and adding in single
    // keeps this chain of 18 dependent sums short. An overflow stays infinite to the end.
    thresholds[0] = firstThreshold;
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        thresholds[player] = thresholds[player - 1] + rates[player];
    }
    return std::isfinite(thresholds[PlayersPerTeam]);
}

void storeTeam(const TeamValues& rates, const TeamValues& thresholds, PlayerArray& rateArray,
               PlayerArray& thresholdArray) {
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        rateArray[player] = rates[player];
        thresholdArray[player] = thresholds[player];
    }
}

// Both teams' rates and thresholds, stored only when every step stayed in range.
bool rebuildWhenInRange(PredictionState& state) {
    // Filled by computeTeam before they are read.
    TeamValues visitingRates;
    TeamValues visitingThresholds;
    TeamValues homeRates;
    TeamValues homeThresholds;
    const bool visitingInRange = computeTeam(state.GOALX, state.Gamex, visitingScaling(state),
                                             state.Cumx[0], visitingRates, visitingThresholds);
    const bool homeInRange = computeTeam(state.GOALY, state.Gamey, homeScaling(state),
                                         state.Cumy[0], homeRates, homeThresholds);
    if (!visitingInRange || !homeInRange) {
        return false;
    }
    storeTeam(visitingRates, visitingThresholds, state.Ratex, state.Cumx);
    storeTeam(homeRates, homeThresholds, state.Ratey, state.Cumy);
    return true;
}

// The side and player whose rate is being computed, kept so that an error can name them.
struct RatePosition {
    bool visiting = true;
    int player = 1;
};

// The rebuild step by step in the order of the model, each result checked, so that the
// first step out of range raises the error.
void rebuildChecked(PredictionState& state, RatePosition& position) {
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
                          roster.at(position.player, NameColumn) +
                          "): " + rateFaultReason(state, position, error);
    if (dynamic_cast<const OverflowError*>(&error) != nullptr) {
        throw OverflowError(message);
    }
    throw ArithmeticError(message);
}

} // namespace

void SCORERATE(PredictionState& state) {
    if (rebuildWhenInRange(state)) {
        return;
    }
    RatePosition position;
    try {
        rebuildChecked(state, position);
    } catch (const ArithmeticError& error) {
        throwRateError(state, position, error);
    }
}

} // namespace zelkor
