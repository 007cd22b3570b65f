#pragma once

#include "core/Arithmetic.h"
#include "core/Errors.h"
#include "engine/InputChecks.h"
#include "odds/OddsTally.h"
#include "teamdata/RatingTable.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>

namespace zelkor {

// Most series one run plays.
inline constexpr std::uint64_t MostSeriesPerRun = 1'000'000'000;
// Most threads one run uses.
inline constexpr unsigned MostThreads = 1024;

// What to play many series of: the inputs of a face-off, how many series and how.
struct ManySeriesRequest {
    std::string visitor; ///< visiting team code
    std::string home;    ///< home team code
    GaaEntry visitorGaa; ///< checked as the face-off checks the boxes and the state
    GaaEntry homeGaa;
    std::filesystem::path rosterFolder;
    std::uint64_t series = 100'000;
    std::uint64_t baseSeed = 0; ///< series i plays with seed seriesSeed(baseSeed, i)
    unsigned threads = 0;       ///< 0: one per core
    std::shared_ptr<const RatingTable> ratings = nullptr; ///< none: the built-in table
    bool shootout = false;                                ///< level games go to a shootout
    Single shootoutVisitorChance = 0.5f;                  ///< the visitors' chance in one
};

// Why the face-off would refuse the request's teams and GAA values, if it would: the
// check playManySeries makes first, for a front end to make before it starts a run.
std::optional<InputRefusal> requestRefusal(const ManySeriesRequest& request);

// The seed of series index (from 0) of a run with the given base seed: the (index + 1)-th
// output of SplitMix64 started at baseSeed. `zelkor-cli ... --seed` with it replays that
// series alone.
std::uint64_t seriesSeed(std::uint64_t baseSeed, std::uint64_t index);

// The rosters of a many-series run cannot be read; the message ends with the command
// that lists every problem of the folder's roster files.
class RosterUnusableError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A series of a many-series run ended with an error; the message names the series and
// its seed, then the error.
class SeriesFailedError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// Called now and then from the thread that runs playManySeries, with the series done so
// far (in whole chunks, so not a sample of the first ones) and their counts.
using ManySeriesProgress = std::function<void(const OddsTally& soFar)>;

// Checks the inputs as the face-off does, reads the ratings and rosters once, then plays
// request.series series on request.threads threads, each exactly the quiet series the
// face-off would play with its seed, and adds them up. The result does not depend on the
// number of threads. Throws InputRefusedError for inputs the face-off refuses,
// RosterUnusableError for rosters that cannot be read, or SeriesFailedError for the lowest-numbered
// series that failed. None when stop was requested before the end.
std::optional<OddsTally> playManySeries(const ManySeriesRequest& request, std::stop_token stop,
                                        const ManySeriesProgress& progress = {});

} // namespace zelkor
