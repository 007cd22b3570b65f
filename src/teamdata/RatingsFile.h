#pragma once

#include "core/Errors.h"
#include "teamdata/RatingTable.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zelkor {

// The ratings file a season folder holds beside its roster files.
inline constexpr const char* RatingsFileName = "ratings.csv";

// The header of a ratings file; the columns may stand in any order.
inline constexpr const char* RatingsHeader =
    "code,venue,offence,penalty,power_play,short_handed,defence";

// A ratings file cannot be opened, read or used; the message names the file, the line
// and the field.
class RatingsFileError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// Reads a ratings file's text (label names it in messages): one row per code and venue
// ("road" or "home"), each value the single nearest to its decimal. Refuses a missing
// column, a duplicate code and venue, a value that is not a finite number at or above 0,
// a penalty chance above 1, a rating a prediction cannot play (unplayableRating), a code that is
// not 1 to 8 letters and digits, more than MostRatingsRows rows and a text over
// MostRatingsFileBytes.
RatingTable parseRatings(std::string_view text, const std::string& label);

// parseRatings of a file, opened without waiting on a pipe or device.
RatingTable readRatingsFile(const std::filesystem::path& path);

// A code a ratings file may give a team: 1 to 8 ASCII letters and digits, so that it can
// also name a roster file.
bool isRatingsCode(std::string_view code);

// The text of a small data file of a season folder, opened without waiting on a pipe or
// device; kind ("Ratings") names the file in messages (fileLabel). Throws RatingsFileError, also
// for a file over MostRatingsFileBytes.
std::string readSmallTextFile(const std::filesystem::path& path, const std::string& kind);

// The table as a ratings file: the road rows, then the home rows, each value in the
// shortest decimal that reads back as the same single.
std::string ratingsFileText(const RatingTable& table);

// The largest power-play and short-handed ratings a prediction can play: a power play's
// multipliers, the rating times 1.6249 (power play) or 0.1912 (short-handed) rounded, must
// fit in a 16-bit integer.
inline constexpr float MostPowerPlayRating = 20165;
inline constexpr float MostShortHandedRating = 171378;

// Why a prediction cannot play the rating, naming its field and value, if it cannot.
std::optional<std::string> unplayableRating(const TeamRating& rating);

inline constexpr std::size_t MostRatingsRows = 1000;
inline constexpr std::size_t MostRatingsFileBytes = 1024 * 1024;

} // namespace zelkor
