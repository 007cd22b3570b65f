#include "season/Backtest.h"

#include "odds/ManySeries.h"
#include "odds/OddsFigures.h"

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

BacktestReport runBacktest(const std::vector<ResultRow>& results, int series, std::uint64_t seed,
                           const GameOddsEngine& engine,
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

    std::vector<Forecast> bookmaker;
    std::vector<Forecast> modelWithOdds;
    std::vector<GameOutcome> outcomesWithOdds;
    std::vector<std::optional<GameOdds>> odds;
    for (std::size_t index = 0; index < results.size(); ++index) {
        odds.push_back(results[index].odds);
        if (!results[index].odds) {
            continue;
        }
        const double home =
            devigHomeProbability(results[index].odds->visitor, results[index].odds->home);
        bookmaker.push_back({home, favouriteOf(home)});
        modelWithOdds.push_back(model[index]);
        outcomesWithOdds.push_back(outcomes[index]);
    }
    report.gamesWithOdds = static_cast<int>(bookmaker.size());
    if (!bookmaker.empty()) {
        report.bookmaker = scoreForecasts(bookmaker, outcomesWithOdds);
        report.modelWithOdds = scoreForecasts(modelWithOdds, outcomesWithOdds);
        report.flatStake = flatStakeReturn(model, outcomes, odds);
    }
    return report;
}

} // namespace zelkor
