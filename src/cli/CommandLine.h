#pragma once

#include "core/Arithmetic.h"
#include "engine/InputChecks.h"
#include "teamdata/RatingTable.h"
#include "teamdata/SeasonRatings.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace zelkor {

// What one call of zelkor-cli asks for.
struct CommandLineOptions {
    std::string visitor;                ///< visiting team code, exactly as typed
    std::string home;                   ///< home team code, exactly as typed
    GaaEntry visitorGaa;                ///< the visiting GAA as typed, its value above 0
    GaaEntry homeGaa;                   ///< the home GAA as typed, its value above 0
    std::filesystem::path rosterFolder; ///< --rosters; empty: not given, to be searched for
    std::optional<std::uint64_t> seed;  ///< fixed seed; none: seeded from the clock
    bool json = false;                  ///< one JSON object instead of text
    std::optional<std::filesystem::path> ratingsFile; ///< --ratings; none: the season's or built-in
    std::shared_ptr<const RatingTable> ratings;       ///< the table chosen for the run
    std::string ratingsSource;                        ///< "built-in" or the file, for reports
    bool shootout = false;                            ///< --shootout: level games go to a shootout
    ShootoutRules shootouts; ///< the season's shootout rules, on with --shootout

    // Many series instead of one, for the odds.
    std::optional<std::uint64_t> series;  ///< --series: how many; none: one series with its log
    unsigned threads = 0;                 ///< --threads; 0: one per core
    std::optional<double> offeredVisitor; ///< --offered-visitor, as decimal odds
    std::optional<double> offeredHome;    ///< --offered-home, as decimal odds
};

// Parses the arguments. Help, version and usage errors are printed here (help and version
// on stdout, errors on stderr) and give the exit status to end with instead of options.
std::variant<CommandLineOptions, int> parseCommandLine(int argc, const char* const* argv);

} // namespace zelkor
