#pragma once

#include "season/Backtest.h"
#include "season/RatingsFit.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace zelkor {

// A plain Elo rating on goal difference, the baseline a model of goals should beat.
struct EloParameters {
    double start = 1500;       ///< every club's rating at the season's start
    double k = 8;              ///< points moved by a one-goal game against even odds
    double homeAdvantage = 35; ///< points added to the home club's rating
};

// The home club's chance by the two Elo ratings.
double eloHomeChance(double visitor, double home, const EloParameters& parameters);

// Moves both ratings after a game: k, times ln(1 + goal difference) (1 for a level game),
// times the result less its expectation.
void updateElo(double& visitor, double& home, int visitorGoals, int homeGoals,
               const EloParameters& parameters);

struct WalkForwardOptions {
    int series = 1000;      ///< series of 11 games per game
    std::uint64_t seed = 0; ///< game i plays with seriesSeed(seed, i)
    FitOptions fit;         ///< the prior, the shrinkage, shootouts
    // Each club's goals against a game so far as its goalie's average, instead of the
    // file's or fit.defaultGaa.
    bool gaaFromResults = false;
    EloParameters elo;
};

// A walk-forward backtest: the model and its baselines, each knowing only the games
// before the day it predicts.
struct WalkForwardReport {
    BacktestReport backtest; ///< the model and always-home (at the home share so far)
    ForecastFigures coin;
    ForecastFigures elo;
    std::vector<std::string> newClubs; ///< clubs the prior lacked
    int refits = 0;                    ///< game days, each with its own fit
};

// Before each game day the ratings are fitted again from the season's games already
// played, starting from the prior, and every game of the day is predicted with
// options.series series. progress(done, total) after each game.
WalkForwardReport runWalkForward(const std::vector<ResultRow>& games,
                                 const std::filesystem::path& rosterFolder,
                                 const WalkForwardOptions& options,
                                 const std::function<void(int, int)>& progress = {});

} // namespace zelkor
