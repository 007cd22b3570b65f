#pragma once

#include <array>
#include <optional>
#include <vector>

namespace zelkor {

enum class Side { None, Visitor, Home };

// A prediction of one game: the home team's chance to win it (overtime and shootout
// included) and the side picked to win, none for no pick.
struct Forecast {
    double homeProbability = 0.5;
    Side pick = Side::None;
};

// How a game ended: its winner (none for a level game, as before shootouts) and whether a
// shootout decided it.
struct GameOutcome {
    Side winner = Side::None;
    bool shootout = false;
};

// Picks that were right, out of the picks that counted.
struct Accuracy {
    int correct = 0;
    int counted = 0; ///< games neither pushed nor without a pick
    int pushes = 0;  ///< games left out: no winner, a shootout (where they push) or no pick

    // correct / counted, none without a counted game.
    std::optional<double> rate() const;
};

// One bin of a calibration table: games whose favourite's chance lies in [low, high).
struct CalibrationBin {
    double low = 0;
    double high = 0;
    int games = 0;
    double predicted = 0; ///< mean chance of the favourite
    double observed = 0;  ///< share of those games the favourite won
};

// Bins of width 0.05 from 0.5 to 1, the last one closed.
inline constexpr int CalibrationBins = 10;

// The figures of one predictor over a set of games.
struct ForecastFigures {
    int games = 0;
    Accuracy levelAndShootoutPushes; ///< level and shootout games push
    Accuracy shootoutsForWinner;     ///< only level games push
    int decidedGames = 0;            ///< games with a winner, for the scores below
    std::optional<double> logLoss;   ///< mean of -ln(chance given to the winner)
    std::optional<double> brier;     ///< mean squared error of the home team's chance
    std::array<CalibrationBin, CalibrationBins> calibration{};
};

// A chance is kept this far from 0 in the log loss, so that a sure prediction that went
// wrong scores -ln(1e-15), about 34.5, rather than infinity.
inline constexpr double SmallestChance = 1e-15;

// The figures of forecasts against outcomes, game by game (the two lists are as long).
ForecastFigures scoreForecasts(const std::vector<Forecast>& forecasts,
                               const std::vector<GameOutcome>& outcomes);

// The side with the higher chance, none at exactly one half.
Side favouriteOf(double homeProbability);

// A bookmaker's two decimal odds turned into the home team's chance, its margin taken out
// in proportion: (1 / home) / (1 / home + 1 / visitor).
double devigHomeProbability(double visitorOdds, double homeOdds);

// Decimal odds of both sides of a game.
struct GameOdds {
    double visitor = 0;
    double home = 0;
};

// The result of one unit staked on every side whose expected return per unit at the odds
// (chance x odds - 1) is above a least edge; a level game returns its stakes.
struct FlatStake {
    int bets = 0;
    int won = 0;
    int pushed = 0;
    double profit = 0; ///< units won less units lost

    // profit / bets, none without a bet.
    std::optional<double> returnOnStake() const;
};

// Games without odds place no bet; minEdge 0 bets every positive edge.
FlatStake flatStakeReturn(const std::vector<Forecast>& forecasts,
                          const std::vector<GameOutcome>& outcomes,
                          const std::vector<std::optional<GameOdds>>& odds, double minEdge = 0);

// The bets on the edges of at least one size.
struct EdgeBand {
    double from = 0;
    FlatStake stake;
};

// The least edges whose bets a backtest reports: 0 to 10 % by 1 %.
inline constexpr int EdgeBandSteps = 11;
inline constexpr double EdgeBandStep = 0.01;

// Bets that make a band's return worth reading; fewer are noise.
inline constexpr int FewestBandBets = 30;

// The flat stake from each least edge of the bands, smallest first.
std::vector<EdgeBand> edgeBands(const std::vector<Forecast>& forecasts,
                                const std::vector<GameOutcome>& outcomes,
                                const std::vector<std::optional<GameOdds>>& odds);

// The smallest least edge from which the bets made a profit over at least FewestBandBets
// bets; none when no band did.
std::optional<double> payingEdge(const std::vector<EdgeBand>& bands);

} // namespace zelkor
