#include "season/TeamDirectory.h"

#include "season/MessageText.h"
#include "season/TeamCodes.h"

#include <algorithm>
#include <iterator>

namespace zelkor {

namespace {

// Today's clubs, then those that moved: Atlanta (to Winnipeg), Phoenix (renamed Arizona,
// then to Utah), Quebec, Hartford, the Minnesota North Stars and the first Winnipeg Jets.
constexpr std::string_view LeagueCodes[] = {
    "ANA", "ARI", "BOS", "BUF", "CGY", "CAR", "CHI", "COL", "CBJ", "DAL", "DET", "EDM", "FLA",
    "LAK", "MIN", "MTL", "NSH", "NJD", "NYI", "NYR", "OTT", "PHI", "PIT", "SJS", "SEA", "STL",
    "TBL", "TOR", "UTA", "VAN", "VGK", "WSH", "WPG", "ATL", "PHX", "QUE", "HFD", "MNS", "WIN",
};

struct DirectoryEntry {
    std::string_view team; ///< a full name or an abbreviation
    std::string_view code; ///< its league code
};

// Full names of every era and the abbreviations of the sites and the databank. "Winnipeg
// Jets" is today's club; the first one is known by its code WIN only.
constexpr DirectoryEntry Directory[] = {
    {"Anaheim Ducks", "ANA"},
    {"Mighty Ducks of Anaheim", "ANA"},
    {"Arizona Coyotes", "ARI"},
    {"Phoenix Coyotes", "PHX"},
    {"Utah Hockey Club", "UTA"},
    {"Utah Mammoth", "UTA"},
    {"Atlanta Thrashers", "ATL"},
    {"Boston Bruins", "BOS"},
    {"Buffalo Sabres", "BUF"},
    {"Calgary Flames", "CGY"},
    {"Carolina Hurricanes", "CAR"},
    {"Chicago Blackhawks", "CHI"},
    {"Chicago Black Hawks", "CHI"},
    {"Colorado Avalanche", "COL"},
    {"Columbus Blue Jackets", "CBJ"},
    {"Dallas Stars", "DAL"},
    {"Detroit Red Wings", "DET"},
    {"Edmonton Oilers", "EDM"},
    {"Florida Panthers", "FLA"},
    {"Los Angeles Kings", "LAK"},
    {"Minnesota Wild", "MIN"},
    {"Minnesota North Stars", "MNS"},
    {"Montreal Canadiens", "MTL"},
    {"Montréal Canadiens", "MTL"},
    {"Nashville Predators", "NSH"},
    {"New Jersey Devils", "NJD"},
    {"New York Islanders", "NYI"},
    {"New York Rangers", "NYR"},
    {"Ottawa Senators", "OTT"},
    {"Philadelphia Flyers", "PHI"},
    {"Pittsburgh Penguins", "PIT"},
    {"San Jose Sharks", "SJS"},
    {"Seattle Kraken", "SEA"},
    {"St. Louis Blues", "STL"},
    {"St Louis Blues", "STL"},
    {"Tampa Bay Lightning", "TBL"},
    {"Toronto Maple Leafs", "TOR"},
    {"Vancouver Canucks", "VAN"},
    {"Vegas Golden Knights", "VGK"},
    {"Washington Capitals", "WSH"},
    {"Winnipeg Jets", "WPG"},
    {"Quebec Nordiques", "QUE"},
    {"Hartford Whalers", "HFD"},
    {"MDA", "ANA"},
    {"AND", "ANA"},
    {"PHO", "PHX"},
    {"CAL", "CGY"},
    {"CBS", "CBJ"},
    {"CLB", "CBJ"},
    {"FLO", "FLA"},
    {"L.A", "LAK"},
    {"LA", "LAK"},
    {"MON", "MTL"},
    {"NAS", "NSH"},
    {"N.J", "NJD"},
    {"NJ", "NJD"},
    {"S.J", "SJS"},
    {"SJ", "SJS"},
    {"SLB", "STL"},
    {"T.B", "TBL"},
    {"TB", "TBL"},
    {"WAS", "WSH"},
    {"VEG", "VGK"},
    {"HAR", "HFD"},
    {"UTAH", "UTA"},
};

} // namespace

std::optional<std::string> leagueCodeFor(std::string_view team) {
    const std::string upper = upperCase(trimmed(team));
    if (isLeagueCode(upper)) {
        return upper;
    }
    for (const DirectoryEntry& entry : Directory) {
        if (upperCase(entry.team) == upper) {
            return std::string(entry.code);
        }
    }
    return std::nullopt;
}

bool isLeagueCode(std::string_view code) {
    return std::find(std::begin(LeagueCodes), std::end(LeagueCodes), code) != std::end(LeagueCodes);
}

std::span<const std::string_view> leagueCodes() {
    return LeagueCodes;
}

std::optional<std::string> programCodeForLeague(std::string_view leagueCode) {
    if (!isLeagueCode(leagueCode)) {
        return std::nullopt;
    }
    // The old abbreviation table already maps each league code it knows.
    return teamCodeFor(leagueCode);
}

} // namespace zelkor
