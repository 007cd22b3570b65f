#pragma once

#include "core/Arithmetic.h"
#include "season/Backtest.h"
#include "teamdata/RatingTable.h"

#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {

// What a team's roster file gives its scoring: the players' goals per game added up, and
// the team's goals per assist, which the model divides by (its finishing factor).
struct TeamScoring {
    double goalsPerGame = 0;
    double goalsPerAssist = 0;
};

// The scoring of every code from the roster files of the folder, read as a prediction
// reads them. Throws the roster reader's errors, naming the file.
std::map<std::string, TeamScoring> readTeamScoring(const std::filesystem::path& rosterFolder,
                                                   const std::vector<std::string>& codes);

// A club's season totals that set its penalty, power-play and short-handed ratings.
struct TeamSpecialTeams {
    int games = 0;
    int timesShortHanded = 0; ///< penalties that gave the opponent a power play
    int powerPlayGoals = 0;
    int powerPlayChances = 0;
    int shortHandedGoalsFor = 0;
};

// The goalie's average a club is given when neither the results file nor its totals give
// one: a typical goalie's, at which the sample rosters score a season's goals.
inline constexpr double DefaultGaa = 2.8;

// Playbacks of the season that correct the analytic fit; each halves about what it left.
inline constexpr int CalibrationRounds = 5;
// Series of 11 each playback plays of every game: a club's venue then has some 9,000 games.
inline constexpr int CalibrationSeries = 20;

// How the ratings are fitted.
struct FitOptions {
    // What the fit shrinks toward and starts a club from; none: league-typical values.
    std::shared_ptr<const RatingTable> prior;
    // Weight of the prior, in games: a club with this many games (both venues) is half its
    // own results and half the prior. 50 did best of 12, 25, 50, 100 and 200 in the
    // walk-forward of five seasons.
    double priorGames = 50;
    // Weight of the prior's league level, in games of the league: the offences' level at
    // each venue (the league's scoring and its home factor) counts the prior's as this many
    // games. A home factor from a few weeks of games is mostly noise (weighed as one club's
    // priorGames, the model's mean chance of a home win moved between 0.49 and 0.59 from
    // one sixth of a season to the next); a season's hardly differs from the next one's.
    // 250 to 2000 did alike in the walk-forward of five seasons, each season's log loss
    // lower (0.0007 on the mean), and the forecasts no longer over-confident.
    double levelGames = 1000;
    // Each club's usual goalie average. A game's starter then counts only by how his
    // average stands to his club's (see goalieGaa), so that a club's defence holds its own
    // goaltending and a goalie is not counted twice.
    std::map<std::string, Single> gaa;
    // The league-typical goalie: the results reader's for a row without an average, the one
    // a club's usual goalie plays at, and the games added to a club's own when its usual
    // goalie comes from the results.
    Single defaultGaa = static_cast<Single>(DefaultGaa);
    // Team totals by code, for the special-teams ratings; a club missing here keeps the
    // prior's or league-typical ones.
    std::map<std::string, TeamSpecialTeams> specialTeams;
    // Shootouts decide level games (the fit's simulations play them too).
    bool shootout = false;
    // Share of a club's distance from the league's mean that its prior keeps (as an Elo's
    // carry from one season to the next); 1 keeps the prior as it is. 0.7 did better than
    // 0.5 and 0.9 in the walk-forward.
    double priorCarry = 0.7;
    // A club's penalty share (its times short-handed a game over the league's) and its
    // power-play and short-handed goal rates over the league's come from a season's team
    // totals shrunk toward the league's: the league's rate counts as this many seasons of
    // the club's own, so that a share keeps 1 / (1 + seasons) of its distance from 1.
    // Infinite: every club at the league's. A season's special teams did not foretell the
    // next: in the walk-forward of five seasons (each prior built with them) the mean log
    // loss was 0.0016 lower with the shares shrunk by 1 and 4 seasons (the spread beyond
    // the counts' noise), and 0.0027 lower with every club at the league's.
    double penaltySeasons = std::numeric_limits<double>::infinity();
    double specialGoalsSeasons = std::numeric_limits<double>::infinity();
    // Weight, in games, of no venue deviation: a club's road and home strengths differ
    // from its one strength only as far as this many games at 1 let them. A few games
    // leave a season's own ratings free to play its games back at each venue (the fit's
    // check) and keep a club's first scoreless road games from a road offence of 0; a
    // forecast shrinks the split hard (ForecastVenueGames).
    double venueGames = 5;
    // Days after which a game counts half as much as the last one; 0 counts every game
    // alike. 60 and 90 days did not help at 50 prior games.
    double recencyHalfLife = 0;
};

