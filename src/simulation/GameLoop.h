#pragma once

#include "core/DrawSource.h"
#include "core/PredictionState.h"
#include "core/WindowServices.h"
#include "simulation/ScoringModel.h"

#include <array>
#include <cstdint>
#include <vector>

namespace zelkor {

// Games in a series.
inline constexpr int GamesPerSeries = 11;

// GaaScale of every series: the goalie factor is divided by it.
inline constexpr double GaaScaleValue = 1.4;
// LeagueRatio of every series: league goals per assist.
inline constexpr double LeagueRatioValue = 0.5893;
// The goals-against average whose goalie factor is 1 / GaaScale.
inline constexpr double GoalieFactorBase = 2.776;

// Plays a series of 11 games from a filled state (ratings, rosters, ratios, GAA values,
// codes): reseeds draws from seeds once, appends goal and final-score lines to the log,
// keeps the tallies and ends with SeriesSummary. Errors pass to the caller.
void Gameplay(PredictionState& state, WindowServices& window, DrawSource& draws, SeedSource& seeds);

// One goal of a quiet series.
struct ScoredGoal {
    std::uint8_t game;  ///< 1 to 11
    std::uint8_t row;   ///< the scorer's roster row, 1 to 18
    std::int8_t minute; ///< minutes left, as the log shows it
    bool visiting;      ///< scored by the visiting team
    bool overtime;      ///< scored in overtime
};

// How one game of a quiet series ended.
struct GameResult {
    int visitorGoals;
    int homeGoals;
    bool overtime; ///< went to overtime (and ended level if the goals are equal)
};

// What a quiet series produced besides the tallies in the state. The goals are in the
// order the log would list them.
struct SeriesOutcome {
    std::array<GameResult, GamesPerSeries> games{};
    std::vector<ScoredGoal> goals;
};

// Plays a series exactly as Gameplay does, with the same draws, tallies and errors, but
// builds no log text and shows nothing: the games and goals go into outcome (whose goal
// list is reused) and the tallies into the state, for the caller to summarise.
void playQuietSeries(PredictionState& state, DrawSource& draws, SeedSource& seeds,
                     SeriesOutcome& outcome);

// The same for one of many series with the same inputs (ratings, rosters, GAA values):
// rates keeps the rates of every power-play combination met in the earlier series, which
// those inputs alone decide, so they are not computed again. A combination not met yet
// is computed in its minute, so errors are those of the series alone. Use one RateCache
// per set of inputs.
void playQuietSeries(PredictionState& state, DrawSource& draws, SeedSource& seeds,
                     SeriesOutcome& outcome, RateCache& rates);

// Plays one game as the first game of a quiet series, on the draws as they stand (they are
// not reseeded): for a caller that plays the games of many pairs of teams on one seeded
// sequence. The game goes into outcome.games[0] and its goals into outcome.goals; rates
// as above, one per pair of teams.
void playQuietGame(PredictionState& state, DrawSource& draws, SeriesOutcome& outcome,
                   RateCache& rates);

// Sets Winx, Winy or Tiex and Tiey for the game just ended.
void OUTCOME(PredictionState& state);

} // namespace zelkor
