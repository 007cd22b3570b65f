#pragma once

#include "season/TeamDirectory.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// The program's team code for a statistics site's team abbreviation (either case), from
// the one table of known variants; none when the table does not know it.
std::optional<std::string> teamCodeFor(std::string_view abbreviation);

// Whether a code names a team of the built-in rating table, as a visitor or at home.
bool isTeamCode(std::string_view code);

// Whether a team field stands for a player's season total over several teams ("TOT",
// "2TM", "TOR, MTL") rather than one team.
bool isTotalRow(std::string_view team);

// Why an ABBR=CODE mapping of the command line cannot be used (CODE must be of the kind
// written); empty when it can.
std::string teamMappingProblem(std::string_view mapping, TeamCodeKind kind = TeamCodeKind::Program);

// The kind of codes a set of team codes (a roster folder's files, a ratings file's rows) is
// written in: League when one is a league code the program does not use (MTL, VGK) and none
// a program code the league does not use (MON, AVG); Program the other way round; none when
// they do not tell.
std::optional<TeamCodeKind> codeKindOf(const std::vector<std::string>& codes);

// codeKindOf the names of a folder's files that are team codes of either kind (a roster
// folder); none when it cannot be listed.
std::optional<TeamCodeKind> codeKindOfFolder(const std::filesystem::path& folder);

// The codes a reader writes: extra abbreviations a user maps on the command line, as
// "ABBR=CODE" texts, then the tables. Throws InputDataError for a text that is not of that
// form or names no code of the kind.
class TeamCodeMap {
public:
    explicit TeamCodeMap(const std::vector<std::string>& extras = {},
                         TeamCodeKind kind = TeamCodeKind::Program);

    // The user's mapping first; then, for program codes, the old abbreviation table; then
    // the team directory (full names too).
    std::optional<std::string> codeFor(std::string_view team) const;

    TeamCodeKind kind() const { return kind_; }

private:
    std::vector<std::pair<std::string, std::string>> extras_;
    TeamCodeKind kind_;
};

} // namespace zelkor
