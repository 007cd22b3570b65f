#include "ui/SeasonInUse.h"

#include "teamdata/RatingsFile.h"

#include <system_error>
#include <utility>

namespace zelkor::ui {

SeasonInUse builtInSeason(std::filesystem::path rosterFolder) {
    return {std::move(rosterFolder), RatingsChoice{RatingTable::builtin(), std::nullopt, {}},
            std::nullopt};
}

SeasonInUse folderSeason(const std::filesystem::path& folder) {
    // Absolute, so that the recent list and the help text name it whatever the working
    // directory is later.
    std::error_code unknown;
    std::filesystem::path absolute = std::filesystem::absolute(folder, unknown).lexically_normal();
    if (unknown) {
        absolute = folder;
    }
    if (!absolute.has_filename()) {
        absolute = absolute.parent_path();
    }
    // Naming ratings.csv makes its absence an error instead of the built-in table.
    RatingsChoice ratings = chooseRatings(absolute / RatingsFileName, absolute);
    return {absolute, std::move(ratings), absolute};
}

QStringList withRecentSeason(QStringList recent, const QString& folder) {
    recent.removeAll(folder);
    recent.prepend(folder);
    while (recent.size() > MostRecentSeasons) {
        recent.removeLast();
    }
    return recent;
}

} // namespace zelkor::ui
