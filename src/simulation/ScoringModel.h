#pragma once

#include "core/PredictionState.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace zelkor {

// Rebuilds Ratex, Ratey, Cumx and Cumy from the season records, the ratings, the factors
// and the multipliers of the minute. An arithmetic fault (a player with 0 games, a team
// without goals) raises ArithmeticError naming the team and the player.
void SCORERATE(PredictionState& state);

// SCORERATE for the minutes of one series. Within a series only the four multipliers
// change, so the arrays each combination gives are kept the first time it occurs and
// reused after; a new combination runs SCORERATE itself, so a fault is raised in the
// same minute and with the same message as without the cache. Make one per series.
//
// Copying the arrays into the state at every change of power play would cost more than
// the rest of the minute, so the state's Ratex, Ratey, Cumx and Cumy are brought up to
// date by storeInto only: the series loop calls it when the series ends, however it
// ends, and reads the minute's thresholds from the cache meanwhile.
class RateCache {
public:
    // The rates and thresholds under the state's multipliers now in force.
    void rebuild(PredictionState& state);

    // The thresholds of the last rebuild, visiting or home team.
    const PlayerArray& visitorThresholds() const { return active_->Cumx; }
    const PlayerArray& homeThresholds() const { return active_->Cumy; }

    // Writes the arrays of the last rebuild into the state, unless a rebuild is unfinished
    // (its fault left the state as SCORERATE left it).
    void storeInto(PredictionState& state) const;

private:
    using Key = std::uint64_t; // the four multipliers, 16 bits each
    // Far more combinations than a series meets; any beyond share one spare entry.
    static constexpr std::size_t Capacity = 16;

    struct Entry {
        Key key = 0;
        PlayerArray Ratex;
        PlayerArray Ratey;
        PlayerArray Cumx;
        PlayerArray Cumy;
    };

    static Key keyOf(const PredictionState& state);

    std::array<Entry, Capacity + 1> entries_; // the last one is the spare
    std::size_t used_ = 0;
    const Entry* active_ = nullptr; // the last rebuild's, none while a rebuild is unfinished
};

} // namespace zelkor
