#include "simulation/RandomSource.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <ctime>

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

} // namespace
} // namespace zelkor
