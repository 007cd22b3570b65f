#pragma once

#include "teamdata/RatingTable.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace zelkor {

// The rating table a prediction uses and where it came from.
struct RatingsChoice {
    std::shared_ptr<const RatingTable> table;
    std::optional<std::filesystem::path> file; ///< none: the built-in table

    // "built-in", or the file's path, as reports name it.
    std::string source() const;
};

// The ratings of a prediction: the file given, else the roster folder's ratings.csv when
// it holds one (a season folder), else the built-in table. Throws RatingsFileError for a
// file that cannot be used.
RatingsChoice chooseRatings(const std::optional<std::filesystem::path>& givenFile,
                            const std::filesystem::path& rosterFolder);

} // namespace zelkor
