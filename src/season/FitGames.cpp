#include "season/FitGames.h"

#include "season/DataErrors.h"
#include "season/MessageText.h"

#include <algorithm>
#include <set>

namespace zelkor {

std::optional<std::string> beforeDateProblem(std::string_view text) {
    if (isDate(text)) {
        return std::nullopt;
    }
    return "The date '" + shownText(text) +
           "' is not a date of the form YYYY-MM-DD, like 2001-01-15.";
}

std::vector<ResultRow> gamesBefore(std::vector<ResultRow> games, std::string_view before) {
    if (before.empty()) {
        return games;
    }
    if (const auto problem = beforeDateProblem(before)) {
        throw InputDataError(*problem);
    }
    std::vector<ResultRow> kept;
    for (ResultRow& game : games) {
        // Dates of the one form compare as days.
        if (game.date < before) {
            kept.push_back(std::move(game));
        }
    }
    return kept;
}

void checkGamesToFit(const std::vector<ResultRow>& games, const std::filesystem::path& file,
                     std::string_view before) {
    if (games.empty()) {
        throw InputDataError(fileLabel(ResultsFileKind, file) + " lists no game" +
                             (before.empty() ? "" : " before " + shownText(before)) +
                             " to fit the ratings to.");
    }
}

bool hadShootouts(const std::vector<ResultRow>& games) {
    return std::any_of(games.begin(), games.end(),
                       [](const ResultRow& game) { return game.end == GameEnd::Shootout; });
}

std::vector<std::string> clubsOf(const std::vector<ResultRow>& games) {
    std::set<std::string> clubs;
    for (const ResultRow& game : games) {
        clubs.insert(game.visitor);
        clubs.insert(game.home);
    }
    return {clubs.begin(), clubs.end()};
}

} // namespace zelkor
