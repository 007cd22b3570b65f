#pragma once

#include "teamdata/RatingTable.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// The file of a season folder that turns shootouts on, with each club's shootout record
// (header code,wins,losses; it may hold no rows).
inline constexpr const char* ShootoutsFileName = "shootouts.csv";
inline constexpr const char* ShootoutsHeader = "code,wins,losses";
// More shootouts than any club plays in a season, by far.
inline constexpr int MostShootoutsOfAClub = 1000;

// One club's shootout wins and losses in a season.
struct ShootoutRecord {
    std::string code;
    int wins = 0;
    int losses = 0;
};

// Whether level games go to a shootout, and the clubs' records that weigh it.
struct ShootoutRules {
    bool on = false;
    std::vector<ShootoutRecord> records;

    // The visitors' chance in a shootout: an even draw between two clubs without records,
    // else each club's record, smoothed by one win and one loss, set against the other's.
    float visitorChance(std::string_view visitor, std::string_view home) const;
};

// Reads a shootouts file; throws RatingsFileError naming the file, line and field.
ShootoutRules readShootoutsFile(const std::filesystem::path& path);

// The shootouts file's text for the records.
std::string shootoutsFileText(const std::vector<ShootoutRecord>& records);

// The rating table a prediction uses and where it came from.
struct RatingsChoice {
    std::shared_ptr<const RatingTable> table;
    std::optional<std::filesystem::path> file; ///< none: the built-in table
    ShootoutRules shootouts;                   ///< on when the season folder has shootouts

    // "built-in", or the file's path, as reports name it.
    std::string source() const;
};

// The ratings of a prediction: the file given, else the roster folder's ratings.csv when
// it holds one (a season folder), else the built-in table; with the folder's shootout
// rules. Throws RatingsFileError for a file that cannot be used.
RatingsChoice chooseRatings(const std::optional<std::filesystem::path>& givenFile,
                            const std::filesystem::path& rosterFolder);

} // namespace zelkor
