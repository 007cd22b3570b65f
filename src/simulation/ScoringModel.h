#pragma once

#include "core/PredictionState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace zelkor {

// Rebuilds Ratex, Ratey, Cumx and Cumy from the season records, the ratings, the factors
// and the multipliers of the minute. An arithmetic fault (a player with 0 games, a team
// without goals) raises ArithmeticError naming the team and the player.
void SCORERATE(PredictionState& state);

// SCORERATE for the minutes of one series. Within a series only the four multipliers
// change, so the arrays each combination gives are kept the first time it occurs and
// reused after; a new combination runs SCORERATE itself, so a fault is raised in the
// same minute and with the same message as without the cache. Make one per series.
class RateCache {
public:
    void rebuild(PredictionState& state);

private:
    using Key = std::uint64_t; // the four multipliers, 16 bits each
    // Far more combinations than a series meets; any beyond are computed every time.
    static constexpr std::size_t Capacity = 16;

    struct Entry {
        Key key = 0;
        PlayerArray Ratex;
        PlayerArray Ratey;
        PlayerArray Cumx;
        PlayerArray Cumy;
    };

    static Key keyOf(const PredictionState& state);
    static void save(const PredictionState& state, Key key, Entry& entry);
    static void restore(const Entry& entry, PredictionState& state);

    std::array<Entry, Capacity> entries_{};
    std::size_t used_ = 0;
    std::optional<Key> current_; // the combination whose arrays the state holds now
};

} // namespace zelkor
