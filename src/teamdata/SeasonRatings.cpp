#include "teamdata/SeasonRatings.h"

#include "teamdata/RatingsFile.h"

#include <system_error>

namespace zelkor {

std::string RatingsChoice::source() const {
    return file ? file->string() : std::string("built-in");
}

RatingsChoice chooseRatings(const std::optional<std::filesystem::path>& givenFile,
                            const std::filesystem::path& rosterFolder) {
    if (givenFile) {
        return {std::make_shared<const RatingTable>(readRatingsFile(*givenFile)), givenFile};
    }
    const std::filesystem::path seasonFile = rosterFolder / RatingsFileName;
    std::error_code error;
    // Anything by that name counts, so that a folder, a broken link or an unreadable folder
    // there is reported rather than passed over for the built-in table.
    if (std::filesystem::symlink_status(seasonFile, error).type() !=
        std::filesystem::file_type::not_found) {
        return {std::make_shared<const RatingTable>(readRatingsFile(seasonFile)), seasonFile};
    }
    return {RatingTable::builtin(), std::nullopt};
}

} // namespace zelkor
