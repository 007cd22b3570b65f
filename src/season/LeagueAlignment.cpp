#include "season/LeagueAlignment.h"

#include "season/CsvFile.h"
#include "season/MessageText.h"
#include "season/PlayoffPlaces.h"
#include "season/TeamCodes.h"
#include "teamdata/RatingsFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <set>

namespace zelkor {

namespace {

constexpr int SwitchMonth =
    7; // a season's games start in autumn: July and later are its first half
constexpr int StoppedSeason = 2019; // stopped in March 2020, ended with a 24-club tournament

struct FormatEntry {
    PlayoffFormat format;
    std::string_view name;
    std::string_view meaning;
};

constexpr std::array Formats{
    FormatEntry{PlayoffFormat::WildCard, "wild-card",
                "three places in each division and two wild cards in each conference"},
    FormatEntry{PlayoffFormat::DivisionTopFour, "division-top-four",
                "the top four of each division"},
    FormatEntry{PlayoffFormat::ConferenceTopEight, "conference-top-eight",
                "the top eight of each conference, division winners seeded first"},
};

// A division of a built-in alignment: its conference, name and clubs (league codes).
struct BuiltinDivision {
    std::string_view conference;
    std::string_view division;
    std::vector<std::string_view> clubs;
};

std::vector<BuiltinDivision> season2000() {
    return {
        {"Eastern", "Atlantic", {"NJD", "NYI", "NYR", "PHI", "PIT"}},
        {"Eastern", "Northeast", {"BOS", "BUF", "MTL", "OTT", "TOR"}},
        {"Eastern", "Southeast", {"ATL", "CAR", "FLA", "TBL", "WSH"}},
        {"Western", "Central", {"CBJ", "CHI", "DET", "NSH", "STL"}},
        {"Western", "Northwest", {"CGY", "COL", "EDM", "MIN", "VAN"}},
        {"Western", "Pacific", {"ANA", "DAL", "LAK", "PHX", "SJS"}},
    };
}

// The four temporary divisions of 2020-21; each is its own conference.
std::vector<BuiltinDivision> season2020() {
    return {
        {"North", "North", {"CGY", "EDM", "MTL", "OTT", "TOR", "VAN", "WPG"}},
        {"West", "West", {"ANA", "ARI", "COL", "LAK", "MIN", "SJS", "STL", "VGK"}},
        {"Central", "Central", {"CAR", "CBJ", "CHI", "DAL", "DET", "FLA", "NSH", "TBL"}},
        {"East", "East", {"BOS", "BUF", "NJD", "NYI", "NYR", "PHI", "PIT", "WSH"}},
    };
}

// 2013-14 on, but 2020-21: Phoenix renamed Arizona from 2014-15, Vegas from 2017-18,
// Seattle from 2021-22 (Arizona to the Central), Utah in Arizona's place from 2024-25.
std::vector<BuiltinDivision> fourDivisions(int year) {
    std::vector<BuiltinDivision> divisions{
        {"Eastern", "Atlantic", {"BOS", "BUF", "DET", "FLA", "MTL", "OTT", "TBL", "TOR"}},
        {"Eastern", "Metropolitan", {"CAR", "CBJ", "NJD", "NYI", "NYR", "PHI", "PIT", "WSH"}},
        {"Western", "Central", {"CHI", "COL", "DAL", "MIN", "NSH", "STL", "WPG"}},
        {"Western", "Pacific", {"ANA", "CGY", "EDM", "LAK", "SJS", "VAN"}},
    };
    const std::string_view arizona = year == 2013 ? "PHX" : year >= 2024 ? "UTA" : "ARI";
    auto& central = divisions[2].clubs;
    auto& pacific = divisions[3].clubs;
    (year >= 2021 ? central : pacific).push_back(arizona);
    if (year >= 2017) {
        pacific.push_back("VGK");
    }
    if (year >= 2021) {
        pacific.push_back("SEA");
    }
    for (auto& division : divisions) {
        std::sort(division.clubs.begin(), division.clubs.end());
    }
    return divisions;
}

LeagueAlignment alignmentOf(const std::vector<BuiltinDivision>& divisions, PlayoffFormat format,
                            TeamCodeKind kind) {
    LeagueAlignment alignment;
    alignment.format = format;
    for (const BuiltinDivision& division : divisions) {
        for (const std::string_view club : division.clubs) {
            std::string code(club);
            if (kind == TeamCodeKind::Program) {
                code = programCodeForLeague(club).value_or(code);
            }
            alignment.clubs.push_back(
                {code, std::string(division.conference), std::string(division.division)});
        }
    }
    return alignment;
}

std::string joinedLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return text;
}

std::string knownFormats() {
    std::string text;
    for (const FormatEntry& entry : Formats) {
        text += "\n  " + std::string(entry.name) + ": " + std::string(entry.meaning);
    }
    return text;
}

std::optional<PlayoffFormat> formatNamed(std::string_view name) {
    for (const FormatEntry& entry : Formats) {
        if (entry.name == name) {
            return entry.format;
        }
    }
    return std::nullopt;
}

} // namespace

