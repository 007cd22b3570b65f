#include "season/TeamDirectory.h"

#include "season/MessageText.h"
#include "season/TeamCodes.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <set>
#include <vector>

namespace zelkor {

namespace {

// Today's clubs, then those that moved: Atlanta (to Winnipeg), Phoenix (renamed Arizona,
// then to Utah), Quebec, Hartford, the Minnesota North Stars and the first Winnipeg Jets.
constexpr std::string_view LeagueCodes[] = {
    "ANA", "ARI", "BOS", "BUF", "CGY", "CAR", "CHI", "COL", "CBJ", "DAL", "DET", "EDM", "FLA",
    "LAK", "MIN", "MTL", "NSH", "NJD", "NYI", "NYR", "OTT", "PHI", "PIT", "SJS", "SEA", "STL",
    "TBL", "TOR", "UTA", "VAN", "VGK", "WSH", "WPG", "ATL", "PHX", "QUE", "HFD", "MNS", "WIN",
};

// Today's clubs stand first in LeagueCodes.
constexpr std::size_t TodaysClubs = 33;

constexpr ClubMove Moves[] = {
    {"ARI", "UTA", 2024},
    {"PHX", "ARI", 2014},
    {"ATL", "WPG", 2011},
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

// A name's letters, upper case, without anything else.
std::string lettersOf(std::string_view name) {
    std::string letters;
    for (const char c : name) {
        if (std::isalpha(static_cast<unsigned char>(c)) != 0) {
            letters += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
    }
    return letters;
}

// Whether a short name fits a full name: its city (the first words), its nickname (the last
// words), both, or the city's initials and the nickname.
bool fitsFullName(const std::string& name, std::string_view fullName) {
    std::vector<std::string> words;
    std::size_t from = 0;
    while (from <= fullName.size()) {
        const std::size_t space = std::min(fullName.find(' ', from), fullName.size());
        if (const std::string word = lettersOf(fullName.substr(from, space - from));
            !word.empty()) {
            words.push_back(word);
        }
        from = space + 1;
    }
    std::string whole;
    for (const std::string& word : words) {
        whole += word;
    }
    if (name == whole) {
        return true;
    }
    std::string city;
    std::string initials;
    for (std::size_t split = 1; split < words.size(); ++split) {
        city += words[split - 1];
        initials += words[split - 1].front();
        const std::string nickname = whole.substr(city.size());
        if (name == city || name == nickname || name == initials + nickname) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<std::string> leagueCodeForShortName(std::string_view name) {
    const std::string letters = lettersOf(name);
    if (letters.empty()) {
        return std::nullopt;
    }
    std::set<std::string_view> fits;
    for (const DirectoryEntry& entry : Directory) {
        if (entry.team.find(' ') != std::string_view::npos && fitsFullName(letters, entry.team)) {
            fits.insert(entry.code);
        }
    }
    std::vector<std::string_view> todays;
    for (const std::string_view code : fits) {
        const auto at = std::find(std::begin(LeagueCodes), std::end(LeagueCodes), code);
        if (static_cast<std::size_t>(at - std::begin(LeagueCodes)) < TodaysClubs) {
            todays.push_back(code);
        }
    }
    if (todays.size() == 1) {
        return std::string(todays.front());
    }
    if (todays.empty() && fits.size() == 1) {
        return std::string(*fits.begin());
    }
    return std::nullopt;
}

std::optional<ClubMove> moveTo(std::string_view leagueCode) {
    for (const ClubMove& move : Moves) {
        if (move.to == leagueCode) {
            return move;
        }
    }
    return std::nullopt;
}

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
