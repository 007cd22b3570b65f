#include "odds/OddsFigures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

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
    } offered[] = {{"2.10", 2.1},
                   {"+150", 2.5},
                   {"-200", 1.5},
                   {"+100", 2.0},
                   {"150", 2.5},
                   {"-120", 1 + 100.0 / 120},
                   {"1", std::nullopt},
                   {"1.0", std::nullopt},
                   {"-50", std::nullopt},
                   {"abc", std::nullopt},
                   {"", std::nullopt},
                   // A decimal point makes decimal odds, whatever the size; a whole number
                   // from 100 on is American, below it decimal.
                   {"500.0", 500.0},
                   {"100.", 100.0},
                   {"150", 2.5},
                   {"3", 3.0},
                   {"99", 99.0},
                   {"1000.0", 1000.0},
                   {"1000.5", std::nullopt},
                   {"1e3", std::nullopt},
                   {"2.1.0", std::nullopt},
                   {"+150.0", 2.5}};
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
    tally.games = 5;
    tally.scoreGrid[3][1] = 2; // 4 goals, visitor by 2, twice
    tally.scoreGrid[2][4] = 1; // 6 goals, home by 2
    tally.scoreGrid[3][3] = 1; // level
    tally.otherScores[{20, 0}] = 1;
    tally.visitorWinsRegulation = 3;
    tally.homeWinsOvertime = 1;
    tally.ties = 1;
    OddsFigures figures = oddsFigures(tally, 2.0, std::nullopt);
    EXPECT_DOUBLE_EQ(figures.over[0], 0.6); // above 4.5: 6, 6 and 20 goals
    EXPECT_DOUBLE_EQ(figures.over[2], 0.2);
    EXPECT_DOUBLE_EQ(figures.visitorByTwo, 0.6);
    EXPECT_DOUBLE_EQ(figures.homeByTwo, 0.2);
    EXPECT_NEAR(figures.visitorTwoWay, 0.75, 1e-12);
    EXPECT_NEAR(*figures.visitorEdge, 0.6 - 0.2, 1e-12);
    EXPECT_FALSE(figures.homeEdge);
    // The 20-0 and the two 3-1 games in the cells at the grid's edge and inside it.
    EXPECT_DOUBLE_EQ(figures.scoreGrid[ScoreGridGoals - 1][0], 0.2);
    EXPECT_DOUBLE_EQ(figures.scoreGrid[3][1], 0.4);

    // The home side: level games count as pushes, for its chance and at its odds.
    figures = oddsFigures(tally, std::nullopt, 5.0);
    EXPECT_NEAR(figures.homeTwoWay, 0.25, 1e-12);
    EXPECT_NEAR(figures.homeFair->decimal, 4.0, 1e-12);
    EXPECT_NEAR(figures.homeFair->american, 300.0, 1e-9);
    EXPECT_NEAR(*figures.homeEdge, 0.2 * 4 - 0.6, 1e-12);
}

// Money lines most frequent first, their favourite as a side; scorers by goals, equal
// goals in roster order.
TEST(OddsFigures, ShownInOneOrder) {
    OddsTally tally;
    tally.visitor = "BOS";
    tally.home = "TOR";
    tally.series = 10;
    tally.games = 110;
    tally.moneyLines[size_t(Favourite::Home)][14] = 3;
    tally.moneyLines[size_t(Favourite::Visitor)][16] = 3;
    tally.moneyLines[size_t(Favourite::Neither)][11] = 4;
    tally.visitorPlayers[4].goals = 9;
    tally.visitorPlayers[4].gamesWithGoal = 5;
    tally.visitorPlayers[2].goals = 7;
    tally.visitorPlayers[2].gamesWithGoal = 7;
    tally.visitorPlayers[7].goals = 7;
    tally.visitorPlayers[7].gamesWithGoal = 6;
    const OddsFigures figures = oddsFigures(tally);

    ASSERT_EQ(figures.moneyLines.size(), 3U);
    EXPECT_EQ(figures.moneyLines[0].favourite, Favourite::Neither);
    EXPECT_DOUBLE_EQ(figures.moneyLines[0].share, 0.4);
    EXPECT_EQ(moneyLineCaption(figures.moneyLines[1], tally, ","), "BOS  1,38");
    EXPECT_EQ(figures.moneyLines[2].favourite, Favourite::Home);
    EXPECT_EQ(figures.moneyLines[2].moneyCents, 157);

    const auto& scorers = figures.visitorScorers;
    EXPECT_EQ(scorers[0].row, 4U);
    EXPECT_EQ(scorers[1].row, 2U);
    EXPECT_EQ(scorers[2].row, 7U);
    EXPECT_EQ(scorers[3].row, 0U);
    EXPECT_NEAR(scorers[1].goalsPerGame, 7.0 / 110, 1e-15);
    EXPECT_NEAR(scorers[1].anytime, 7.0 / 110, 1e-15);
    EXPECT_EQ(twoGoalMarginName("BOS"), "BOS wins by 2 or more");
}

