#include "season/WalkForward.h"

#include "core/Errors.h"
#include "odds/ManySeries.h"
#include "season/GaaFromResults.h"

#include <algorithm>
#include <numeric>
#include <set>

namespace zelkor {

WalkForwardReport runWalkForward(const std::vector<ResultRow>& games,
                                 const std::map<std::string, TeamScoring>& scoring,
                                 const std::filesystem::path& rosterFolder,
                                 const WalkForwardOptions& options, const RatedOddsEngine& engine,
                                 const std::function<void(int, int)>& progress) {
    WalkForwardReport report;
    report.eloParameters = options.elo;
    report.eloCarried = !options.eloStart.empty();
    report.backtest.series = options.series;
    report.backtest.seed = options.seed;
    std::vector<std::size_t> order(games.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return games[a].date < games[b].date; });

    std::vector<ResultRow> before;
    std::vector<std::string> clubs;
    for (const auto& [code, team] : scoring) {
        clubs.push_back(code);
    }
    EloRatings elo = options.eloStart;
    const auto eloOf = [&](const std::string& code) {
        return elo.try_emplace(code, options.elo.start).first->second;
    };
    std::vector<BacktestGame> played(games.size());
    std::vector<double> eloChance(games.size(), 0.5);
    std::vector<double> homeShare(games.size(), 0.5);
    int homeWins = 0;
    int decided = 0;
    int done = 0;
    std::set<std::string> newClubs;
    for (std::size_t first = 0; first < order.size();) {
        std::size_t last = first;
        while (last < order.size() && games[order[last]].date == games[order[first]].date) {
            ++last;
        }
        // 1. The ratings from the games before the day.
        FitOptions fitOptions = options.fit;
        fitOptions.venueGames = ForecastVenueGames;
        if (options.gaaFromResults) {
            fitOptions.gaa = gaaFromResults(before, clubs, options.fit.defaultGaa);
        }
        RatingsFit fit = fitRatings(before, scoring, rosterFolder, fitOptions);
        newClubs.insert(fit.newClubs.begin(), fit.newClubs.end());
        const auto table = std::make_shared<const RatingTable>(fit.table);
        const double share = (homeWins + HomeSharePriorGames / 2) / (decided + HomeSharePriorGames);
        // 2. The day's forecasts, all from the state before the day.
        for (std::size_t position = first; position < last; ++position) {
            const std::size_t index = order[position];
            const ResultRow& row = games[index];
            BacktestGame game{row, seriesSeed(options.seed, index), {}, {}, outcomeOf(row)};
            // The goalies as the fit took them.
            const Single visitorGaa = goalieGaa(fitOptions, row.visitor, row.visitorGaa);
            const Single homeGaa = goalieGaa(fitOptions, row.home, row.homeGaa);
            game.result.visitorGaa = visitorGaa;
            game.result.homeGaa = homeGaa;
            game.counts = engine(
                {row.visitor, row.home, visitorGaa, homeGaa, options.series, game.seed}, table);
            if (game.counts.games <= 0) {
                throw ZelkorError("The model played no game of " + row.visitor + " at " + row.home +
                                  " (line " + std::to_string(row.line) + ").");
            }
            game.forecast = forecastOf(game.counts);
            played[index] = std::move(game);
            eloChance[index] = eloHomeProbability(eloOf(row.home), eloOf(row.visitor), options.elo);
            homeShare[index] = share;
            if (progress) {
                progress(++done, static_cast<int>(games.size()));
            }
        }
        // 3. The day's results enter the state.
        for (std::size_t position = first; position < last; ++position) {
            const ResultRow& row = games[order[position]];
            const double change = eloHomeChange(eloOf(row.home), eloOf(row.visitor), row.homeGoals,
                                                row.visitorGoals, options.elo);
            elo[row.home] += change;
            elo[row.visitor] -= change;
            const GameOutcome outcome = outcomeOf(row);
            homeWins += outcome.winner == Side::Home ? 1 : 0;
            decided += outcome.winner == Side::None ? 0 : 1;
            before.push_back(row);
        }
        report.lastFit = std::move(fit);
        ++report.gameDays;
        first = last;
    }

    std::vector<Forecast> model;
    std::vector<Forecast> home;
    std::vector<Forecast> coin;
    std::vector<Forecast> eloForecasts;
    std::vector<GameOutcome> outcomes;
    for (std::size_t index = 0; index < games.size(); ++index) {
        model.push_back(played[index].forecast);
        home.push_back({homeShare[index], Side::Home});
        coin.push_back({0.5, Side::None});
        eloForecasts.push_back({eloChance[index], favouriteOf(eloChance[index])});
        outcomes.push_back(played[index].outcome);
    }
    report.backtest.games = std::move(played);
    report.backtest.model = scoreForecasts(model, outcomes);
    report.backtest.homeAlways = scoreForecasts(home, outcomes);
    report.backtest.homeShare = decided > 0 ? static_cast<double>(homeWins) / decided : 0.5;
    report.coin = scoreForecasts(coin, outcomes);
    report.elo = scoreForecasts(eloForecasts, outcomes);
    scoreMarket(report.backtest, home, options.minEdge);
    if (report.backtest.gamesWithOdds > 0) {
        report.coinWithOdds = scoreOnGamesWithOdds(report.backtest, coin);
        report.eloWithOdds = scoreOnGamesWithOdds(report.backtest, eloForecasts);
    }
    report.eloHomeProbabilities = std::move(eloChance);
    report.newClubs.assign(newClubs.begin(), newClubs.end());
    return report;
}

} // namespace zelkor
