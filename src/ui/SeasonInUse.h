#pragma once

#include "teamdata/SeasonRatings.h"

#include <filesystem>
#include <optional>

#include <QString>
#include <QStringList>

namespace zelkor::ui {

// Season folders the Season menu lists for choosing again.
inline constexpr int MostRecentSeasons = 5;

// The season the windows predict with: its roster folder, its ratings and shootout rules,
// and the season folder they come from (none: the built-in season).
struct SeasonInUse {
    std::filesystem::path rosterFolder;
    RatingsChoice ratings;
    std::optional<std::filesystem::path> folder;
};

// The built-in season: the built-in table over the roster folder chosen at start.
SeasonInUse builtInSeason(std::filesystem::path rosterFolder);

// The season of a folder holding its roster files and ratings.csv. Throws RatingsFileError
// with the reader's message when ratings.csv is missing or cannot be used.
SeasonInUse folderSeason(const std::filesystem::path& folder);

// The recent list with folder put first, once, and cut to MostRecentSeasons.
QStringList withRecentSeason(QStringList recent, const QString& folder);

} // namespace zelkor::ui
