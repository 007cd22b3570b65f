#pragma once

#include "core/Arithmetic.h"
#include "season/BacktestMetrics.h"
#include "season/ResultsFile.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelkor {

// What the model is asked about one game.
struct OddsRequest {
    std::string visitor;
    std::string home;
    Single visitorGaa = 0;
    Single homeGaa = 0;
    int series = 0;         ///< series of 11 games to play
    std::uint64_t seed = 0; ///< the game's seed; the series' seeds derive from it
};

// How the games of those series ended.
struct GameCounts {
    int visitorWins = 0;
    int homeWins = 0;
    int level = 0;
    int games = 0;
};

// The model's many-series odds of a game. Throws ZelkorError when they cannot be had.
using GameOddsEngine = std::function<GameCounts(const OddsRequest&)>;

// The model's prediction from its counts: the home team's chance with level games shared
// equally (a shootout is near a coin toss), the pick by more wins.
Forecast forecastOf(const GameCounts& counts);

// A result's winner by its score; a shootout by its end.
GameOutcome outcomeOf(const ResultRow& row);

// One game of a backtest.
struct BacktestGame {
    ResultRow result;
    std::uint64_t seed = 0;
    GameCounts counts;
    Forecast forecast;
    GameOutcome outcome;
};

// Every figure of a backtest.
struct BacktestReport {
    int series = 0;
    std::uint64_t seed = 0;
    std::vector<BacktestGame> games;
    ForecastFigures model;
    ForecastFigures homeAlways; ///< the home team picked at the season's share of home wins
    double homeShare = 0;       ///< that share, over the games with a winner
    int gamesWithOdds = 0;
    std::optional<ForecastFigures> bookmaker;          ///< de-vigged odds, over the games with odds
    std::optional<ForecastFigures> modelWithOdds;      ///< the model over the same games
    std::optional<ForecastFigures> homeAlwaysWithOdds; ///< always-home over the same games
    std::optional<FlatStake> flatStake;                ///< bets on the edges above minEdge
    double minEdge = 0;
    std::vector<EdgeBand> edgeBands; ///< bets on the edges from each EdgeBandSteps size up
};

// The market's figures of a backtest whose games are scored already: the bookmaker's
// de-vigged chances over the games with odds, the model and always-home (homeAlways, a
// forecast per game) over the same games, the flat stake on the model's edges above
// minEdge, and the edge bands.
void scoreMarket(BacktestReport& report, const std::vector<Forecast>& homeAlways, double minEdge);

// The figures of forecasts (one per game of the report) over the games with odds alone.
ForecastFigures scoreOnGamesWithOdds(const BacktestReport& report,
                                     const std::vector<Forecast>& forecasts);

// Asks the engine about every game (game i with seriesSeed(seed, i), as series i of a
// many-series run), calling progress(done, total) after each, and scores the model and
// the baselines.
BacktestReport runBacktest(const std::vector<ResultRow>& results, int series, std::uint64_t seed,
                           const GameOddsEngine& engine, double minEdge = 0,
                           const std::function<void(int, int)>& progress = {});

} // namespace zelkor
