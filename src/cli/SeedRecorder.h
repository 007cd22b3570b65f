#pragma once

#include "simulation/RandomSource.h"

#include <cstdint>
#include <optional>

namespace zelkor {

// Hands out the seeds of another source and remembers the last one, so that the seed of
// a clock-seeded series can be reported and the series played again.
class SeedRecorder final : public SeedSource {
public:
    // source must outlive the recorder.
    explicit SeedRecorder(SeedSource& source) : source_(source) {}

    std::uint64_t seriesSeed() override {
        lastSeed_ = source_.seriesSeed();
        return *lastSeed_;
    }

    // None until a series has asked for a seed.
    std::optional<std::uint64_t> lastSeed() const { return lastSeed_; }

private:
    SeedSource& source_;
    std::optional<std::uint64_t> lastSeed_;
};

} // namespace zelkor
