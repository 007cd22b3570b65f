#include "season/TeamCodes.h"

#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "teamdata/TeamRatings.h"

#include <algorithm>
#include <array>
#include <utility>

namespace zelkor {

namespace {

struct Abbreviation {
    std::string_view abbreviation;
    std::string_view code;
};

// The abbreviations of the two big statistics sites and of older seasons, and the
// program's code of each club. Every code also stands for itself (see teamCodeFor). A
// club that moved keeps its code: its ratings belong to the franchise.
constexpr std::array Abbreviations{
    Abbreviation{"MDA", "ANA"}, Abbreviation{"WPG", "ATL"}, Abbreviation{"CGY", "CAL"},
    Abbreviation{"CLB", "CBJ"}, Abbreviation{"FLA", "FLO"}, Abbreviation{"L.A", "LAK"},
    Abbreviation{"LA", "LAK"},  Abbreviation{"MTL", "MON"}, Abbreviation{"NSH", "NAS"},
    Abbreviation{"N.J", "NJD"}, Abbreviation{"NJ", "NJD"},  Abbreviation{"PHX", "PHO"},
    Abbreviation{"ARI", "PHO"}, Abbreviation{"UTA", "PHO"}, Abbreviation{"S.J", "SJS"},
    Abbreviation{"SJ", "SJS"},  Abbreviation{"STL", "SLB"}, Abbreviation{"T.B", "TBL"},
    Abbreviation{"TB", "TBL"},  Abbreviation{"WSH", "WAS"},
};

// A season total over several teams: "TOT", or a count of teams and "TM" ("2TM").
bool isTeamCount(std::string_view team) {
    return team.size() >= 3 && team.ends_with("TM") &&
           std::all_of(team.begin(), team.end() - 2, [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<std::string> teamCodeFor(std::string_view abbreviation) {
    const std::string upper = upperCase(trimmed(abbreviation));
    if (isTeamCode(upper)) {
        return upper;
    }
    for (const Abbreviation& entry : Abbreviations) {
        if (entry.abbreviation == upper) {
            return std::string(entry.code);
        }
    }
    return std::nullopt;
}

bool isTeamCode(std::string_view code) {
    return isRoadTeamCode(code) || isHomeTeamCode(code);
}

bool isTotalRow(std::string_view team) {
    const std::string upper = upperCase(trimmed(team));
    return upper == "TOT" || isTeamCount(upper) || upper.find_first_of(",/ ") != std::string::npos;
}

std::string teamMappingProblem(std::string_view mapping, TeamCodeKind kind) {
    const auto equals = mapping.find('=');
    const bool league = kind == TeamCodeKind::League;
    if (equals == std::string_view::npos || trimmed(mapping.substr(0, equals)).empty()) {
        return "'" + shownText(mapping) + "' is not ABBR=CODE" +
               (league ? ", e.g. SEA=SEA." : ", e.g. SEA=AVG.");
    }
    const std::string code = upperCase(trimmed(mapping.substr(equals + 1)));
    if (league ? !isLeagueCode(code) : !isTeamCode(code)) {
        return "'" + shownText(mapping) + "' is not ABBR=CODE with " +
               (league ? "a league code, e.g. VEG=VGK."
                       : "a team code of the program, e.g. SEA=AVG.");
    }
    return {};
}

std::optional<TeamCodeKind> codeKindOf(const std::vector<std::string>& codes) {
    bool leagueOnly = false;
    bool programOnly = false;
    for (const std::string& code : codes) {
        leagueOnly = leagueOnly || (isLeagueCode(code) && !isTeamCode(code));
        programOnly = programOnly || (isTeamCode(code) && !isLeagueCode(code));
    }
    if (leagueOnly == programOnly) {
        return std::nullopt;
    }
    return leagueOnly ? TeamCodeKind::League : TeamCodeKind::Program;
}

std::optional<TeamCodeKind> codeKindOfFolder(const std::filesystem::path& folder) {
    std::vector<std::string> codes;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if ((isLeagueCode(name) || isTeamCode(name)) && entry->is_regular_file(error)) {
            codes.push_back(name);
        }
    }
    return codeKindOf(codes);
}

TeamCodeMap::TeamCodeMap(const std::vector<std::string>& extras, TeamCodeKind kind) : kind_(kind) {
    for (const std::string& extra : extras) {
        if (const std::string problem = teamMappingProblem(extra, kind); !problem.empty()) {
            throw InputDataError(problem);
        }
        const auto equals = extra.find('=');
        extras_.emplace_back(upperCase(trimmed(extra.substr(0, equals))),
                             upperCase(trimmed(extra.substr(equals + 1))));
    }
}

std::optional<std::string> TeamCodeMap::codeFor(std::string_view team) const {
    const std::string upper = upperCase(trimmed(team));
    for (const auto& [from, to] : extras_) {
        if (from == upper) {
            return to;
        }
    }
    if (kind_ == TeamCodeKind::League) {
        return leagueCodeFor(upper);
    }
    if (std::optional<std::string> code = teamCodeFor(upper)) {
        return code;
    }
    const std::optional<std::string> league = leagueCodeFor(upper);
    return league ? programCodeForLeague(*league) : std::nullopt;
}

} // namespace zelkor
