#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zelkor {

// The codes a reader writes for the teams it reads.
enum class TeamCodeKind {
    Program, ///< the codes of the built-in rating table (ANA ... WAS, AVG, NAT, WAT)
    League,  ///< the league's own codes as its site writes them today (CGY, MTL, VGK ...)
};

// The league code of a club by its full name, old or new ("Mighty Ducks of Anaheim",
// "Utah Mammoth"), a site's or the databank's abbreviation (T.B, CBS, VEG) or its league
// code, in any case; none when the directory does not know it.
std::optional<std::string> leagueCodeFor(std::string_view team);

// Whether a code is one of the league codes, today's or a moved club's (ATL, PHX, QUE ...).
bool isLeagueCode(std::string_view code);

// Every league code, today's clubs first.
std::span<const std::string_view> leagueCodes();

// The program's code of a league code, as the import has always mapped it; none for a club
// the built-in table does not rate (SEA, VGK, the moved clubs of before 2000).
std::optional<std::string> programCodeForLeague(std::string_view leagueCode);

} // namespace zelkor
