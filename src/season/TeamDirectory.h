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

// The league code of a club as an odds archive writes it: its city, its nickname or both,
// without spaces or dots, or the city's initials and the nickname ("TampaBay", "Tampa",
// "SeattleKraken", "St.Louis", "NYRangers"), in any case. Where several clubs fit, today's
// club if only one of them is; none when no club, or more than one, fits.
std::optional<std::string> leagueCodeForShortName(std::string_view name);

// A club that moved: its league code before and after, and the first season (by the year
// it starts) it played under the new one.
struct ClubMove {
    std::string_view from;
    std::string_view to;
    int season = 0;
};

// The move that made a club, none for a club that did not move (ARI to UTA in 2024, PHX to
// ARI in 2014, ATL to WPG in 2011).
std::optional<ClubMove> moveTo(std::string_view leagueCode);

// The program's code of a league code, as the import has always mapped it; none for a club
// the built-in table does not rate (SEA, VGK, the moved clubs of before 2000).
std::optional<std::string> programCodeForLeague(std::string_view leagueCode);

} // namespace zelkor