std::string_view playoffFormatName(PlayoffFormat format) {
    for (const FormatEntry& entry : Formats) {
        if (entry.format == format) {
            return entry.name;
        }
    }
    return {};
}

int seasonStartYear(std::string_view date) {
    int year = 0;
    int month = 0;
    std::from_chars(date.data(), date.data() + std::min<std::size_t>(4, date.size()), year);
    if (date.size() >= 7) {
        std::from_chars(date.data() + 5, date.data() + 7, month);
    }
    return month >= SwitchMonth ? year : year - 1;
}

std::string seasonName(int startYear) {
    const int next = (startYear + 1) % 100;
    return std::to_string(startYear) + "-" + (next < 10 ? "0" : "") + std::to_string(next);
}

std::optional<LeagueAlignment> builtinAlignment(int startYear, TeamCodeKind kind) {
    if (startYear == 2000) {
        return alignmentOf(season2000(), PlayoffFormat::ConferenceTopEight, kind);
    }
    if (startYear == StoppedSeason) {
        throw AlignmentError("The 2019-20 season was stopped in March 2020 and its playoffs "
                             "were played by 24 clubs chosen by points percentage on that "
                             "day, a format the outlook does not play; replay it as of a "
                             "day before March 12, 2020, with a " +
                             std::string(DivisionsFileName) + " and " + PlayoffFormatFileName +
                             " of your own in the season folder.");
    }
    if (startYear == 2020) {
        return alignmentOf(season2020(), PlayoffFormat::DivisionTopFour, kind);
    }
    if (startYear >= 2013) {
        return alignmentOf(fourDivisions(startYear), PlayoffFormat::WildCard, kind);
    }
    return std::nullopt;
}

std::string divisionsFileText(const LeagueAlignment& alignment) {
    std::string text = std::string(DivisionsHeader) + "\n";
    for (const ClubAlignment& club : alignment.clubs) {
        text += club.code + "," + club.conference + "," + club.division + "\n";
    }
    return text;
}

std::string playoffFormatFileText(PlayoffFormat format) {
    return std::string(playoffFormatName(format)) + "\n";
}

std::vector<std::pair<std::string, std::string>>
alignmentFiles(const std::vector<ResultRow>& games) {
    if (games.empty()) {
        return {};
    }
    std::optional<LeagueAlignment> alignment;
    try {
        alignment = builtinAlignment(seasonStartYear(games.front().date), TeamCodeKind::League);
    } catch (const AlignmentError&) {
        return {}; // a season without a format of ours: the user writes the files
    }
    if (!alignment) {
        return {};
    }
    std::set<std::string> aligned;
    for (const ClubAlignment& club : alignment->clubs) {
        aligned.insert(club.code);
    }
    for (const ResultRow& game : games) {
        if (!aligned.contains(game.visitor) || !aligned.contains(game.home)) {
            return {};
        }
    }
    return {{DivisionsFileName, divisionsFileText(*alignment)},
            {PlayoffFormatFileName, playoffFormatFileText(alignment->format)}};
}

