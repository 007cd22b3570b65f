#include "season/MovedClubs.h"

#include "season/TeamDirectory.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

namespace zelkor {

namespace {

std::set<std::string> clubsOf(const std::vector<ResultRow>& games) {
    std::set<std::string> clubs;
    for (const ResultRow& row : games) {
        clubs.insert(row.visitor);
        clubs.insert(row.home);
    }
    return clubs;
}

// The nearest predecessor that has, and the first season of the move that made the club.
std::optional<std::pair<std::string, int>>
predecessorWith(const std::string& club, const std::function<bool(const std::string&)>& has) {
    const std::optional<ClubMove> move = moveTo(club);
    if (!move) {
        return std::nullopt;
    }
    for (std::optional<ClubMove> step = move; step; step = moveTo(step->from)) {
        if (has(std::string(step->from))) {
            return std::pair{std::string(step->from), move->season};
        }
    }
    return std::nullopt;
}

MovedClubNote& noteOf(std::vector<MovedClubNote>& notes, const std::string& club,
                      const std::string& predecessor, int season) {
    const auto found = std::find_if(notes.begin(), notes.end(),
                                    [&](const MovedClubNote& note) { return note.club == club; });
    if (found != notes.end()) {
        return *found;
    }
    notes.push_back({club, predecessor, season});
    return notes.back();
}

} // namespace

std::vector<MovedClubNote> playMovedClubsAsPredecessors(std::vector<ResultRow>& games,
                                                        const std::filesystem::path& rosterFolder) {
    std::vector<MovedClubNote> notes;
    const auto hasRoster = [&](const std::string& code) {
        std::error_code error;
        return std::filesystem::is_regular_file(rosterFolder / code, error);
    };
    for (const std::string& club : clubsOf(games)) {
        if (hasRoster(club)) {
            continue;
        }
        if (const auto predecessor = predecessorWith(club, hasRoster)) {
            noteOf(notes, club, predecessor->first, predecessor->second).roster = true;
            for (ResultRow& row : games) {
                row.visitor = row.visitor == club ? predecessor->first : row.visitor;
                row.home = row.home == club ? predecessor->first : row.home;
            }
        }
    }
    return notes;
}

std::shared_ptr<const RatingTable> priorWithMovedClubs(const RatingTable& prior,
                                                       const std::vector<ResultRow>& games,
                                                       std::vector<MovedClubNote>& notes) {
    std::vector<RatedTeam> road = prior.road();
    std::vector<RatedTeam> home = prior.home();
    const auto rated = [&](const std::string& code) {
        return prior.canVisit(code) && prior.canHost(code);
    };
    for (const std::string& club : clubsOf(games)) {
        if (prior.canVisit(club) || prior.canHost(club)) {
            continue;
        }
        if (const auto predecessor = predecessorWith(club, rated)) {
            noteOf(notes, club, predecessor->first, predecessor->second).ratings = true;
            road.push_back({club, *prior.roadRating(predecessor->first)});
            home.push_back({club, *prior.homeRating(predecessor->first)});
        }
    }
    return std::make_shared<const RatingTable>(std::move(road), std::move(home));
}

void eloWithMovedClubs(EloRatings& ratings, const std::vector<ResultRow>& games,
                       std::vector<MovedClubNote>& notes) {
    const auto rated = [&](const std::string& code) { return ratings.contains(code); };
    for (const std::string& club : clubsOf(games)) {
        if (rated(club)) {
            continue;
        }
        if (const auto predecessor = predecessorWith(club, rated)) {
            noteOf(notes, club, predecessor->first, predecessor->second).elo = true;
            ratings[club] = ratings[predecessor->first];
        }
    }
}

} // namespace zelkor
