#pragma once

#include "core/DrawSource.h"

#include <array>
#include <bit>
#include <chrono>
#include <cstdint>

namespace zelkor {

// xoshiro256** seeded through SplitMix64: the same seed gives the same draws on every
// machine. A draw is the top 24 bits of an output times 2^-24, exact in a float.
class Xoshiro256StarStar final : public DrawSource {
public:
    explicit Xoshiro256StarStar(std::uint64_t seed = 0) { reseed(seed); }
    void reseed(std::uint64_t seed) override;

    // Bit patterns a draw is made of: 0 to DrawBitLimit - 1.
    static constexpr std::uint32_t DrawBitLimit = std::uint32_t{1} << 24;

    // Defined here so that a series played on this class directly draws without a call.
    Single nextDraw() override { return drawOfBits(nextDrawBits()); }

    // The bits the next draw is made of, for callers that compare them instead.
    std::uint32_t nextDrawBits() { return static_cast<std::uint32_t>(next() >> DrawShift); }

    // The draw made of bits. 24 bits times 2^-24 is exact in a float and never reaches 1.
    static Single drawOfBits(std::uint32_t bits) {
        return static_cast<Single>(static_cast<double>(bits) * DrawScale);
    }

    std::uint64_t next() {
        auto& [s0, s1, s2, s3] = state_;
        const std::uint64_t result = std::rotl(s1 * 5, 7) * 9;
        const std::uint64_t shifted = s1 << 17;
        s2 ^= s0;
        s3 ^= s1;
        s1 ^= s2;
        s0 ^= s3;
        s2 ^= shifted;
        s3 = std::rotl(s3, 45);
        return result;
    }

private:
    static constexpr int DrawShift = 40;         // keeps the top 24 bits, all a float holds
    static constexpr double DrawScale = 0x1p-24; // 24 bits to [0, 1)

    std::array<std::uint64_t, 4> state_{};
};

// Seeds from the clock: the seconds since local midnight as a single-precision value
// (with its fraction), whose 32-bit pattern, zero-extended, is the seed.
class ClockSeed final : public SeedSource {
public:
    using Clock = std::chrono::system_clock;
    // now: the time of day to seed from; the system clock unless a test fixes it.
    explicit ClockSeed(Clock::time_point (*now)() = &Clock::now) : now_(now) {}
    std::uint64_t seriesSeed() override;

private:
    Clock::time_point (*now_)();
};

// Always the seed it was given.
class FixedSeed final : public SeedSource {
public:
    explicit FixedSeed(std::uint64_t seed) : seed_(seed) {}
    std::uint64_t seriesSeed() override { return seed_; }

private:
    std::uint64_t seed_;
};

// The (index + 1)-th output of SplitMix64 started at state: the same mixer that seeds the
// generator, used to derive the seeds of many series from one.
std::uint64_t splitMix64Output(std::uint64_t state, std::uint64_t index);

// Turns seconds since midnight into the seed as ClockSeed does; separate so it can be
// checked without a clock.
std::uint64_t seedFromSecondsSinceMidnight(double seconds);

} // namespace zelkor
