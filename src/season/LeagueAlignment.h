#pragma once

#include "core/Errors.h"
#include "season/ResultsFile.h"
#include "season/TeamDirectory.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zelkor {

// The files of a season folder that say who plays for what: one row per club
// (code,conference,division), and the playoff format as one word.
inline constexpr const char* DivisionsFileName = "divisions.csv";
inline constexpr const char* DivisionsHeader = "code,conference,division";
inline constexpr const char* PlayoffFormatFileName = "playoffs.txt";
// More clubs than a league has, by far.
inline constexpr std::size_t MostClubs = 100;

// Who reaches the playoffs.
enum class PlayoffFormat {
    WildCard,           ///< three places in each division, two wild cards in each conference
    DivisionTopFour,    ///< the top four of each division
    ConferenceTopEight, ///< the top eight of each conference, division winners seeded first
};

// The word a playoffs file holds for a format.
std::string_view playoffFormatName(PlayoffFormat format);

// One club's place in the league.
struct ClubAlignment {
    std::string code;
    std::string conference;
    std::string division;
};

// The clubs of a season by conference and division, and its playoff format.
struct LeagueAlignment {
    std::vector<ClubAlignment> clubs; ///< in the order the file (or the league) lists them
    PlayoffFormat format = PlayoffFormat::WildCard;
};

// A divisions or playoffs file cannot be used, or a season has no alignment; the message
// names the file and says what to do.
class AlignmentError : public ZelkorError {
public:
    using ZelkorError::ZelkorError;
};

// The year a season begins by one of its dates (YYYY-MM-DD): games from July on belong to
// the season beginning that year, earlier ones to the season before.
int seasonStartYear(std::string_view date);

// "2021-22" for 2021.
std::string seasonName(int startYear);

// The league's alignment of the season beginning startYear, in the codes of kind (program
// codes: the built-in table's, as the sample rosters are named): 2000-01, and every season
// from 2013-14 on. None for a season it does not hold. Throws AlignmentError for 2019-20,
// whose playoffs the league played in a format of its own.
std::optional<LeagueAlignment> builtinAlignment(int startYear, TeamCodeKind kind);

// The text of the two files for an alignment.
std::string divisionsFileText(const LeagueAlignment& alignment);
std::string playoffFormatFileText(PlayoffFormat format);

// The files a season build writes for the season of the games (by the first game's date),
// as (name, text), when the league's alignment of that season holds every club of the
// games; none otherwise.
std::vector<std::pair<std::string, std::string>>
alignmentFiles(const std::vector<ResultRow>& games);

// The alignment of a season folder: its divisions and playoffs files. None when the
// folder has no divisions file. Throws AlignmentError naming the file and every problem:
// a missing column or field, a club listed twice, a division in two conferences, a
// missing or unknown format, divisions too small for the format.
std::optional<LeagueAlignment> readAlignment(const std::filesystem::path& folder);

// The same checks on texts; label names the files in messages.
LeagueAlignment parseAlignment(std::string_view divisionsText, std::string_view formatText,
                               const std::string& divisionsLabel, const std::string& formatLabel);

} // namespace zelkor
