#pragma once

#include "core/Arithmetic.h"

#include <cstdint>

namespace zelkor {

// The one pseudo-random sequence of a series. Reseeded once at its start. The engine
// borrows it for a series and never owns it.
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

} // namespace zelkor
