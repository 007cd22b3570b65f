#pragma once

#include "core/Arithmetic.h"
#include "core/PlayerArray.h"
#include "simulation/RandomSource.h"

#include <array>
#include <cstdint>

namespace zelkor {

// A series on the generator compares the 24 bits of each draw with integer limits instead
// of turning every draw into a float first, and gets the same answer for every draw:
//
// Each draw the rules compare is made from its bits by steps that never go down as the
// bits rise: the bits to a double and times 2^-24 (both exact), to a float (exact), then
// times a positive constant or plus a constant in double and rounded to a float (each a
// rounding of a rising function, and rounding to nearest never reverses an order). So
// "draw < value" and "value < draw", for a fixed float value, change their answer at
// most once as the bits go from 0 to 2^24 - 1 (never, for a NaN value, whose compares
// are all false), and a limit on the bits is the pattern where the answer changes.
// firstBitsWhere finds it by evaluating that very compare on both sides of it, so the
// compare of the bits with the limit agrees with the compare of the float on all 2^24
// patterns; nothing rests on a formula for where the change falls, which only gives the
// first guess.

// The lowest bits in [0, DrawBitLimit] at which holds(bits) is true, DrawBitLimit when it
// is true for none. holds must be false below some pattern and true from it on. The
// search starts at guess and widens its steps, so a close guess costs a few evaluations.
template <typename Holds> std::uint32_t firstBitsWhere(Holds holds, double guess) {
    constexpr std::int64_t limit = Xoshiro256StarStar::DrawBitLimit;
    // holds, extended: false before the first pattern, true at the limit.
    const auto at = [&holds](std::int64_t bits) {
        return bits >= limit || (bits >= 0 && holds(static_cast<std::uint32_t>(bits)));
    };
    // !(guess > 0) also takes a NaN guess to 0.
    std::int64_t start = 0;
    if (guess >= static_cast<double>(limit)) {
        start = limit;
    } else if (guess > 0) {
        start = static_cast<std::int64_t>(guess);
    }
    // Bracket the change between false at below and true at above, then halve.
    std::int64_t below = start - 1;
    std::int64_t above = start;
    std::int64_t step = 1;
    if (at(start)) {
        while (at(below)) {
            above = below;
            step *= 2;
            below = above - step < -1 ? -1 : above - step;
        }
    } else {
        below = start;
        above = start + 1;
        while (!at(above)) {
            below = above;
            step *= 2;
            above = below + step > limit ? limit : below + step;
        }
    }
    while (above - below > 1) {
        const std::int64_t middle = below + (above - below) / 2;
        (at(middle) ? above : below) = middle;
    }
    return static_cast<std::uint32_t>(above);
}

// A minute's goal draw is uniform in [1, 100001): its draw in [0, 1) on this scale.
inline constexpr double MinuteDrawRange = 100000.0;
inline constexpr double MinuteDrawOffset = 1.0; // the smallest goal draw

// The goal draw before it is rounded to a float.
inline double minuteDrawValue(Single draw) {
    return static_cast<double>(draw) * MinuteDrawRange + MinuteDrawOffset;
}

// The goal draw made of the generator's bits. It cannot fail the range check.
inline Single minuteDrawOfBits(std::uint32_t bits) {
    return static_cast<Single>(minuteDrawValue(Xoshiro256StarStar::drawOfBits(bits)));
}

// A team's goal thresholds as limits on the bits of the minute's goal draw:
// thresholds[i] < draw exactly when bits >= above[i], and draw < thresholds[i] exactly
// when bits < notBelow[i].
struct BitThresholds {
    std::array<std::uint32_t, PlayersPerTeam + 1> above{};
    std::array<std::uint32_t, PlayersPerTeam + 1> notBelow{};
};

inline BitThresholds bitThresholdsOf(const PlayerArray& thresholds) {
    BitThresholds limits;
    for (int index = 0; index <= PlayersPerTeam; ++index) {
        const Single threshold = thresholds[index];
        const double guess = (static_cast<double>(threshold) - MinuteDrawOffset) / MinuteDrawRange *
                             Xoshiro256StarStar::DrawBitLimit;
        const auto slot = static_cast<std::size_t>(index);
        limits.above[slot] = firstBitsWhere(
            [threshold](std::uint32_t bits) { return threshold < minuteDrawOfBits(bits); }, guess);
        limits.notBelow[slot] = firstBitsWhere(
            [threshold](std::uint32_t bits) { return !(minuteDrawOfBits(bits) < threshold); },
            guess);
    }
    return limits;
}

// How many bit patterns make a draw below chance, where drawOf(bits) is the draw they
// make: draw < chance exactly when bits are below the count.
template <typename DrawOf>
std::uint32_t bitsBelow(Single chance, DrawOf drawOf, double guessScale, double guessOffset) {
    const double guess =
        (static_cast<double>(chance) - guessOffset) / guessScale * Xoshiro256StarStar::DrawBitLimit;
    return firstBitsWhere([chance, drawOf](std::uint32_t bits) { return !(drawOf(bits) < chance); },
                          guess);
}

} // namespace zelkor
