#include "odds/OddsFigures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelkor {
namespace {

TEST(OddsFigures, WilsonIntervalsOfKnownShares) {
    const struct {
        std::uint64_t hits, trials;
        double low, high;
    } rows[] = {
        {0, 10, 0.0, 0.2775},
        {5, 10, 0.2366, 0.7634},
        {10, 10, 0.7225, 1.0},
        {500, 1000, 0.4691, 0.5309},
    };
    for (const auto& row : rows) {
        const Probability p = wilsonProbability(row.hits, row.trials);
        EXPECT_NEAR(p.low, row.low, 5e-5) << row.hits << "/" << row.trials;
        EXPECT_NEAR(p.high, row.high, 5e-5) << row.hits << "/" << row.trials;
    }
}

TEST(OddsFigures, OddsInEveryForm) {
    const auto even = fairOdds(0.5);
    ASSERT_TRUE(even);
    EXPECT_DOUBLE_EQ(even->decimal, 2.0);
    EXPECT_DOUBLE_EQ(even->american, 100.0);
    EXPECT_DOUBLE_EQ(fairOdds(0.4)->american, 150.0);
    EXPECT_NEAR(fairOdds(0.6)->american, -150.0, 1e-9);
    EXPECT_FALSE(fairOdds(0.0));
    EXPECT_FALSE(fairOdds(1.0));

    const struct {
        const char* text;
        std::optional<double> decimal;
    } offered[] = {{"2.10", 2.1},         {"+150", 2.5},         {"-200", 1.5},
                   {"+100", 2.0},         {"150", 2.5},          {"-120", 1 + 100.0 / 120},
                   {"1", std::nullopt},   {"1.0", std::nullopt}, {"-50", std::nullopt},
                   {"abc", std::nullopt}, {"", std::nullopt}};
    for (const auto& row : offered) {
        const auto value = parseOfferedOdds(row.text);
        ASSERT_EQ(value.has_value(), row.decimal.has_value()) << row.text;
        if (value) {
            EXPECT_DOUBLE_EQ(*value, *row.decimal) << row.text;
        }
    }
    // 50 % to win, 40 % to lose, 10 % level: at 2.0 the push keeps the stake.
    EXPECT_NEAR(edgePerUnit(0.5, 0.4, 2.0), 0.1, 1e-12);
}

TEST(OddsFigures, GameLinesFromTheScores) {
    OddsTally tally;
    tally.games = 4;
    tally.scoreGrid[3][1] = 1; // 4 goals, visitor by 2
    tally.scoreGrid[2][4] = 1; // 6 goals, home by 2
    tally.scoreGrid[3][3] = 1; // level
    tally.otherScores[{20, 0}] = 1;
    tally.visitorWinsRegulation = 2;
    tally.homeWinsOvertime = 1;
    tally.ties = 1;
    const OddsFigures figures = oddsFigures(tally, 2.0, std::nullopt);
    EXPECT_DOUBLE_EQ(figures.over[0], 0.75); // above 4.5: 6, 6 and 20 goals
    EXPECT_DOUBLE_EQ(figures.over[2], 0.25);
    EXPECT_DOUBLE_EQ(figures.visitorByTwo, 0.5);
    EXPECT_DOUBLE_EQ(figures.homeByTwo, 0.25);
    EXPECT_NEAR(figures.visitorTwoWay, 2.0 / 3, 1e-12);
    EXPECT_NEAR(*figures.visitorEdge, 0.5 - 0.25, 1e-12);
    EXPECT_FALSE(figures.homeEdge);
}

} // namespace
} // namespace zelkor
