#include "simulation/RandomSource.h"

#include "simulation/DrawThresholds.h"
#include "simulation/Penalties.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <ctime>
#include <limits>
#include <vector>

namespace zelkor {
namespace {

// Reference outputs computed independently of this code from the published algorithms.
TEST(RandomSource, MatchesReferenceOutputs) {
    struct Case {
        std::uint64_t seed;
        std::uint64_t outputs[4];
    };
    const Case cases[] = {
        {0, {0x99ec5f36cb75f2b4, 0xbf6e1f784956452a, 0x1a5f849d4933e6e0, 0x6aa594f1262d2d2c}},
        {12345, {0xbe6a36374160d49b, 0x214aaa0637a688c6, 0xf69d16de9954d388, 0x0c60048c4e96e033}},
    };
    for (const Case& c : cases) {
        Xoshiro256StarStar generator(c.seed);
        for (std::uint64_t expected : c.outputs) {
            EXPECT_EQ(generator.next(), expected) << "seed " << c.seed;
        }
    }
}

TEST(RandomSource, DrawsAreTheTop24BitsOfEachOutput) {
    Xoshiro256StarStar generator(0);
    EXPECT_EQ(generator.nextDraw(), 0.6012629866600037f);
    EXPECT_EQ(generator.nextDraw(), 0.747774064540863f);
    EXPECT_EQ(generator.nextDraw(), 0.10301995277404785f);
    EXPECT_EQ(generator.nextDraw(), 0.41658902168273926f);
}

TEST(RandomSource, ReseedRestartsTheSequence) {
    Xoshiro256StarStar generator(7);
    const Single first = generator.nextDraw();
    generator.nextDraw();
    generator.reseed(7);
    EXPECT_EQ(generator.nextDraw(), first);
}

TEST(RandomSource, SeedIsTheBitPatternOfTheSingleSeconds) {
    EXPECT_EQ(seedFromSecondsSinceMidnight(3600.5), 0x45610800u);
    EXPECT_EQ(seedFromSecondsSinceMidnight(45296.123), 0x4730f01fu);
    EXPECT_EQ(seedFromSecondsSinceMidnight(0.0), 0u);
}

TEST(RandomSource, ClockSeedIsATimeOfDay) {
    ClockSeed clock;
    const std::uint64_t seed = clock.seriesSeed();
    ASSERT_LE(seed, 0xffffffffu);
    const float seconds = std::bit_cast<float>(static_cast<std::uint32_t>(seed));
    EXPECT_GE(seconds, -1.0f);
    EXPECT_LT(seconds, 86401.0f);

    // Half a second after one o'clock today keeps its half.
    ClockSeed fixed([] {
        const std::time_t today = std::time(nullptr);
        std::tm local{};
        localtime_r(&today, &local);
        local.tm_hour = 1;
        local.tm_min = 0;
        local.tm_sec = 0;
        local.tm_isdst = -1;
        return ClockSeed::Clock::from_time_t(std::mktime(&local)) + std::chrono::milliseconds(500);
    });
    EXPECT_EQ(fixed.seriesSeed(), seedFromSecondsSinceMidnight(3600.5));
}

// The bit patterns where a compare of the float draw must flip, and their neighbours.
std::vector<std::uint32_t> edgeBits(std::uint32_t limit) {
    std::vector<std::uint32_t> bits{0, 1, Xoshiro256StarStar::DrawBitLimit - 1};
    for (std::uint32_t offset = 0; offset < 4; ++offset) {
        if (limit + offset >= 2 && limit + offset - 2 < Xoshiro256StarStar::DrawBitLimit) {
            bits.push_back(limit + offset - 2);
        }
    }
    return bits;
}

TEST(RandomSource, GoalThresholdBitsDecideAsTheFloatDraw) {
    const Single largest = std::numeric_limits<Single>::max();
    const Single exactDraw = minuteDrawOfBits(8'000'000); // some patterns land on it
    const Single thresholds[] = {0,         1,         1.00000012f, 943.03f,
                                 1415.55f,  2512.46f,  exactDraw,   minuteDrawOfBits(1),
                                 99999.99f, 100001.0f, 100000.99f,  -5.0f,
                                 1e30f,     largest,   -largest,    0.5f,
                                 50000.5f,  3.0f,      2.0f};
    PlayerArray cum;
    for (int index = 0; index <= PlayersPerTeam; ++index) {
        cum[index] = thresholds[index];
    }
    const BitThresholds limits = bitThresholdsOf(cum);
    for (int index = 0; index <= PlayersPerTeam; ++index) {
        const Single threshold = cum[index];
        const auto slot = static_cast<std::size_t>(index);
        std::vector<std::uint32_t> bits = edgeBits(limits.above[slot]);
        for (std::uint32_t more : edgeBits(limits.notBelow[slot])) {
            bits.push_back(more);
        }
        for (std::uint32_t pattern : bits) {
            const Single draw = minuteDrawOfBits(pattern);
            ASSERT_EQ(threshold < draw, limits.above[slot] <= pattern)
                << threshold << " " << pattern;
            ASSERT_EQ(draw < threshold, pattern < limits.notBelow[slot])
                << threshold << " " << pattern;
        }
    }
    // The patterns that make the exact draw are neither above nor below it.
    EXPECT_EQ(limits.notBelow[6], 8'000'000u);
    EXPECT_GE(limits.above[6], 8'000'001u);
}

TEST(RandomSource, PenaltyLimitsCallAsTheFloatDraws) {
    const Single chances[] = {
        0,      0x1p-24f, 0.1f, 0.15f, 0.2f,
        0.25f,  0.4f,     0.6f, 0.75f, 0.85f,
        0.999f, 1.0f,     2.0f, -1.0f, std::numeric_limits<Single>::quiet_NaN()};
    using namespace penalty_rules;
    for (const Single chance : chances) {
        const PenaltyLimits limits = penaltyLimitsOf(chance, chance);
        struct Check {
            std::uint32_t limit;
            bool narrowed;
            bool home;
        };
        for (const Check& check :
             {Check{limits.home, false, true}, Check{limits.lateHome, true, true},
              Check{limits.lateVisitor, true, false}}) {
            for (std::uint32_t pattern : edgeBits(check.limit)) {
                const PenaltyBits drawn{pattern, pattern, check.narrowed};
                const Single draw = check.home ? drawn.homeDraw() : drawn.visitorDraw();
                ASSERT_EQ(draw < chance, pattern < check.limit) << chance << " " << pattern;
            }
        }
        EXPECT_EQ(limits.visitor, limits.home);
    }
    EXPECT_EQ(penaltyLimitsOf(0.25f, 0.25f).home, 1u << 22);
    EXPECT_EQ(penaltyLimitsOf(0.25f, 0.25f).lateVisitor, 0u);
}

} // namespace
} // namespace zelkor
