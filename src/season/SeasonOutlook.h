#pragma once

#include "core/Arithmetic.h"
#include "core/Errors.h"
#include "season/LeagueAlignment.h"
#include "season/RatingsFit.h"
#include "season/Schedule.h"
#include "season/Standings.h"
#include "teamdata/RatingTable.h"
#include "teamdata/SeasonRatings.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {

// Seasons an outlook plays unless asked otherwise, and the most it plays.
inline constexpr std::uint64_t DefaultOutlookSeasons = 10'000;
inline constexpr std::uint64_t MostOutlookSeasons = 10'000'000;
// The goalies' average every game of an outlook is played with: a club's usual goalie, as
// the season fit rates each club's goaltending inside its defence.
inline constexpr Single OutlookGaa = static_cast<Single>(DefaultGaa);

// What an outlook plays: a season folder's rosters and ratings, its alignment and the
// schedule as it stands on a day.
struct OutlookRequest {
    std::filesystem::path rosterFolder;
    std::shared_ptr<const RatingTable> ratings; ///< none: the built-in table
    ShootoutRules shootouts;                    ///< off: a game level after overtime is a tie
    LeagueAlignment alignment;
    Schedule schedule;
    std::uint64_t seasons = DefaultOutlookSeasons;
    std::uint64_t baseSeed = 0; ///< season i plays with seriesSeed(baseSeed, i)
    unsigned threads = 0;       ///< 0: one per core
};

// The inputs of an outlook cannot be used; the message lists every problem, one a line.
class OutlookInputError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// A simulated season failed; the message names it, its seed and the error.
class OutlookFailedError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// Every problem of the request, one a line: a club of the schedule without a roster, a
// road or home rating, or a place in the alignment; a club of the alignment without a
// game; a roster file the reader refuses; seasons out of range. Empty when none.
std::vector<std::string> outlookProblems(const OutlookRequest& request);

// One club's season so far and at its end.
struct ClubOutlook {
    std::string code;
    std::string conference;
    std::string division;
    ClubRecord soFar;
    int gamesLeft = 0;
    double meanPoints = 0;                  ///< final points, mean over the seasons
    int points5 = 0;                        ///< the 5th percentile of the final points
    int points95 = 0;                       ///< the 95th percentile
    int points25 = 0;                       ///< the 25th percentile
    int pointsMedian = 0;                   ///< the 50th percentile
    int points75 = 0;                       ///< the 75th percentile
    double playoffs = 0;                    ///< the chance of a playoff place
    double divisionTitle = 0;               ///< of the first place of its division
    double mostPoints = 0;                  ///< of the first place of the league
    double fewestPoints = 0;                ///< of the last place of the league
    std::vector<double> conferencePlace;    ///< [k]: the chance of place k + 1 of its conference
    std::vector<std::uint64_t> finalPoints; ///< [p]: seasons it ended with p points
};

// One player of a roster: his goals so far and at the end.
struct PlayerOutlook {
    std::string club;
    int row = 0; ///< 1 to 18
    std::string name;
    // The roster's goals, taken as those so far; when the roster's most games played
    // exceed the club's games so far, its goals times the club's games so far over them.
    int goals = 0;
    double projectedGoals = 0; ///< so far plus the mean of the rest
    double goalLeader = 0;     ///< the chance of the most goals in the league (shared when level)
};

// What the seasons add up to.
struct SeasonOutlook {
    std::uint64_t seasons = 0;
    std::uint64_t seed = 0;
    PlayoffFormat format = PlayoffFormat::WildCard;
    std::size_t gamesPlayed = 0;
    std::size_t gamesLeft = 0;
    // By conference and division in the alignment's order, each division by mean final
    // points (then the standings so far): the order the front ends show.
    std::vector<ClubOutlook> clubs;
    // By projected goals, most first; then goals so far, club and row.
    std::vector<PlayerOutlook> players;
};

// Called now and then from the thread that runs the outlook with the seasons done.
using OutlookProgress = std::function<void(std::uint64_t done, std::uint64_t total)>;

// Checks the request (OutlookInputError with every problem), reads the rosters and
// ratings once, then plays the games left of each season once, in date order, with the
// engine's game: season i on one generator seeded with seriesSeed(baseSeed, i). The
// figures are exact per seed and do not depend on the number of threads. None when stop
// was requested before the end; OutlookFailedError for the lowest-numbered season that
// failed.
std::optional<SeasonOutlook> playOutlook(const OutlookRequest& request, std::stop_token stop,
                                         const OutlookProgress& progress = {});

// Where an outlook's inputs come from, as a user names them.
struct OutlookSource {
    std::filesystem::path folder;   ///< the season folder: rosters, ratings, alignment
    std::filesystem::path schedule; ///< a results file: games without a score are to play
    std::string asOf;               ///< YYYY-MM-DD: games on or after it are to play; empty: none
    // How the schedule names its clubs; none: the league's codes for a season folder with
    // ratings.csv, the program's for the built-in season.
    std::optional<TeamCodeKind> codes;
};

// A request read from its source, and where its ratings and alignment came from.
struct SourcedOutlook {
    OutlookRequest request;
    std::string ratings;   ///< "built-in" or the ratings file
    std::string alignment; ///< the divisions file, or the league's alignment of the season
};

// Reads the folder's ratings, shootout rule and alignment (its divisions and playoffs
// files, else the league's alignment of the schedule's season) and the schedule, and
// checks them as outlookProblems does. Throws OutlookInputError listing every problem
// found; the seasons, seed and threads are left for the caller.
SourcedOutlook readOutlookSource(const OutlookSource& source);

} // namespace zelkor