LeagueAlignment parseAlignment(std::string_view divisionsText, std::string_view formatText,
                               const std::string& divisionsLabel, const std::string& formatLabel) {
    LeagueAlignment alignment;
    std::vector<std::string> problems;

    // A file of one word, as an editor leaves it: line ends and blanks around it.
    const std::size_t from = formatText.find_first_not_of(" \t\r\n");
    const std::string formatName(
        from == std::string_view::npos
            ? std::string_view{}
            : formatText.substr(from, formatText.find_last_not_of(" \t\r\n") + 1 - from));
    if (const auto format = formatNamed(formatName)) {
        alignment.format = *format;
    } else if (formatName.empty()) {
        problems.push_back(formatLabel +
                           " names no playoff format; write one of:" + knownFormats());
    } else {
        problems.push_back(formatLabel + " names the playoff format '" + shownText(formatName) +
                           "', which is none of:" + knownFormats());
    }

    static const std::vector<CsvColumn> columns{
        {"code", {"code"}, true},
        {"conference", {"conference"}, true},
        {"division", {"division"}, true},
    };
    const std::vector<CsvRow> rows = parseCsv(divisionsText, divisionsLabel);
    const std::optional<CsvHeader> header = findHeader(rows, columns);
    if (!header) {
        throw AlignmentError(missingHeaderMessage(rows, columns, divisionsLabel));
    }
    std::map<std::string, int> firstLine;
    std::map<std::string, std::pair<std::string, int>> conferenceOfDivision;
    for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        const std::string where = filePlace(divisionsLabel, row.line);
        const std::string code(fieldAt(row, header->columns[0]));
        const std::string conference(fieldAt(row, header->columns[1]));
        const std::string division(fieldAt(row, header->columns[2]));
        if (code.empty() || conference.empty() || division.empty()) {
            problems.push_back(filePlace(divisionsLabel, row.line,
                                         code.empty()         ? "code"
                                         : conference.empty() ? "conference"
                                                              : "division") +
                               "it is empty.");
            continue;
        }
        if (const auto [first, fresh] = firstLine.emplace(code, row.line); !fresh) {
            problems.push_back(where + shownText(code) + " is listed twice (first on line " +
                               std::to_string(first->second) + ").");
            continue;
        }
        if (const auto [known, fresh] =
                conferenceOfDivision.emplace(division, std::pair{conference, row.line});
            !fresh && known->second.first != conference) {
            problems.push_back(where + "the division " + shownText(division) + " is in the " +
                               shownText(conference) + " conference here, but in the " +
                               shownText(known->second.first) + " conference on line " +
                               std::to_string(known->second.second) + ".");
            continue;
        }
        alignment.clubs.push_back({code, conference, division});
    }
    if (alignment.clubs.size() > MostClubs) {
        problems.push_back(divisionsLabel + " lists more than " + std::to_string(MostClubs) +
                           " clubs.");
    }
    if (alignment.clubs.empty() && problems.empty()) {
        problems.push_back(divisionsLabel + " lists no club.");
    }
    if (problems.empty()) {
        for (const std::string& problem : formatProblems(alignment)) {
            problems.push_back(divisionsLabel + ": " + problem);
        }
    }
    if (!problems.empty()) {
        throw AlignmentError(joinedLines(problems));
    }
    return alignment;
}

std::optional<LeagueAlignment> readAlignment(const std::filesystem::path& folder) {
    const std::filesystem::path divisions = folder / DivisionsFileName;
    const std::filesystem::path format = folder / PlayoffFormatFileName;
    std::error_code unknown;
    if (!std::filesystem::exists(divisions, unknown)) {
        return std::nullopt;
    }
    const std::string divisionsLabel = fileLabel("Divisions", divisions);
    const std::string formatLabel = fileLabel("Playoffs", format);
    if (!std::filesystem::exists(format, unknown)) {
        throw AlignmentError(formatLabel + " is missing beside " + DivisionsFileName +
                             ": write one of these formats into it:" + knownFormats());
    }
    return parseAlignment(readSmallTextFile(divisions, "Divisions"),
                          readSmallTextFile(format, "Playoffs"), divisionsLabel, formatLabel);
}

} // namespace zelkor
