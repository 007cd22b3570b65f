#pragma once

#include "core/PlayerArray.h"
#include "simulation/GameLoop.h"
#include "simulation/SeriesSummary.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

namespace zelkor {

// Scores below this, for either team, are counted in a grid; the rare higher ones in a map.
inline constexpr int ScoreGridSize = 16;
// Series points run from 0 to 22 (11 games of 2 points).
inline constexpr int MostSeriesPoints = 22;

// One roster row's scoring over all games of a run.
struct PlayerTally {
    std::string name;
    std::uint64_t goals = 0;
    std::uint64_t gamesWithGoal = 0; ///< games in which the player scored at least once
};

// What many series of one pairing add up to: exact counts over all their games, the same
// whatever order the series were played in.
struct OddsTally {
    std::string visitor; ///< team codes, for the money-line captions
    std::string home;
    std::uint64_t series = 0;
    std::uint64_t games = 0;
    std::uint64_t visitorWinsRegulation = 0;
    std::uint64_t visitorWinsOvertime = 0;
    std::uint64_t homeWinsRegulation = 0;
    std::uint64_t homeWinsOvertime = 0;
    std::uint64_t ties = 0;          ///< level after overtime
    std::uint64_t overtimeGames = 0; ///< games that went to overtime
    std::uint64_t goalsVisitor = 0;
    std::uint64_t goalsHome = 0;
    /// scoreGrid[v][h]: games that ended v to h, for scores below ScoreGridSize.
    std::array<std::array<std::uint64_t, ScoreGridSize>, ScoreGridSize> scoreGrid{};
    std::map<std::pair<int, int>, std::uint64_t> otherScores; ///< every other final score
    /// moneyLines[favourite][points]: series whose money line named that favourite with
    /// those points (Neither: points are the level points, 11).
    std::array<std::array<std::uint64_t, MostSeriesPoints + 1>, 3> moneyLines{};
    std::array<PlayerTally, PlayersPerTeam> visitorPlayers;
    std::array<PlayerTally, PlayersPerTeam> homePlayers;

    // Adds one played series: its games and goals, and the facts of its summary.
    void addSeries(const SeriesOutcome& outcome, const SeriesFacts& facts);

    // Adds the counts of another tally of the same pairing.
    void add(const OddsTally& other);

    // Games that ended visitorGoals to homeGoals.
    std::uint64_t scoreCount(int visitorGoals, int homeGoals) const;

    // Every final score that occurred, visitor goals first, with its number of games.
    std::map<std::pair<int, int>, std::uint64_t> scores() const;

    // Series by money-line caption, exactly as the window shows it with that decimal
    // separator ("BOS  1.47", "EVEN, NO BET").
    std::map<std::string, std::uint64_t>
    moneyLineCaptions(const std::string& decimalSeparator = ".") const;
};

} // namespace zelkor
