#pragma once

#include "core/Arithmetic.h"

#include <array>
#include <cstdint>

namespace zelkor {

// The one pseudo-random sequence of a series. Reseeded once at its start.
class DrawSource {
public:
    virtual ~DrawSource() = default;
    virtual void reseed(std::uint64_t seed) = 0;
    // The next uniform value in [0, 1).
    virtual Single nextDraw() = 0;
};

// Where the seed of each series comes from.
class SeedSource {
public:
    virtual ~SeedSource() = default;
    virtual std::uint64_t seriesSeed() = 0;
};

// xoshiro256** seeded through SplitMix64: the same seed gives the same draws on every
// machine. A draw is the top 24 bits of an output times 2^-24, exact in a float.
class Xoshiro256StarStar final : public DrawSource {
public:
    explicit Xoshiro256StarStar(std::uint64_t seed = 0) { reseed(seed); }
    void reseed(std::uint64_t seed) override;
    Single nextDraw() override;
    std::uint64_t next();

private:
    std::array<std::uint64_t, 4> state_{};
};

// Seeds from the clock: the seconds since local midnight as a single-precision value
// (with its fraction), whose 32-bit pattern, zero-extended, is the seed.
class ClockSeed final : public SeedSource {
public:
    std::uint64_t seriesSeed() override;
};

// Always the seed it was given.
class FixedSeed final : public SeedSource {
public:
    explicit FixedSeed(std::uint64_t seed) : seed_(seed) {}
    std::uint64_t seriesSeed() override { return seed_; }

private:
    std::uint64_t seed_;
};

// Turns seconds since midnight into the seed as ClockSeed does; separate so it can be
// checked without a clock.
std::uint64_t seedFromSecondsSinceMidnight(double seconds);

} // namespace zelkor
