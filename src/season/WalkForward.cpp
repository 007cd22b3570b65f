#include "season/WalkForward.h"

#include "core/Errors.h"
#include "odds/ManySeries.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

namespace zelkor {

namespace {

constexpr double MarginSlope = 0.6686;  // of the logarithm of the goal margin
constexpr double MarginOffset = 0.8048; // a one-goal win's multiplier

} // namespace

std::map<std::string, Single> usualGaaSoFar(const std::vector<ResultRow>& before,
                                            const std::map<std::string, TeamScoring>& scoring,
                                            double defaultGaa) {
    std::map<std::string, std::pair<double, double>> starters; // averages, games
    for (const ResultRow& row : before) {
        starters[row.visitor].first += row.visitorGaa;
        starters[row.visitor].second += 1;
        starters[row.home].first += row.homeGaa;
        starters[row.home].second += 1;
    }
    std::map<std::string, Single> gaa;
    for (const auto& [code, team] : scoring) {
        const auto [sum, games] = starters[code];
        gaa[code] =
            static_cast<Single>((sum + GaaPriorGames * defaultGaa) / (games + GaaPriorGames));
    }
    return gaa;
}

double eloHomeProbability(double home, double visitor, const EloParameters& elo) {
    return 1 / (1 + std::pow(10.0, -(home + elo.homeAdvantage - visitor) / elo.scale));
}

double eloMarginMultiplier(int goalDifference) {
    const int margin = std::abs(goalDifference);
    return margin == 0 ? 1.0 : MarginSlope * std::log(static_cast<double>(margin)) + MarginOffset;
}

double eloHomeChange(double home, double visitor, int homeGoals, int visitorGoals,
                     const EloParameters& elo) {
    const double score = homeGoals > visitorGoals ? 1.0 : homeGoals < visitorGoals ? 0.0 : 0.5;
    return elo.k * eloMarginMultiplier(homeGoals - visitorGoals) *
           (score - eloHomeProbability(home, visitor, elo));
}

WalkForwardReport runWalkForward(const std::vector<ResultRow>& games,
                                 const std::map<std::string, TeamScoring>& scoring,
                                 const std::filesystem::path& rosterFolder,
                                 const WalkForwardOptions& options, const RatedOddsEngine& engine,
                                 const std::function<void(int, int)>& progress) {
    WalkForwardReport report;
    report.eloParameters = options.elo;
    report.backtest.series = options.series;
    report.backtest.seed = options.seed;
    std::vector<std::size_t> order(games.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return games[a].date < games[b].date; });

    std::vector<ResultRow> before;
    std::map<std::string, double> elo;
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
            fitOptions.gaa = usualGaaSoFar(before, scoring, options.fit.defaultGaa);
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
    report.eloHomeProbabilities = std::move(eloChance);
    report.newClubs.assign(newClubs.begin(), newClubs.end());
    return report;
}

} // namespace zelkor
