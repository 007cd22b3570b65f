#pragma once

#include "core/PredictionState.h"
#include "simulation/Penalties.h"

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
// same minute and with the same message as without the cache. Make one per series, or
// one for many series whose inputs are all the same.
//
// Copying the arrays into the state at every change of power play would cost more than
// the rest of the minute, so the state's Ratex, Ratey, Cumx, Cumy and multipliers are
// brought up to date by storeInto only: the series loop calls it when the series ends,
// however it ends, and before it changes the multipliers in the state itself, and reads
// the minute's thresholds from the cache meanwhile.
class RateCache {
public:
    // The rates and thresholds under the state's multipliers now in force.
    void rebuild(PredictionState& state) {
        if (const auto slot = directSlot(state); slot && direct_[*slot] != nullptr) {
            active_ = direct_[*slot];
            return;
        }
        rebuildSlowly(state);
    }

    // The rates and thresholds of a minute without late-game rules, whose multipliers
    // follow from its penalty calls alone, if these calls were kept: one lookup, for the
    // common minute. False when they were not; the caller then sets the multipliers,
    // rebuilds and keeps the calls.
    bool useCalls(PenaltyCalls calls) {
        const Entry* entry = byCalls_[callsSlot(calls)];
        if (entry == nullptr) {
            return false;
        }
        active_ = entry;
        return true;
    }
    // Keeps the last rebuild for these calls (unless it went to the spare entry, which the
    // next new combination overwrites).
    void keepCalls(PenaltyCalls calls) {
        if (active_ != &entries_.back()) {
            byCalls_[callsSlot(calls)] = active_;
        }
    }

    // The thresholds of the last rebuild, visiting or home team.
    const PlayerArray& visitorThresholds() const { return active_->Cumx; }
    const PlayerArray& homeThresholds() const { return active_->Cumy; }
    // The same as limits on the bits of the generator's goal draws.
    const BitThresholds& visitorBitThresholds() const { return active_->bitsx; }
    const BitThresholds& homeBitThresholds() const { return active_->bitsy; }
    // Whether they never fall from one player to the next (no negative rate), so that a
    // draw above the last one hits nobody.
    bool visitorThresholdsRise() const { return active_->CumxRises; }
    bool homeThresholdsRise() const { return active_->CumyRises; }

    // Writes the arrays and multipliers of the last rebuild into the state, unless a
    // rebuild is unfinished (its fault left the state as SCORERATE left it). After it the
    // state holds the minute, and the caller may change its multipliers and rebuild.
    void storeInto(PredictionState& state);

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
        bool CumxRises = false;
        bool CumyRises = false;
        BitThresholds bitsx;
        BitThresholds bitsy;
    };

    static Key keyOf(const PredictionState& state);
    void rebuildSlowly(PredictionState& state);
    void storeArraysInto(PredictionState& state) const;
    static std::size_t callsSlot(PenaltyCalls calls) {
        return static_cast<std::size_t>(calls.home) | static_cast<std::size_t>(calls.visitor) << 1;
    }
    // Multipliers of 0 to 3, all a rating table gives, index a table of the entries
    // directly: two bits each, so that the minute needs no search.
    static constexpr unsigned DirectMultipliers = 4;
    static constexpr std::size_t DirectSlots = 256; // DirectMultipliers to the fourth
    static std::optional<std::size_t> directSlot(const PredictionState& state) {
        const auto bits = [](Integer multiplier) {
            return static_cast<unsigned>(static_cast<std::uint16_t>(int(multiplier)));
        };
        const unsigned a = bits(state.powerplayx);
        const unsigned b = bits(state.shorthandx);
        const unsigned c = bits(state.powerplayy);
        const unsigned d = bits(state.shorthandy);
        if ((a | b | c | d) >= DirectMultipliers) {
            return std::nullopt;
        }
        return a | b << 2 | c << 4 | d << 6;
    }

    std::array<Entry, Capacity + 1> entries_; // the last one is the spare
    std::array<const Entry*, DirectSlots> direct_{};
    std::array<const Entry*, 4> byCalls_{}; // by callsSlot
    std::size_t used_ = 0;
    const Entry* active_ = nullptr; // the last rebuild's, none while a rebuild is unfinished
};

} // namespace zelkor