// A league level from goals scored where the level 1 expects expectedAtOne goals, over
// games games, with the prior's level counted as levelGames games: the games-weighted mean
// (games * goals / expectedAtOne + levelGames * priorLevel) / (games + levelGames). The
// prior's level when there is nothing to weigh.
double shrunkLevel(double goals, double expectedAtOne, double games, double priorLevel,
                   double levelGames);

// The average a game's goalie plays with under the fitted ratings: defaultGaa times the
// starter's average over his club's usual one (options.gaa); the starter's own average for
// a club without a usual one. A club's usual goalie thus plays at the default.
Single goalieGaa(const FitOptions& options, const std::string& code, Single starterGaa);

// Goals a game, real and simulated, of one club at one venue.
struct VenueCheck {
    int games = 0;
    double goalsFor = 0;
    double goalsAgainst = 0;
    double simulatedFor = 0;
    double simulatedAgainst = 0;

    // Both simulated figures within the tolerance (a share) of the real ones.
    bool within(double tolerance) const;
};

// How well a fitted table plays a club's season back.
struct TeamFitCheck {
    std::string code;
    VenueCheck road;
    VenueCheck home;
};

// The check's tolerance: simulated goals for and against within 3 % of the real ones.
inline constexpr double FitTolerance = 0.03;

// A fitted table, the clubs the prior lacked, and (after calibrateRatings) the check.
struct RatingsFit {
    RatingTable table{{}, {}};
    std::vector<std::string> newClubs; ///< started from league-typical ratings
    std::vector<TeamFitCheck> check;   ///< empty until a simulation checked the table
};

// The analytic fit: each club's offence and defence on the road and at home from the goals
// of the games, by Poisson maximum likelihood of the model's expected goals at even
// strength (a club's rate is its players' goals per game, times its offence and the
// opponent's defence, over the finishing factor and the opposing goalie's factor). A
// rating is a league level at the venue (shrunk toward the prior's by
// FitOptions::levelGames) times the club's one strength (shrunk toward the
// carried prior by FitOptions::priorGames) times a venue deviation (shrunk toward 1 by
// FitOptions::venueGames). One short simulation then measures
// what power plays, the last minutes and overtime add, which the offences are divided by.
// Special-teams ratings from the team totals. Milliseconds for a season.
RatingsFit fitRatings(const std::vector<ResultRow>& games,
                      const std::map<std::string, TeamScoring>& scoring,
                      const std::filesystem::path& rosterFolder, const FitOptions& options);

// Plays every game of the season seriesPerGame series of 11 with the fitted table, and sets
// each club's offences and defences by the real goals over the simulated ones, rounds times;
// leaves the last round's comparison in fit.check. None when stopped. progress(done, total)
// counts the games simulated.
std::optional<RatingsFit> calibrateRatings(RatingsFit fit, const std::vector<ResultRow>& games,
                                           const std::filesystem::path& rosterFolder,
                                           const FitOptions& options, int rounds, int seriesPerGame,
                                           std::stop_token stop = {},
                                           const std::function<void(int, int)>& progress = {});

} // namespace zelkor
