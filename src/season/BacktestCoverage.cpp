#include "season/BacktestCoverage.h"

#include "core/PredictionState.h"
#include "season/FitGames.h"
#include "season/MessageText.h"
#include "teamdata/RosterCheckHint.h"
#include "teamdata/RosterReader.h"

#include <map>
#include <utility>

namespace zelkor {

void checkRosterCoverage(const std::vector<ResultRow>& results,
                         const std::filesystem::path& rosterFolder) {
    std::string problems;
    for (const std::string& code : clubsOf(results)) {
        PredictionState state;
        try {
            ReadRosters(state, code, code, rosterFolder);
        } catch (const ZelkorError& error) {
            problems += std::string(error.what()) + "\n";
        }
    }
    if (!problems.empty()) {
        throw InputDataError(problems + rosterCheckHint(rosterFolder));
    }
}

std::vector<UnratedClub> unratedClubs(const std::vector<ResultRow>& results,
                                      const RatingTable& table) {
    // Keyed by (home, code): the road clubs first, each venue in code order.
    std::map<std::pair<bool, std::string>, UnratedClub> unrated;
    const auto add = [&unrated](const std::string& code, bool home, int line) {
        const auto [entry, added] =
            unrated.try_emplace({home, code}, UnratedClub{code, home, line, 0});
        if (!added) {
            ++entry->second.otherGames;
        }
    };
    for (const ResultRow& row : results) {
        if (!table.canVisit(row.visitor)) {
            add(row.visitor, false, row.line);
        }
        if (!table.canHost(row.home)) {
            add(row.home, true, row.line);
        }
    }
    std::vector<UnratedClub> clubs;
    for (auto& [key, club] : unrated) {
        clubs.push_back(std::move(club));
    }
    return clubs;
}

void checkRatingCoverage(const std::vector<ResultRow>& results, const RatingTable& table,
                         const std::string& source) {
    const std::vector<UnratedClub> clubs = unratedClubs(results, table);
    if (clubs.empty()) {
        return;
    }
    std::string text = "The ratings in use (" + shownText(source) +
                       ") have no row for these teams of the results:";
    for (const UnratedClub& club : clubs) {
        text += "\n  " + shownText(club.code) + (club.home ? " at home" : " on the road") +
                " (line " + std::to_string(club.firstLine) +
                (club.otherGames > 0 ? " and " + std::to_string(club.otherGames) + " more" : "") +
                ")";
    }
    throw RatingCoverageError(text);
}

} // namespace zelkor
