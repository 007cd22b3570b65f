#include "season/WalkForward.h"

#include "core/Errors.h"
#include "odds/ManySeries.h"
#include "season/SeriesOdds.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

namespace zelkor {

namespace {

// Games at even odds the home share so far starts from.
constexpr double HomeShareEvenGames = 10;

// Goals for and against a club so far, for its goalie's average.
struct Conceded {
    int goals = 0;
    int games = 0;
};

Single concededAverage(const std::map<std::string, Conceded>& conceded, const std::string& code,
                       Single fallback) {
    const auto found = conceded.find(code);
    if (found == conceded.end() || found->second.games == 0 || found->second.goals == 0) {
        return fallback;
    }
    return static_cast<Single>(static_cast<double>(found->second.goals) / found->second.games);
}

} // namespace

double eloHomeChance(double visitor, double home, const EloParameters& parameters) {
    return 1.0 / (1.0 + std::pow(10.0, (visitor - home - parameters.homeAdvantage) / 400.0));
}

void updateElo(double& visitor, double& home, int visitorGoals, int homeGoals,
               const EloParameters& parameters) {
    const double expected = eloHomeChance(visitor, home, parameters);
    const double result = homeGoals > visitorGoals ? 1.0 : homeGoals < visitorGoals ? 0.0 : 0.5;
    const int margin = std::abs(homeGoals - visitorGoals);
    const double weight = margin == 0 ? 1.0 : std::log1p(static_cast<double>(margin));
    const double change = parameters.k * weight * (result - expected);
    home += change;
    visitor -= change;
}

WalkForwardReport runWalkForward(const std::vector<ResultRow>& games,
                                 const std::filesystem::path& rosterFolder,
                                 const WalkForwardOptions& options,
                                 const std::function<void(int, int)>& progress) {
    std::vector<std::size_t> order(games.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&games](std::size_t a, std::size_t b) {
        return games[a].date < games[b].date;
    });
    std::set<std::string> codes;
    for (const ResultRow& game : games) {
        codes.insert(game.visitor);
        codes.insert(game.home);
    }
    const std::map<std::string, TeamScoring> scoring =
        readTeamScoring(rosterFolder, std::vector<std::string>(codes.begin(), codes.end()));

    WalkForwardReport report;
    BacktestReport& backtest = report.backtest;
    backtest.series = options.series;
    backtest.seed = options.seed;
    std::vector<Forecast> model, homeShare, coin, elo;
    std::vector<GameOutcome> outcomes;
    std::vector<ResultRow> played;
    std::map<std::string, Conceded> conceded;
    std::map<std::string, double> ratings;
    std::set<std::string> newClubs;
    int homeWins = 0;
    int decided = 0;
    for (std::size_t at = 0; at < order.size();) {
        const std::string& day = games[order[at]].date;
        FitOptions fitOptions = options.fit;
        if (options.gaaFromResults) {
            for (const std::string& code : codes) {
                fitOptions.gaa[code] = concededAverage(conceded, code, options.fit.defaultGaa);
            }
        }
        // Clubs that have not played yet get rows too: the prior's, or league-typical ones.
        fitOptions.clubs.assign(codes.begin(), codes.end());
        const RatingsFit fit = fitRatings(played, scoring, rosterFolder, fitOptions);
        const auto table = std::make_shared<const RatingTable>(fit.table);
        newClubs.insert(fit.newClubs.begin(), fit.newClubs.end());
        ++report.refits;
        const GameOddsEngine engine = seriesBySeriesOdds(rosterFolder, table, options.fit.shootout);
        const std::size_t dayStart = at;
        for (; at < order.size() && games[order[at]].date == day; ++at) {
            const std::size_t index = order[at];
            const ResultRow& row = games[index];
            BacktestGame game{row, seriesSeed(options.seed, index), {}, {}, outcomeOf(row)};
            const Single visitorGaa = options.gaaFromResults
                                          ? concededAverage(conceded, row.visitor, row.visitorGaa)
                                          : row.visitorGaa;
            const Single homeGaa = options.gaaFromResults
                                       ? concededAverage(conceded, row.home, row.homeGaa)
                                       : row.homeGaa;
            game.counts =
                engine({row.visitor, row.home, visitorGaa, homeGaa, options.series, game.seed});
            if (game.counts.games <= 0) {
                throw ZelkorError("The model played no game of " + row.visitor + " at " + row.home +
                                  " (line " + std::to_string(row.line) + ").");
            }
            game.forecast = forecastOf(game.counts);
            model.push_back(game.forecast);
            // Even odds weigh a few games, so that the first days' shares are not 0 or 1.
            const double share = (homeWins + HomeShareEvenGames / 2.0) /
                                 (decided + HomeShareEvenGames);
            homeShare.push_back({share, Side::Home});
            coin.push_back({0.5, Side::None});
            const auto start = [&](const std::string& code) -> double& {
                return ratings.try_emplace(code, options.elo.start).first->second;
            };
            const double eloHome = eloHomeChance(start(row.visitor), start(row.home), options.elo);
            elo.push_back({eloHome, favouriteOf(eloHome)});
            outcomes.push_back(game.outcome);
            backtest.games.push_back(std::move(game));
            if (progress) {
                progress(static_cast<int>(backtest.games.size()), static_cast<int>(games.size()));
            }
        }
        // The day's results are known only after all its games are predicted.
        for (std::size_t done = dayStart; done < at; ++done) {
            const ResultRow& row = games[order[done]];
            played.push_back(row);
            conceded[row.visitor].goals += row.homeGoals;
            ++conceded[row.visitor].games;
            conceded[row.home].goals += row.visitorGoals;
            ++conceded[row.home].games;
            const GameOutcome outcome = outcomeOf(row);
            homeWins += outcome.winner == Side::Home ? 1 : 0;
            decided += outcome.winner == Side::None ? 0 : 1;
            updateElo(ratings[row.visitor], ratings[row.home], row.visitorGoals, row.homeGoals,
                      options.elo);
        }
    }
    backtest.model = scoreForecasts(model, outcomes);
    backtest.homeAlways = scoreForecasts(homeShare, outcomes);
    backtest.homeShare = decided > 0 ? static_cast<double>(homeWins) / decided : 0.5;
    report.coin = scoreForecasts(coin, outcomes);
    report.elo = scoreForecasts(elo, outcomes);
    report.newClubs.assign(newClubs.begin(), newClubs.end());
    return report;
}

} // namespace zelkor
