#pragma once

#include "odds/OddsTally.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// A share of trials with its 95 % Wilson score interval.
struct Probability {
    double value = 0;
    double low = 0;
    double high = 0;
};

// hits of trials, with the interval; all 0 for no trials.
Probability wilsonProbability(std::uint64_t hits, std::uint64_t trials);

// The odds that pay back exactly a probability's stake in the long run, in the three
// usual forms.
struct FairOdds {
    double decimal = 0;  ///< 1 / p: the total a unit stake returns on a win
    double american = 0; ///< +150 (win 150 on 100) or -150 (stake 150 to win 100)
    double implied = 0;  ///< the probability itself
};

// None for a probability of 0 or 1, which no odds express.
std::optional<FairOdds> fairOdds(double probability);

// A bookmaker's odds as typed, as decimal odds, or none when the text is no price. A price
// with a decimal point is decimal odds, 1.01 to 1,000 ("2.10", "500.0"); a signed price
// or an unsigned whole number from 100 on is American, 100 to 100,000 either way ("+150",
// "-120", "150"); a whole number below 100 is decimal odds ("3").
std::optional<double> parseOfferedOdds(std::string_view text);

// What parseOfferedOdds takes, for a message that refuses a text.
inline constexpr const char* OfferedOddsForms =
    "decimal odds with a decimal point from 1.01 to 1,000 (2.10) or American odds from 100 to "
    "100,000 either way (+150, -120, or 150: a whole number from 100 on is American)";

// American odds of decimal odds (2.5 -> +150, 1.5 -> -200).
double americanOdds(double decimalOdds);

// Expected return per unit staked on a side at the given decimal odds, a level game
// returning the stake: win * (odds - 1) - loss.
double edgePerUnit(double winProbability, double lossProbability, double decimalOdds);

// The game lines that the totals are quoted for.
inline constexpr std::array<double, 3> TotalLines = {4.5, 5.5, 6.5};

// Cells per side of the score grid: 0 to 7 goals, the last row and column 8 or more.
inline constexpr int ScoreGridGoals = 9;
/// shares[v][h] of the games: visitor goals down, home goals across.
using ScoreGridShares = std::array<std::array<double, ScoreGridGoals>, ScoreGridGoals>;

// How often one money line of the 11-game series came out.
struct MoneyLineShare {
    Favourite favourite = Favourite::Neither;
    int moneyCents = 0; ///< the favourite's odds in hundredths; 0 for neither
    std::uint64_t series = 0;
    double share = 0; ///< of all series
};

// A roster row's scoring per game.
struct ScorerFigures {
    std::size_t row = 0; ///< from 0, into the tally's players
    double goalsPerGame = 0;
    double anytime = 0; ///< the chance of scoring at least once in a game
};

// What a run's counts say, game by game, in the order the front ends show it.
struct OddsFigures {
    Probability visitorRegulation;
    Probability visitorOvertime;
    Probability homeRegulation;
    Probability homeOvertime;
    Probability tie; ///< level after overtime
    Probability visitorWin;
    Probability homeWin;
    // Level games counted as pushes: the share of decided games each side wins.
    double visitorTwoWay = 0;
    double homeTwoWay = 0;
    std::optional<FairOdds> visitorFair; ///< from the two-way probabilities
    std::optional<FairOdds> homeFair;
    double expectedGoalsVisitor = 0;
    double expectedGoalsHome = 0;
    std::array<double, TotalLines.size()> over{}; ///< P(total goals above each line)
    double visitorByTwo = 0;                      ///< puck line: P(visitor wins by 2 or more)
    double homeByTwo = 0;
    std::optional<double> visitorEdge; ///< with the bookmaker's odds of that side
    std::optional<double> homeEdge;
    ScoreGridShares scoreGrid{};
    /// Most frequent first; equally frequent ones in the order of their captions.
    std::vector<MoneyLineShare> moneyLines;
    /// Every row, most goals first; equal goals in roster order.
    std::array<ScorerFigures, PlayersPerTeam> visitorScorers{};
    std::array<ScorerFigures, PlayersPerTeam> homeScorers{};
};

OddsFigures oddsFigures(const OddsTally& tally, std::optional<double> offeredVisitor = {},
                        std::optional<double> offeredHome = {});

// A player's chance of scoring at least once in a game.
double anytimeScorer(const PlayerTally& player, std::uint64_t games);

// The label of a money line ("BOS  1.47", "EVEN, NO BET") with that decimal separator.
std::string moneyLineCaption(const MoneyLineShare& line, const OddsTally& tally,
                             const std::string& decimalSeparator = ".");

// The name of a side's two-goal margin (the puck line at -1.5): "BOS wins by 2 or more".
std::string twoGoalMarginName(const std::string& code);

// The side a line is on, for the colour a window gives it.
enum class LineSide { Visitor, Home, Neither };

// One price as a sportsbook lists it: its market, its name ("BOS -1.5", "Over 5.5"), the
// chance it wins, the fair odds and, with the bookmaker's odds, the edge. No line pushes:
// each is at half a goal or over the three ways a regulation time ends.
struct BettingLine {
    std::string market; ///< "Regulation time, three-way", "Total goals", "Puck line"
    std::string name;
    LineSide side = LineSide::Neither;
    double chance = 0;
    std::optional<FairOdds> fair;
    std::optional<double> edge; ///< per unit staked at the bookmaker's odds
};

// Lines of each market: regulation time's three ways, over and under each total, and the
// puck line both ways for both sides.
inline constexpr std::size_t BettingLineCount = 3 + 2 * TotalLines.size() + 4;

// The lines in the order the front ends show them: regulation time (visitor, draw, home),
// over and under each of TotalLines, the puck line (visitor -1.5, home +1.5, home -1.5,
// visitor +1.5). offered[i], when there and given, is the bookmaker's decimal odds of line
// i. Chances of 0 or 1 have no fair odds; a run of no games has no edges.
std::vector<BettingLine> bettingLines(const OddsTally& tally,
                                      std::span<const std::optional<double>> offered = {});

// The odds that pay a scorer's chance of scoring at least once back exactly.
std::optional<FairOdds> anytimeScorerOdds(const ScorerFigures& scorer);

} // namespace zelkor
