#include "season/Standings.h"

#include <algorithm>
#include <cstdint>

namespace zelkor {

namespace {

// a / b against c / d without rounding: positive when the first is larger. A share of
// nothing (b or d of 0) counts as 0.
int compareShares(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
    if (b == 0) {
        a = 0;
        b = 1;
    }
    if (d == 0) {
        c = 0;
        d = 1;
    }
    const std::int64_t left = a * d;
    const std::int64_t right = c * b;
    return left > right ? 1 : left < right ? -1 : 0;
}

} // namespace

int Standings::compareRecords(const ClubRecord& a, const ClubRecord& b) const {
    if (const int share = compareShares(a.points(), a.games, b.points(), b.games)) {
        return share;
    }
    if (tieBreaks_ == TieBreaks::ShootoutEra) {
        for (const auto& [first, second] :
             {std::pair{a.regulationWins, b.regulationWins},
              std::pair{a.regulationAndOvertimeWins(), b.regulationAndOvertimeWins()}}) {
            if (first != second) {
                return first > second ? 1 : -1;
            }
        }
    }
    return a.wins == b.wins ? 0 : a.wins > b.wins ? 1 : -1;
}

Standings::Standings(std::vector<std::string> codes, TieBreaks tieBreaks)
    : codes_(std::move(codes)), tieBreaks_(tieBreaks), records_(codes_.size()),
      pointsAgainst_(codes_.size() * codes_.size()), gamesAgainst_(codes_.size() * codes_.size()) {}

void Standings::add(std::size_t visitor, std::size_t home, int visitorGoals, int homeGoals,
                    GameEnd end) {
    ClubRecord& road = records_[visitor];
    ClubRecord& host = records_[home];
    ++road.games;
    ++host.games;
    road.goalsFor += visitorGoals;
    road.goalsAgainst += homeGoals;
    host.goalsFor += homeGoals;
    host.goalsAgainst += visitorGoals;
    const int before[] = {road.points(), host.points()};
    if (visitorGoals == homeGoals) {
        ++road.ties;
        ++host.ties;
    } else {
        ClubRecord& winner = visitorGoals > homeGoals ? road : host;
        ClubRecord& loser = visitorGoals > homeGoals ? host : road;
        ++winner.wins;
        if (end == GameEnd::Overtime || end == GameEnd::Shootout) {
            ++loser.overtimeLosses;
            winner.overtimeWins += end == GameEnd::Overtime ? 1 : 0;
        } else {
            ++loser.losses;
            ++winner.regulationWins;
        }
    }
    const std::size_t n = codes_.size();
    pointsAgainst_[visitor * n + home] += road.points() - before[0];
    pointsAgainst_[home * n + visitor] += host.points() - before[1];
    ++gamesAgainst_[visitor * n + home];
    ++gamesAgainst_[home * n + visitor];
}

void Standings::rank(std::vector<std::size_t>& clubs) const {
    // Steps 1 to 4 and, for clubs level on them all, steps 6 to 8.
    std::sort(clubs.begin(), clubs.end(), [&](std::size_t a, std::size_t b) {
        if (const int order = compareRecords(records_[a], records_[b])) {
            return order > 0;
        }
        const int differenceA = records_[a].goalsFor - records_[a].goalsAgainst;
        const int differenceB = records_[b].goalsFor - records_[b].goalsAgainst;
        if (differenceA != differenceB) {
            return differenceA > differenceB;
        }
        if (records_[a].goalsFor != records_[b].goalsFor) {
            return records_[a].goalsFor > records_[b].goalsFor;
        }
        return codes_[a] < codes_[b];
    });
    // Step 5 within each run level on steps 1 to 4: the points among the run's clubs come
    // before the goals; a stable sort keeps steps 6 to 8 below it.
    const std::size_t n = codes_.size();
    for (auto first = clubs.begin(); first != clubs.end();) {
        auto last = std::find_if(first + 1, clubs.end(), [&](std::size_t club) {
            return compareRecords(records_[*first], records_[club]) != 0;
        });
        if (last - first > 1) {
            std::vector<std::pair<int, int>> among(n); // points and games against the run
            for (auto a = first; a != last; ++a) {
                for (auto b = first; b != last; ++b) {
                    among[*a].first += pointsAgainst_[*a * n + *b];
                    among[*a].second += gamesAgainst_[*a * n + *b];
                }
            }
            std::stable_sort(first, last, [&](std::size_t a, std::size_t b) {
                return compareShares(among[a].first, 2 * std::int64_t{among[a].second},
                                     among[b].first, 2 * std::int64_t{among[b].second}) > 0;
            });
        }
        first = last;
    }
}

} // namespace zelkor
