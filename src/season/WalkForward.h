#pragma once

#include "season/Backtest.h"
#include "season/Elo.h"
#include "season/GaaFromResults.h"
#include "season/RatingsFit.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zelkor {

// The model's many-series counts of a game under a table.
using RatedOddsEngine =
    std::function<GameCounts(const OddsRequest&, const std::shared_ptr<const RatingTable>&)>;

// How a walk-forward backtest runs.
struct WalkForwardOptions {
    int series = 0;
    std::uint64_t seed = 0;
    FitOptions fit; ///< the prior, its weight, the default GAA; gaa is set day by day
    // Each game's starters taken relative to their club's usual goalie, the mean of the
    // club's starters so far (gaaFromResults), instead of at their own averages.
    bool gaaFromResults = false;
    EloParameters elo;
    EloRatings eloStart; ///< each club's Elo on opening night; a club without one: elo.start
    double minEdge = 0;  ///< the least edge the flat stake bets
};

// The forecasts' weight of no venue deviation (FitOptions::venueGames): a club's road and
// home split from at most 41 games each is mostly noise. Shrinking it all the way did as
// well in the walk-forward of five seasons.
inline constexpr double ForecastVenueGames = 400;

// Games at one half added to the home wins before a day, so that a first day of home
// wins does not make always-home sure of the next.
inline constexpr double HomeSharePriorGames = 10;

// The walk-forward figures: the model and always-home as in a backtest, plus a coin and
// the Elo, every forecast made from the games before its day alone.
struct WalkForwardReport {
    BacktestReport backtest; ///< homeAlways at the home share of the games before each day
    ForecastFigures coin;
    ForecastFigures elo;
    std::optional<ForecastFigures> coinWithOdds; ///< over the games with odds, as the bookmaker
    std::optional<ForecastFigures> eloWithOdds;
    std::vector<double> eloHomeProbabilities; ///< per game, in the order of the games
    std::vector<std::string> newClubs;        ///< clubs the prior lacked
    EloParameters eloParameters;
    bool eloCarried = false; ///< the Elo started from carried ratings, not level
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
