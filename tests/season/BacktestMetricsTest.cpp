#include "season/BacktestMetrics.h"

#include "core/Errors.h"
#include "odds/ManySeries.h"
#include "season/Backtest.h"
#include "support/SeasonRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <vector>

namespace zelkor {
namespace {

using testing::gameRow;

TEST(BacktestMetrics, FavouriteIsTheSideAboveOneHalfAndNoneAtIt) {
    EXPECT_EQ(favouriteOf(0.5), Side::None);
    EXPECT_EQ(favouriteOf(0.5000001), Side::Home);
    EXPECT_EQ(favouriteOf(0.4999999), Side::Visitor);
    EXPECT_EQ(favouriteOf(1.0), Side::Home);
    EXPECT_EQ(favouriteOf(0.0), Side::Visitor);
}

// The favourite's chance decides the bin, its win the observed share; the two differ.
TEST(BacktestMetrics, CalibrationBinHoldsTheFavouritesMeanChanceAndItsShareOfWins) {
    const std::vector<Forecast> forecasts = {
        {0.62, Side::Home},    // home favoured, won
        {0.36, Side::Visitor}, // visitors favoured at 0.64, lost
        {0.61, Side::Home},    // home favoured, lost
        {0.65, Side::Home},    // on the edge: the bin it starts
        {0.5, Side::None},     // the home side stands as favourite, lost
        {1.0, Side::Home},     // the last bin is closed
        {0.05, Side::Visitor}, // visitors at 0.95, won
        {0.9, Side::Home},     // a level game is in no bin
    };
    const std::vector<GameOutcome> outcomes = {
        {Side::Home, false},    {Side::Home, false}, {Side::Visitor, false}, {Side::Home, false},
        {Side::Visitor, false}, {Side::Home, false}, {Side::Visitor, false}, {Side::None, false},
    };
    const ForecastFigures figures = scoreForecasts(forecasts, outcomes);
    EXPECT_EQ(figures.games, 8);
    EXPECT_EQ(figures.decidedGames, 7);
    const auto& bins = figures.calibration;
    EXPECT_DOUBLE_EQ(bins[0].low, 0.5);
    EXPECT_DOUBLE_EQ(bins[0].high, 0.55);
    EXPECT_DOUBLE_EQ(bins[9].low, 0.95);
    EXPECT_DOUBLE_EQ(bins[9].high, 1.0);

    EXPECT_EQ(bins[2].games, 3);
    EXPECT_NEAR(bins[2].predicted, (0.62 + 0.64 + 0.61) / 3, 1e-12);
    EXPECT_NEAR(bins[2].observed, 1.0 / 3, 1e-12);
    EXPECT_EQ(bins[3].games, 1);
    EXPECT_NEAR(bins[3].predicted, 0.65, 1e-12);
    EXPECT_DOUBLE_EQ(bins[3].observed, 1.0);
    EXPECT_EQ(bins[0].games, 1);
    EXPECT_DOUBLE_EQ(bins[0].predicted, 0.5);
    EXPECT_DOUBLE_EQ(bins[0].observed, 0.0);
    EXPECT_EQ(bins[9].games, 2);
    EXPECT_NEAR(bins[9].predicted, 0.975, 1e-12);
    EXPECT_DOUBLE_EQ(bins[9].observed, 1.0);
    int binned = 0;
    for (const CalibrationBin& bin : bins) {
        binned += bin.games;
    }
    EXPECT_EQ(binned, 7);
}

TEST(BacktestMetrics, ScoresUnevenForecastsAsWorkedOut) {
    const std::vector<Forecast> forecasts = {
        {0.8, Side::Home}, {0.3, Side::Visitor}, {0.6, Side::Home}, {0.45, Side::Visitor}};
    const std::vector<GameOutcome> outcomes = {
        {Side::Home, false}, {Side::Home, false}, {Side::Visitor, true}, {Side::Visitor, false}};
    const ForecastFigures figures = scoreForecasts(forecasts, outcomes);
    // Right on 1 and 4, wrong on 2; 3 is a shootout.
    EXPECT_EQ(figures.levelAndShootoutPushes.counted, 3);
    EXPECT_EQ(figures.levelAndShootoutPushes.correct, 2);
    EXPECT_EQ(figures.levelAndShootoutPushes.pushes, 1);
    EXPECT_NEAR(*figures.levelAndShootoutPushes.rate(), 2.0 / 3, 1e-12);
    EXPECT_EQ(figures.shootoutsForWinner.counted, 4);
    EXPECT_EQ(figures.shootoutsForWinner.correct, 2);
    EXPECT_NEAR(*figures.logLoss,
                -(std::log(0.8) + std::log(0.3) + std::log(0.4) + std::log(0.55)) / 4, 1e-12);
    EXPECT_NEAR(*figures.brier, (0.04 + 0.49 + 0.36 + 0.2025) / 4, 1e-12);

    // A level game counts in the games but not in the means over the decided ones.
    const ForecastFigures oneLevel = scoreForecasts({{0.7, Side::Home}, {0.4, Side::Visitor}},
                                                    {{Side::Home, false}, {Side::None, false}});
    EXPECT_EQ(oneLevel.games, 2);
    EXPECT_EQ(oneLevel.decidedGames, 1);
    EXPECT_NEAR(*oneLevel.logLoss, -std::log(0.7), 1e-12);
    EXPECT_NEAR(*oneLevel.brier, 0.09, 1e-12);

    const ForecastFigures none = scoreForecasts({{0.7, Side::Home}}, {{Side::None, false}});
    EXPECT_EQ(none.decidedGames, 0);
    EXPECT_FALSE(none.logLoss);
    EXPECT_FALSE(none.brier);
    EXPECT_FALSE(none.levelAndShootoutPushes.rate());
}

TEST(BacktestMetrics, DevigTakesEachSidesChanceFromItsOwnOdds) {
    EXPECT_NEAR(devigHomeProbability(3.0, 1.5), 2.0 / 3, 1e-12);
    EXPECT_NEAR(devigHomeProbability(1.5, 3.0), 1.0 / 3, 1e-12);
    // A margin of 5 % on both sides is taken out in proportion.
    EXPECT_NEAR(devigHomeProbability(1 / (0.4 * 1.05), 1 / (0.6 * 1.05)), 0.6, 1e-12);
}

// A bet on each side won, one lost, one pushed, and an edge of exactly nothing left alone.
TEST(BacktestMetrics, FlatStakePaysEachSideAtItsOwnOdds) {
    const std::vector<Forecast> forecasts = {
        {0.6, Side::Home}, // home 0.6 x 2.0 = 1.2: bet, won +1.0
        {0.3, Side::Home}, // visitors 0.7 x 1.6 = 1.12: bet, won +0.6
        {0.5, Side::None}, // home 0.5 x 2.0 = 1.0 exactly: no bet
        {0.8, Side::Home}, // both sides 1.2: two bets, home lost -1, visitors won +5
        {0.7, Side::Home}, // home 1.12 on a level game: pushed
        {0.6, Side::Home}, // home 1.2, visitors won: -1
        {0.9, Side::Home}, // no odds: no bet
    };
    const std::vector<GameOutcome> outcomes = {
        {Side::Home, false}, {Side::Visitor, false}, {Side::Home, false}, {Side::Visitor, false},
        {Side::None, false}, {Side::Visitor, true},  {Side::Home, false},
    };
    const std::vector<std::optional<GameOdds>> odds = {
        GameOdds{2.2, 2.0}, GameOdds{1.6, 2.5}, GameOdds{1.8, 2.0}, GameOdds{6.0, 1.5},
        GameOdds{3.0, 1.6}, GameOdds{1.7, 2.0}, std::nullopt,
    };
    const FlatStake stake = flatStakeReturn(forecasts, outcomes, odds);
    EXPECT_EQ(stake.bets, 6);
    EXPECT_EQ(stake.won, 3);
    EXPECT_EQ(stake.pushed, 1);
    EXPECT_NEAR(stake.profit, 1.0 + 0.6 - 1.0 + 5.0 - 1.0, 1e-12);
    EXPECT_NEAR(*stake.returnOnStake(), 4.6 / 6, 1e-12);
    EXPECT_FALSE(flatStakeReturn(forecasts, outcomes, {}).returnOnStake());
}

TEST(Backtest, ForecastSharesLevelGamesAndPicksTheSideWithMoreWins) {
    const struct {
        GameCounts counts;
        double home;
        Side pick;
    } cases[] = {
        {{3, 5, 2, 10}, 0.6, Side::Home},
        {{6, 2, 2, 10}, 0.3, Side::Visitor},
        {{4, 4, 2, 10}, 0.5, Side::None},
        {{0, 0, 0, 0}, 0.5, Side::None},
    };
    for (const auto& c : cases) {
        const Forecast forecast = forecastOf(c.counts);
        EXPECT_NEAR(forecast.homeProbability, c.home, 1e-12) << c.counts.visitorWins;
        EXPECT_EQ(forecast.pick, c.pick) << c.counts.visitorWins;
    }
}

TEST(Backtest, OutcomeIsTheScoresWinnerAndTheShootoutAsTheResultSays) {
    const GameOutcome homeShootout = outcomeOf(gameRow("d", "BOS", "TOR", 2, 3, GameEnd::Shootout));
    EXPECT_EQ(homeShootout.winner, Side::Home);
    EXPECT_TRUE(homeShootout.shootout);
    const GameOutcome visitorOvertime =
        outcomeOf(gameRow("d", "BOS", "TOR", 4, 3, GameEnd::Overtime));
    EXPECT_EQ(visitorOvertime.winner, Side::Visitor);
    EXPECT_FALSE(visitorOvertime.shootout);
    const GameOutcome level = outcomeOf(gameRow("d", "BOS", "TOR", 2, 2, GameEnd::Tie));
    EXPECT_EQ(level.winner, Side::None);
    EXPECT_FALSE(level.shootout);
}

// Four games, uneven: the engine's counts by pairing, odds on two games.
TEST(Backtest, ScoresTheModelTheHomeShareAndTheBookmakerGameByGame) {
    std::vector<ResultRow> games = {
        gameRow("2024-10-01", "BOS", "TOR", 1, 3, GameEnd::Regulation, 2.5f, 3.1f, 2),
        gameRow("2024-10-02", "TOR", "MON", 4, 2, GameEnd::Regulation, 2.9f, 2.6f, 3),
        gameRow("2024-10-03", "MON", "BOS", 2, 3, GameEnd::Shootout, 3.3f, 2.4f, 4),
        gameRow("2024-10-04", "BOS", "MON", 2, 2, GameEnd::Tie, 2.7f, 2.2f, 5),
    };
    games[0].odds = GameOdds{3.0, 1.5};
    games[1].odds = GameOdds{2.0, 2.0};
    const std::map<std::string, GameCounts> counts = {
        {"BOS@TOR", {2, 6, 2, 10}}, // 0.7
        {"TOR@MON", {5, 3, 2, 10}}, // 0.4
        {"MON@BOS", {1, 8, 1, 10}}, // 0.85
        {"BOS@MON", {4, 4, 2, 10}}, // 0.5
    };
    std::vector<OddsRequest> asked;
    const GameOddsEngine engine = [&](const OddsRequest& request) {
        asked.push_back(request);
        return counts.at(request.visitor + "@" + request.home);
    };
    std::vector<std::pair<int, int>> progress;
    const BacktestReport report = runBacktest(
        games, 12, 77, engine, 0, [&](int done, int total) { progress.emplace_back(done, total); });
    ASSERT_EQ(asked.size(), 4u);
    for (std::size_t index = 0; index < asked.size(); ++index) {
        EXPECT_EQ(asked[index].visitor, games[index].visitor);
        EXPECT_EQ(asked[index].home, games[index].home);
        EXPECT_EQ(asked[index].visitorGaa, games[index].visitorGaa);
        EXPECT_EQ(asked[index].homeGaa, games[index].homeGaa);
        EXPECT_EQ(asked[index].series, 12);
        EXPECT_EQ(asked[index].seed, seriesSeed(77, index));
        EXPECT_EQ(report.games[index].seed, seriesSeed(77, index));
    }
    EXPECT_EQ(progress.back(), std::make_pair(4, 4));

    // Home won 2 of the 3 decided games.
    EXPECT_NEAR(report.homeShare, 2.0 / 3, 1e-12);
    EXPECT_NEAR(*report.homeAlways.brier, (1.0 / 9 + 4.0 / 9 + 1.0 / 9) / 3, 1e-12);
    EXPECT_NEAR(*report.model.brier, (0.09 + 0.16 + 0.0225) / 3, 1e-12);
    EXPECT_EQ(report.model.levelAndShootoutPushes.counted, 2);
    EXPECT_EQ(report.model.levelAndShootoutPushes.correct, 2);
    EXPECT_EQ(report.model.shootoutsForWinner.counted, 3);

    // The bookmaker: 2/3 for the home side of the first game, one half for the second's.
    EXPECT_EQ(report.gamesWithOdds, 2);
    ASSERT_TRUE(report.bookmaker);
    EXPECT_NEAR(*report.bookmaker->brier, (1.0 / 9 + 0.25) / 2, 1e-12);
    ASSERT_TRUE(report.modelWithOdds);
    EXPECT_NEAR(*report.modelWithOdds->brier, (0.09 + 0.16) / 2, 1e-12);
    // Model 0.7 x 1.5 = 1.05 on the first home side (won +0.5); 0.6 x 2.0 = 1.2 on the
    // second's visitors (won +1.0).
    ASSERT_TRUE(report.flatStake);
    EXPECT_EQ(report.flatStake->bets, 2);
    EXPECT_EQ(report.flatStake->won, 2);
    EXPECT_NEAR(report.flatStake->profit, 1.5, 1e-12);

    games[0].odds.reset();
    games[1].odds.reset();
    const BacktestReport withoutOdds = runBacktest(games, 12, 77, engine);
    EXPECT_FALSE(withoutOdds.bookmaker);
    EXPECT_FALSE(withoutOdds.flatStake);
}

TEST(Backtest, EngineThatPlayedNoGameIsNamedWithTheLine) {
    const std::vector<ResultRow> games = {
        gameRow("2024-10-01", "BOS", "TOR", 1, 3, GameEnd::Regulation, 2.5f, 3.1f, 7)};
    try {
        runBacktest(games, 1, 1, [](const OddsRequest&) { return GameCounts{}; });
        ADD_FAILURE() << "no games were taken";
    } catch (const ZelkorError& error) {
        EXPECT_NE(std::string(error.what()).find("BOS at TOR (line 7)"), std::string::npos)
            << error.what();
    }
}

} // namespace
} // namespace zelkor
