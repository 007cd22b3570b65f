#pragma once

#include "core/DrawSource.h"

#include <cstddef>
#include <stdexcept>
#include <vector>

namespace zelkor::testing {

// Hands out a fixed list of draws, then a fallback value; counts what was taken.
class ScriptedDraws : public DrawSource {
public:
    explicit ScriptedDraws(std::vector<Single> draws = {}, Single fallback = 0.99f)
        : draws_(std::move(draws)), fallback_(fallback) {}

    void reseed(std::uint64_t seed) override {
        lastSeed = seed;
        ++reseeds;
    }
    Single nextDraw() override {
        const Single draw = taken < draws_.size() ? draws_[taken] : fallback_;
        ++taken;
        return draw;
    }

    std::size_t taken = 0;
    int reseeds = 0;
    std::uint64_t lastSeed = 0;

private:
    std::vector<Single> draws_;
    Single fallback_;
};

} // namespace zelkor::testing
