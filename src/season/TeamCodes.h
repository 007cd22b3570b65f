#pragma once

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

// Extra abbreviations a user maps to codes on the command line, as "ABBR=CODE" texts.
// Throws InputDataError for a text that is not of that form or names no team code.
// Why an ABBR=CODE mapping of the command line cannot be used; empty when it can.
std::string teamMappingProblem(std::string_view mapping);

class TeamCodeMap {
public:
    explicit TeamCodeMap(const std::vector<std::string>& extras = {});

    // The user's mapping first, then the table.
    std::optional<std::string> codeFor(std::string_view abbreviation) const;

private:
    std::vector<std::pair<std::string, std::string>> extras_;
};

} // namespace zelkor
