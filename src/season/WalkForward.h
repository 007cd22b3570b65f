#pragma once

#include "season/Backtest.h"
#include "season/RatingsFit.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelkor {

// A plain Elo rating on goal difference, the baseline a fitted model should match.
struct EloParameters {
    double k = 6;              ///< rating points moved by a full surprise of one goal
    double homeAdvantage = 35; ///< points added to the home club's rating for its chance
    double start = 1500;       ///< every club's rating before its first game
    double scale = 400;        ///< a difference of this many points is 10 to 1 odds
};

// The home club's chance by the two ratings.
double eloHomeProbability(double home, double visitor, const EloParameters& elo);

// Goal differences count less than in proportion: 0.6686 ln(margin) + 0.8048, and 1 for
// a level game.
double eloMarginMultiplier(int goalDifference);

// Points the home club gains from one result (the visitor loses as many); a level game
// scores one half.
double eloHomeChange(double home, double visitor, int homeGoals, int visitorGoals,
                     const EloParameters& elo);

// The model's many-series counts of a game under a table.
using RatedOddsEngine =
    std::function<GameCounts(const OddsRequest&, const std::shared_ptr<const RatingTable>&)>;

// How a walk-forward backtest runs.
struct WalkForwardOptions {
    int series = 0;
    std::uint64_t seed = 0;
    FitOptions fit; ///< the prior, its weight, the default GAA; gaa is set day by day
    // Each game's starters taken relative to their club's usual goalie, the mean of the
    // club's starters so far (usualGaaSoFar), instead of at their own averages.
    bool gaaFromResults = false;
    EloParameters elo;
};

// The forecasts' weight of no venue deviation (FitOptions::venueGames): a club's road and
// home split from at most 41 games each is mostly noise. Shrinking it all the way did as
// well in the walk-forward of five seasons.
inline constexpr double ForecastVenueGames = 400;

// Games at the default average added to a club's own when its GAA comes from the
// results, so that one game's starter cannot be all of its usual goalie.
inline constexpr double GaaPriorGames = 2;

// Each club's usual goalie: the mean of the averages of its starters in these games, with
// GaaPriorGames at the default. Results without averages give every club the default.
std::map<std::string, Single> usualGaaSoFar(const std::vector<ResultRow>& before,
                                            const std::map<std::string, TeamScoring>& scoring,
                                            double defaultGaa);

// Games at one half added to the home wins before a day, so that a first day of home
// wins does not make always-home sure of the next.
inline constexpr double HomeSharePriorGames = 10;

// The walk-forward figures: the model and always-home as in a backtest, plus a coin and
// the Elo, every forecast made from the games before its day alone.
struct WalkForwardReport {
    BacktestReport backtest; ///< homeAlways at the home share of the games before each day
    ForecastFigures coin;
    ForecastFigures elo;
    std::vector<double> eloHomeProbabilities; ///< per game, in the order of the games
    std::vector<std::string> newClubs;        ///< clubs the prior lacked
    EloParameters eloParameters;
    int gameDays = 0;
    RatingsFit lastFit; ///< the fit before the last day
};

// Before each game day (games in date order), refits the ratings from the day's earlier
// games of the season starting from options.fit.prior, and asks engine about the day's
// games with them; game i plays with seriesSeed(seed, i). progress(done, total) after
// each game.
WalkForwardReport runWalkForward(const std::vector<ResultRow>& games,
                                 const std::map<std::string, TeamScoring>& scoring,
                                 const std::filesystem::path& rosterFolder,
                                 const WalkForwardOptions& options, const RatedOddsEngine& engine,
                                 const std::function<void(int, int)>& progress = {});

} // namespace zelkor
