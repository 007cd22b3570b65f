#include "season/SeriesOdds.h"

#include "odds/ManySeries.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

const std::filesystem::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

// A game's counts are the many-series run of its seed, with the visitors' own shootout
// chance from the records: BOS 40-2 against TOR 2-40.
TEST(SeriesOdds, CountsAreTheRunOfTheGameWithTheVisitorsShootoutChance) {
    const ShootoutRules rules{true, {{"BOS", 40, 2}, {"TOR", 2, 40}}};
    const OddsRequest request{"BOS", "TOR", 2.4f, 3.1f, 60, 17};
    const GameCounts counts = ratedSeriesOdds(SampleRosters, rules)(request, nullptr);

    ManySeriesRequest run{"BOS", "TOR", {"2.4", 2.4f}, {"3.1", 3.1f}, SampleRosters, 60, 17};
    run.shootout = true;
    run.shootoutVisitorChance = rules.visitorChance("BOS", "TOR");
    const OddsTally tally = *playManySeries(run, {});
    EXPECT_EQ(counts.games, 660);
    EXPECT_EQ(counts.level, 0);
    EXPECT_EQ(counts.visitorWins,
              static_cast<int>(tally.visitorWinsRegulation + tally.visitorWinsOvertime));
    EXPECT_EQ(counts.homeWins, static_cast<int>(tally.homeWinsRegulation + tally.homeWinsOvertime));

    // The same game under reversed records: the shootouts go the other way.
    const ShootoutRules reversed{true, {{"BOS", 2, 40}, {"TOR", 40, 2}}};
    const GameCounts other = seriesBySeriesOdds(SampleRosters, nullptr, reversed)(request);
    EXPECT_LT(other.visitorWins, counts.visitorWins);
    EXPECT_GT(other.homeWins, counts.homeWins);

    // Without shootouts the level games stay level.
    const GameCounts level = seriesBySeriesOdds(SampleRosters)(request);
    EXPECT_GT(level.level, 0);
    EXPECT_EQ(level.visitorWins + level.homeWins + level.level, level.games);
}

} // namespace
} // namespace zelkor