// Ten games worked out by hand: each market's lines in order, with fair odds and edges.
TEST(OddsFigures, BettingLinesOfEachMarketInOrder) {
    OddsTally tally;
    tally.visitor = "BOS";
    tally.home = "TOR";
    tally.games = 10;
    tally.visitorWinsRegulation = 4;
    tally.homeWinsRegulation = 3;
    tally.visitorWinsOvertime = 1;
    tally.homeWinsOvertime = 2;
    tally.scoreGrid[3][1] = 3; // visitor by 2, 4 goals
    tally.scoreGrid[5][0] = 1; // visitor by 5, 5 goals
    tally.scoreGrid[1][3] = 2; // home by 2, 4 goals
    tally.scoreGrid[2][6] = 1; // home by 4, 8 goals
    tally.scoreGrid[3][2] = 1; // visitor by 1 in overtime
    tally.scoreGrid[2][3] = 2; // home by 1 in overtime
    std::vector<std::optional<double>> offered(BettingLineCount);
    offered[1] = 4.0;  // the draw
    offered[10] = 1.8; // TOR +1.5
    const std::vector<BettingLine> lines = bettingLines(tally, offered);
    ASSERT_EQ(lines.size(), BettingLineCount);

    const struct {
        const char* name;
        LineSide side;
        double chance;
    } expected[] = {
        {"BOS", LineSide::Visitor, 0.4},       {"Draw", LineSide::Neither, 0.3},
        {"TOR", LineSide::Home, 0.3},          {"Over 4.5", LineSide::Neither, 0.5},
        {"Under 4.5", LineSide::Neither, 0.5}, {"Over 5.5", LineSide::Neither, 0.1},
        {"Under 5.5", LineSide::Neither, 0.9}, {"Over 6.5", LineSide::Neither, 0.1},
        {"Under 6.5", LineSide::Neither, 0.9}, {"BOS -1.5", LineSide::Visitor, 0.4},
        {"TOR +1.5", LineSide::Home, 0.6},     {"TOR -1.5", LineSide::Home, 0.3},
        {"BOS +1.5", LineSide::Visitor, 0.7},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].name, expected[i].name) << i;
        EXPECT_EQ(lines[i].side, expected[i].side) << lines[i].name;
        EXPECT_NEAR(lines[i].chance, expected[i].chance, 1e-12) << lines[i].name;
        ASSERT_TRUE(lines[i].fair) << lines[i].name;
        EXPECT_NEAR(lines[i].fair->decimal, 1 / expected[i].chance, 1e-9) << lines[i].name;
    }
    EXPECT_EQ(lines[0].market, "Regulation time, three-way");
    EXPECT_EQ(lines[3].market, "Total goals");
    EXPECT_EQ(lines[12].market, "Puck line");
    EXPECT_NEAR(lines[6].fair->american, -900, 1e-6);
    EXPECT_NEAR(lines[11].fair->american, 1 / 0.3 * 100 - 100, 1e-6);
    // No line pushes: what is not won is lost.
    EXPECT_NEAR(*lines[1].edge, 0.3 * 3 - 0.7, 1e-12);
    EXPECT_NEAR(*lines[10].edge, 0.6 * 0.8 - 0.4, 1e-12);
    EXPECT_FALSE(lines[0].edge);

    // Before any game: no chances, so no prices and no edges.
    tally = OddsTally{};
    for (const BettingLine& line : bettingLines(tally, offered)) {
        EXPECT_EQ(line.chance, 0) << line.name;
        EXPECT_FALSE(line.fair || line.edge) << line.name;
    }
    // A scorer who scores in every game has no price; one in four games, 4.00 or +300.
    EXPECT_FALSE(anytimeScorerOdds({0, 1.2, 1.0}));
    EXPECT_NEAR(anytimeScorerOdds({0, 0.3, 0.25})->american, 300, 1e-9);
}

} // namespace
} // namespace zelkor
