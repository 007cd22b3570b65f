#include "season/Backtest.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelkor {
namespace {

BacktestGame played(double homeChance, Side winner, std::optional<GameOdds> odds) {
    BacktestGame game;
    game.result.odds = odds;
    game.forecast = {homeChance, favouriteOf(homeChance)};
    game.outcome = {winner, false};
    return game;
}

// Five games, the edges (chance x odds - 1) worked out by hand:
//  1. home 0.60 at 1.90: +0.14 (visitor 0.40 at 2.10: -0.16); the home side wins.
//  2. home 0.45, visitor 0.55 at 2.00: +0.10 (home -0.10); the home side wins.
//  3. home 0.70 at 1.55: +0.085 (visitor 0.30 at 2.60: -0.22); the visitor wins.
//  4. no odds.
//  5. 0.50 each at 2.20: +0.10 on both sides; a level game.
BacktestReport fiveGames() {
    BacktestReport report;
    report.games = {played(0.60, Side::Home, GameOdds{2.10, 1.90}),
                    played(0.45, Side::Home, GameOdds{2.00, 2.00}),
                    played(0.70, Side::Visitor, GameOdds{2.60, 1.55}),
                    played(0.80, Side::Home, std::nullopt),
                    played(0.50, Side::None, GameOdds{2.20, 2.20})};
    return report;
}

const std::vector<Forecast> HomeAlways(5, Forecast{0.55, Side::Home});

TEST(BacktestMarket, TheBookmakerAndEveryPredictorAreScoredOnTheGamesWithOddsAlone) {
    BacktestReport report = fiveGames();
    scoreMarket(report, HomeAlways, 0);
    EXPECT_EQ(report.gamesWithOdds, 4);
    ASSERT_TRUE(report.bookmaker && report.modelWithOdds && report.homeAlwaysWithOdds);
    EXPECT_EQ(report.bookmaker->games, 4);
    EXPECT_EQ(report.bookmaker->decidedGames, 3);
    // De-vigged home chances 2.1 / 4.0 = 0.525, 0.5 and 2.6 / 4.15; the third game's
    // visitor won.
    EXPECT_NEAR(*report.bookmaker->logLoss,
                -(std::log(0.525) + std::log(0.5) + std::log(1.55 / 4.15)) / 3, 1e-12);
    // The model's fourth game (0.80, no odds) is left out.
    EXPECT_NEAR(*report.modelWithOdds->logLoss,
                -(std::log(0.60) + std::log(0.45) + std::log(0.30)) / 3, 1e-12);
    EXPECT_NEAR(*report.homeAlwaysWithOdds->logLoss, -(2 * std::log(0.55) + std::log(0.45)) / 3,
                1e-12);
}

TEST(BacktestMarket, TheFlatStakeBetsOneUnitOnEachSideAboveTheLeastEdge) {
    struct Case {
        double minEdge;
        int bets;
        int won;
        int pushed;
        double profit;
    };
    // Every positive edge: games 1, 2, 3 and both sides of 5; 0.09: games 1, 2 and 5;
    // 0.12: game 1 alone.
    for (const Case& known :
         {Case{0, 5, 1, 2, 0.9 - 1 - 1}, Case{0.09, 4, 1, 2, 0.9 - 1}, Case{0.12, 1, 1, 0, 0.9}}) {
        SCOPED_TRACE(known.minEdge);
        BacktestReport report = fiveGames();
        scoreMarket(report, HomeAlways, known.minEdge);
        ASSERT_TRUE(report.flatStake);
        EXPECT_EQ(report.flatStake->bets, known.bets);
        EXPECT_EQ(report.flatStake->won, known.won);
        EXPECT_EQ(report.flatStake->pushed, known.pushed);
        EXPECT_NEAR(report.flatStake->profit, known.profit, 1e-12);
        EXPECT_DOUBLE_EQ(report.minEdge, known.minEdge);
    }
}

TEST(BacktestMarket, EdgeBandsCountTheBetsFromEachSizeUp) {
    BacktestReport report = fiveGames();
    scoreMarket(report, HomeAlways, 0);
    ASSERT_EQ(report.edgeBands.size(), static_cast<std::size_t>(EdgeBandSteps));
    EXPECT_EQ(report.edgeBands[0].stake.bets, 5);
    EXPECT_EQ(report.edgeBands[8].stake.bets, 5); // game 3's edge of 8.5 % is above 8 %
    EXPECT_EQ(report.edgeBands[9].stake.bets, 4); // but not above 9 %
    EXPECT_DOUBLE_EQ(report.edgeBands[9].from, 0.09);
}

TEST(BacktestMarket, NoOddsNoMarket) {
    BacktestReport report;
    report.games = {played(0.6, Side::Home, std::nullopt)};
    scoreMarket(report, {Forecast{0.55, Side::Home}}, 0);
    EXPECT_EQ(report.gamesWithOdds, 0);
    EXPECT_FALSE(report.bookmaker);
    EXPECT_FALSE(report.flatStake);
    EXPECT_TRUE(report.edgeBands.empty());
}

TEST(BacktestMarket, ThePayingEdgeIsTheFirstBandWithAProfitOverEnoughBets) {
    const auto band = [](double from, int bets, double profit) {
        return EdgeBand{from, FlatStake{bets, 0, 0, profit}};
    };
    EXPECT_EQ(
        payingEdge({band(0, 100, -5), band(0.01, 80, -1), band(0.02, 50, 3), band(0.03, 40, -2)}),
        0.02);
    // A profit over fewer bets than FewestBandBets is noise.
    EXPECT_EQ(payingEdge({band(0, 100, -5), band(0.01, FewestBandBets - 1, 4)}), std::nullopt);
    EXPECT_EQ(payingEdge({band(0, FewestBandBets, 0.5)}), 0.0);
    EXPECT_EQ(payingEdge({band(0, 100, 0)}), std::nullopt);
}

} // namespace
} // namespace zelkor
