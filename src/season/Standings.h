#pragma once

#include "season/ResultsFile.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zelkor {

// Standings points: a win, and a loss in overtime or a shootout; a tie gives each club one.
inline constexpr int PointsForWin = 2;
inline constexpr int PointsForOvertimeLoss = 1;
inline constexpr int PointsForTie = 1;

// One club's record in a season.
struct ClubRecord {
    int games = 0;
    int wins = 0;
    int losses = 0;         ///< in regulation
    int overtimeLosses = 0; ///< in overtime or a shootout
    int ties = 0;
    int regulationWins = 0;
    int overtimeWins = 0; ///< in overtime; the other wins not in regulation came in a shootout
    int goalsFor = 0;     ///< a shootout's winner counts one goal, as the league's tables do
    int goalsAgainst = 0;

    int points() const {
        return PointsForWin * wins + PointsForOvertimeLoss * overtimeLosses + PointsForTie * ties;
    }
    int regulationAndOvertimeWins() const { return regulationWins + overtimeWins; }
};

// Which order of tie-breaks a season uses.
enum class TieBreaks {
    ShootoutEra,     ///< the league's order since shootouts: regulation wins count first
    BeforeShootouts, ///< seasons with ties: steps 2 and 3 below are left out
};

// The records of the clubs of a league, with what the clubs earned against each other.
//
// Clubs are ranked in the league's order; each step settles the ties the ones before it
// leave:
//   1. points percentage (points over twice the games; 0 before the first game),
//   2. regulation wins (seasons with shootouts only),
//   3. regulation and overtime wins (seasons with shootouts only),
//   4. wins,
//   5. points percentage in the games between the clubs still level (all of them at once,
//      however many),
//   6. goal difference,
//   7. goals for,
//   8. the club's code, alphabetically, so that every season has one order.
class Standings {
public:
    explicit Standings(std::vector<std::string> codes,
                       TieBreaks tieBreaks = TieBreaks::ShootoutEra);

    // Counts a game: the clubs by index, the final score (a shootout's goal included) and
    // how it ended. A level score is a tie whatever end says; a winner whose end the file
    // does not say (Unknown) won in regulation.
    void add(std::size_t visitor, std::size_t home, int visitorGoals, int homeGoals, GameEnd end);

    const ClubRecord& record(std::size_t club) const { return records_[club]; }
    const std::string& code(std::size_t club) const { return codes_[club]; }
    std::size_t size() const { return codes_.size(); }

    // Puts the clubs (indexes) in the league's order, first place first.
    void rank(std::vector<std::size_t>& clubs) const;

private:
    // Steps 1 to 4: positive when a ranks above b.
    int compareRecords(const ClubRecord& a, const ClubRecord& b) const;

    std::vector<std::string> codes_;
    TieBreaks tieBreaks_;
    std::vector<ClubRecord> records_;
    std::vector<int> pointsAgainst_; ///< [a * size + b]: points a earned in games with b
    std::vector<int> gamesAgainst_;  ///< [a * size + b]: games between a and b
};

} // namespace zelkor
