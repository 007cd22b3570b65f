#include "season/Backtest.h"

#include "odds/ManySeries.h"
#include "odds/OddsFigures.h"

#include <algorithm>

namespace zelkor {

Forecast forecastOf(const GameCounts& counts) {
    Forecast forecast;
    if (counts.games > 0) {
        forecast.homeProbability = (counts.homeWins + 0.5 * counts.level) / counts.games;
    }
    forecast.pick = counts.homeWins > counts.visitorWins   ? Side::Home
                    : counts.visitorWins > counts.homeWins ? Side::Visitor
                                                           : Side::None;
    return forecast;
}

GameOutcome outcomeOf(const ResultRow& row) {
    GameOutcome outcome;
    outcome.winner = row.homeGoals > row.visitorGoals   ? Side::Home
                     : row.visitorGoals > row.homeGoals ? Side::Visitor
                                                        : Side::None;
    outcome.shootout = row.end == GameEnd::Shootout;
    return outcome;
}

ForecastFigures scoreOnGamesWithOdds(const BacktestReport& report,
                                     const std::vector<Forecast>& forecasts) {
    std::vector<Forecast> kept;
    std::vector<GameOutcome> outcomes;
    for (std::size_t index = 0; index < report.games.size() && index < forecasts.size(); ++index) {
        if (report.games[index].result.odds) {
            kept.push_back(forecasts[index]);
            outcomes.push_back(report.games[index].outcome);
        }
    }
    return scoreForecasts(kept, outcomes);
}

void scoreMarket(BacktestReport& report, const std::vector<Forecast>& homeAlways, double minEdge) {
    std::vector<Forecast> model;
    std::vector<Forecast> bookmaker;
    std::vector<GameOutcome> outcomes;
    std::vector<std::optional<GameOdds>> odds;
    for (const BacktestGame& game : report.games) {
        model.push_back(game.forecast);
        outcomes.push_back(game.outcome);
        odds.push_back(game.result.odds);
        const double home = game.result.odds ? devigHomeProbability(game.result.odds->visitor,
                                                                    game.result.odds->home)
                                             : 0.5;
        bookmaker.push_back({home, favouriteOf(home)});
    }
    report.minEdge = minEdge;
    report.gamesWithOdds = static_cast<int>(
        std::count_if(odds.begin(), odds.end(), [](const auto& game) { return game.has_value(); }));
    if (report.gamesWithOdds == 0) {
        return;
    }
    report.bookmaker = scoreOnGamesWithOdds(report, bookmaker);
    report.modelWithOdds = scoreOnGamesWithOdds(report, model);
    report.homeAlwaysWithOdds = scoreOnGamesWithOdds(report, homeAlways);
    report.flatStake = flatStakeReturn(model, outcomes, odds, minEdge);
    report.edgeBands = edgeBands(model, outcomes, odds);
}

BacktestReport runBacktest(const std::vector<ResultRow>& results, int series, std::uint64_t seed,
                           const GameOddsEngine& engine, double minEdge,
                           const std::function<void(int, int)>& progress) {
    BacktestReport report;
    report.series = series;
    report.seed = seed;
    std::vector<Forecast> model;
    std::vector<GameOutcome> outcomes;
    int homeWins = 0;
    int decided = 0;
    for (std::size_t index = 0; index < results.size(); ++index) {
        const ResultRow& row = results[index];
        BacktestGame game{row, seriesSeed(seed, index), {}, {}, outcomeOf(row)};
        game.counts =
            engine({row.visitor, row.home, row.visitorGaa, row.homeGaa, series, game.seed});
        if (game.counts.games <= 0) {
            throw ZelkorError("The model played no game of " + row.visitor + " at " + row.home +
                              " (line " + std::to_string(row.line) + ").");
        }
        game.forecast = forecastOf(game.counts);
        model.push_back(game.forecast);
        outcomes.push_back(game.outcome);
        homeWins += game.outcome.winner == Side::Home ? 1 : 0;
        decided += game.outcome.winner == Side::None ? 0 : 1;
        report.games.push_back(std::move(game));
        if (progress) {
            progress(static_cast<int>(index + 1), static_cast<int>(results.size()));
        }
    }
    report.model = scoreForecasts(model, outcomes);

    report.homeShare = decided > 0 ? static_cast<double>(homeWins) / decided : 0.5;
    report.homeAlways = scoreForecasts(
        std::vector<Forecast>(results.size(), Forecast{report.homeShare, Side::Home}), outcomes);

    scoreMarket(report,
                std::vector<Forecast>(results.size(), Forecast{report.homeShare, Side::Home}),
                minEdge);
    return report;
}

} // namespace zelkor
