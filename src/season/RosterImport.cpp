#include "season/RosterImport.h"

#include "core/PredictionState.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "teamdata/StagedFolder.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <tuple>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

// Far beyond any career's games, goals or assists; small enough that the sums of a
// player's rows cannot overflow.
constexpr int MostCount = 10'000;
constexpr int Forwards = 12;                          // forwards a team sheet lists
constexpr int Defencemen = PlayersPerTeam - Forwards; // and defencemen

enum StatisticsColumn {
    PlayerField,
    TeamField,
    PositionField,
    GamesField,
    GoalsField,
    AssistsField,
    SeasonField
};

// The statistics columns, in the order of StatisticsColumn: the short names of the sites' tables
// and the long ones of the league's own export.
const std::vector<CsvColumn>& statisticsColumns() {
    static const std::vector<CsvColumn> columns{
        {"player", {"Player", "Name", "Skater", "skaterFullName"}, true},
        {"team", {"Tm", "Team", "teamAbbrevs"}, false},
        {"position", {"Pos", "Position", "positionCode"}, true},
        {"games played", {"GP", "gamesPlayed"}, true},
        {"goals", {"G", "goals"}, true},
        {"assists", {"A", "assists"}, true},
        {"season", {"Season", "year", "seasonId"}, false},
    };
    return columns;
}

enum class PositionKind { Forward, Defence, Goalie, Unknown };

PositionKind positionKind(std::string_view position) {
    const std::string upper = upperCase(position);
    // A player listed at several positions ("C/LW", "D, LW") counts at the first.
    const std::string first = upper.substr(0, upper.find_first_of("/,; -"));
    if (first == "G" || first == "GK" || first == "GOALIE") {
        return PositionKind::Goalie;
    }
    if (first == "D" || first == "LD" || first == "RD" || first == "DEF" || first == "DEFENCE" ||
        first == "DEFENSE") {
        return PositionKind::Defence;
    }
    if (first == "FWD" || first == "FORWARD" ||
        (!first.empty() && first.find_first_not_of("CLRWF") == std::string::npos)) {
        return PositionKind::Forward;
    }
    return PositionKind::Unknown;
}

// Some sites append an identifier ("Name\id01") or a mark ("Name*") to the name.
std::string playerName(std::string_view field) {
    field = field.substr(0, field.find('\\'));
    while (!field.empty() && field.back() == '*') {
        field.remove_suffix(1);
    }
    return std::string(trimmed(field));
}

// place names the file, line and column; who, the player.
int countOf(std::string_view field, const std::string& place, const std::string& who) {
    if (field.empty()) {
        return 0;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc{} || end != field.data() + field.size() || value < 0 ||
        value > MostCount) {
        throw InputDataError(place + "'" + shownText(field) + "' (" + who +
                             ") is not a whole number from 0 to " + std::to_string(MostCount) +
                             ".");
    }
    return value;
}

// More points first; ties by goals, then games played, more first, then by name.
bool ranksBefore(const Skater& a, const Skater& b) {
    if (a.points() != b.points()) {
        return a.points() > b.points();
    }
    if (a.goals != b.goals) {
        return a.goals > b.goals;
    }
    if (a.games != b.games) {
        return a.games > b.games;
    }
    return a.name < b.name;
}

std::string plural(std::size_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

bool hasSeasonColumn(const std::vector<CsvRow>& rows) {
    const std::optional<CsvHeader> header = findHeader(rows, statisticsColumns());
    return header && header->columns[SeasonField].has_value();
}

SkaterStatistics readSkaterStatistics(const std::vector<CsvRow>& rows, const std::string& label,
                                      const TeamCodeMap& codes,
                                      const std::optional<std::string>& soleTeam,
                                      const std::optional<std::string>& season) {
    const std::vector<CsvColumn>& columns = statisticsColumns();
    const std::optional<CsvHeader> header = findHeader(rows, columns);
    if (!header) {
        throw InputDataError(missingHeaderMessage(rows, columns, label));
    }
    const bool hasTeams = header->columns[TeamField].has_value();
    if (!hasTeams && !soleTeam) {
        throw InputDataError(label + " has no team column (Tm, Team or teamAbbrevs); name the team "
                                     "with --team.");
    }

    const std::optional<std::size_t> seasonColumn = header->columns[SeasonField];
    if (season && !seasonColumn) {
        throw InputDataError(label + " has no season column (Season, year or seasonId) to "
                                     "choose a season from.");
    }
    if (seasonColumn && !season) {
        std::set<std::string> seasons;
        for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
            const std::string_view value = fieldAt(rows[index], seasonColumn);
            if (!value.empty() && !fieldAt(rows[index], header->columns[PlayerField]).empty() &&
                !repeatsHeader(rows[index], rows[header->row], *header, columns)) {
                seasons.insert(std::string(value));
            }
        }
        if (seasons.size() > 1) {
            throw InputDataError(label + " holds " + std::to_string(seasons.size()) +
                                 " seasons (from " + shownText(*seasons.begin()) + " to " +
                                 shownText(*seasons.rbegin()) + "); choose one with --season.");
        }
    }

    SkaterStatistics statistics;
    bool seasonFound = false;
    for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        const auto field = [&](StatisticsColumn column) {
            return fieldAt(row, header->columns[column]);
        };
        // Blank separator rows and the header repeated inside long tables.
        if (field(PlayerField).empty() || repeatsHeader(row, rows[header->row], *header, columns)) {
            continue;
        }
        if (season) {
            if (field(SeasonField) != trimmed(*season)) {
                continue;
            }
            seasonFound = true;
        }
        const std::string_view team = hasTeams ? field(TeamField) : std::string_view(*soleTeam);
        if (isTotalRow(team)) {
            continue;
        }
        const std::string who = shownText(playerName(field(PlayerField)));
        const auto place = [&](std::string_view column) {
            return filePlace(label, row.line, column);
        };
        const PositionKind kind = positionKind(field(PositionField));
        if (kind == PositionKind::Goalie) {
            continue;
        }
        if (kind == PositionKind::Unknown) {
            throw InputDataError(place("position") + "'" + shownText(field(PositionField)) + "' (" +
                                 who +
                                 ") is not a forward's (C, LW, RW, F, W), a defenceman's (D) "
                                 "or a goalie's (G).");
        }
        const std::optional<std::string> code = codes.codeFor(team);
        if (!code) {
            const std::string unknown = upperCase(team);
            if (std::find(statistics.unknownTeams.begin(), statistics.unknownTeams.end(),
                          unknown) == statistics.unknownTeams.end()) {
                statistics.unknownTeams.push_back(unknown);
            }
            continue;
        }
        Skater skater;
        skater.name = playerName(field(PlayerField));
        skater.listedName = std::string(trimmed(field(PlayerField)));
        skater.team = *code;
        skater.position = std::string(field(PositionField));
        skater.role = kind == PositionKind::Defence ? SkaterRole::Defence : SkaterRole::Forward;
        skater.games = countOf(field(GamesField), place("games played"), who);
        skater.goals = countOf(field(GoalsField), place("goals"), who);
        skater.assists = countOf(field(AssistsField), place("assists"), who);
        skater.line = row.line;
        statistics.skaters.push_back(std::move(skater));
    }
    if (season && !seasonFound) {
        throw InputDataError(label + " lists no player of the season '" + shownText(*season) +
                             "'.");
    }
    return statistics;
}

ImportedRoster chooseRoster(const std::string& code, const std::vector<Skater>& skaters) {
    // One entry per player of the team; a second row of the same player adds up.
    std::map<std::tuple<std::string, std::string, SkaterRole>, Skater> players;
    for (const Skater& skater : skaters) {
        if (skater.team != code) {
            continue;
        }
        const auto [entry, added] =
            players.try_emplace({skater.listedName, skater.name, skater.role}, skater);
        if (!added) {
            const auto add = [&](int& total, int more, const char* what) {
                if (total + more > MostCount) {
                    throw InputDataError("Team " + code + ": the rows of " +
                                         shownText(skater.name) + " add up to more than " +
                                         std::to_string(MostCount) + " " + what + ".");
                }
                total += more;
            };
            add(entry->second.games, skater.games, "games played");
            add(entry->second.goals, skater.goals, "goals");
            add(entry->second.assists, skater.assists, "assists");
        }
    }
    std::vector<Skater> forwards;
    std::vector<Skater> defence;
    for (const auto& [key, skater] : players) {
        (skater.role == SkaterRole::Defence ? defence : forwards).push_back(skater);
    }
    const std::size_t available = forwards.size() + defence.size();
    if (available < static_cast<std::size_t>(PlayersPerTeam)) {
        throw InputDataError("Team " + code + " has only " +
                             plural(available, "skater", "skaters") + " in the file (" +
                             plural(forwards.size(), "forward", "forwards") + ", " +
                             plural(defence.size(), "defenceman", "defencemen") +
                             "); a roster needs " + std::to_string(PlayersPerTeam) + ".");
    }
    std::sort(forwards.begin(), forwards.end(), ranksBefore);
    std::sort(defence.begin(), defence.end(), ranksBefore);

    ImportedRoster roster{code, {}, {}};
    // Whichever group is short, the other fills in.
    std::size_t defenceTaken = std::min<std::size_t>(Defencemen, defence.size());
    std::size_t forwardsTaken =
        std::min<std::size_t>(PlayersPerTeam - defenceTaken, forwards.size());
    defenceTaken = PlayersPerTeam - forwardsTaken;
    if (defenceTaken < static_cast<std::size_t>(Defencemen)) {
        roster.notes.push_back(
            "Team " + code + " lists only " + plural(defenceTaken, "defenceman", "defencemen") +
            "; " + plural(forwardsTaken - Forwards, "forward fills", "forwards fill") + " in.");
    } else if (forwardsTaken < static_cast<std::size_t>(Forwards)) {
        roster.notes.push_back(
            "Team " + code + " lists only " + plural(forwardsTaken, "forward", "forwards") + "; " +
            plural(defenceTaken - Defencemen, "defenceman fills", "defencemen fill") + " in.");
    }
    roster.players.assign(forwards.begin(), forwards.begin() + static_cast<long>(forwardsTaken));
    roster.players.insert(roster.players.end(), defence.begin(),
                          defence.begin() + static_cast<long>(defenceTaken));
    std::sort(roster.players.begin(), roster.players.end(), ranksBefore);

    int assists = 0;
    std::map<std::string, int> lineOfName;
    for (const Skater& player : roster.players) {
        if (const auto problem = rosterNameProblem(player.name)) {
            throw InputDataError("Team " + code + ": the player on line " +
                                 std::to_string(player.line) + " (" +
                                 shownText(player.name.empty() ? player.listedName : player.name) +
                                 ") cannot be written: " + *problem +
                                 (player.name.empty() && !player.listedName.empty()
                                      ? " once the site's marks are taken off"
                                      : "") +
                                 ".");
        }
        if (const auto [same, added] = lineOfName.try_emplace(player.name, player.line); !added) {
            roster.notes.push_back("Team " + code + ": lines " + std::to_string(same->second) +
                                   " and " + std::to_string(player.line) + " both name '" +
                                   shownText(player.name) +
                                   "' once the site's marks are taken off; they are kept as two "
                                   "players.");
        }
        if (player.games == 0) {
            throw InputDataError("Team " + code + ": " + shownText(player.name) + " (line " +
                                 std::to_string(player.line) +
                                 ") has 0 games played; a roster needs every player's games.");
        }
        assists += player.assists;
    }
    if (assists == 0) {
        throw InputDataError("Team " + code +
                             ": the assists of its 18 best players add up to 0; "
                             "the program needs some assists to rate the team's finishing.");
    }
    return roster;
}

std::vector<RosterLine> rosterLines(const ImportedRoster& roster) {
    std::vector<RosterLine> lines;
    for (const Skater& player : roster.players) {
        lines.push_back({player.name, player.games, player.goals, player.assists});
    }
    return lines;
}

FolderImport importRosters(const SkaterStatistics& statistics, std::vector<std::string> teams,
                           const fs::path& folder, bool replace,
                           const std::function<bool()>& stopRequested) {
    FolderImport done;
    done.skippedTeams = statistics.unknownTeams;
    if (teams.empty()) {
        std::set<std::string> found;
        for (const Skater& skater : statistics.skaters) {
            found.insert(skater.team);
        }
        teams.assign(found.begin(), found.end());
    }
    // 1. Every roster chosen and every target checked before any file is written.
    std::string problems;
    const auto note = [&problems](const std::string& problem) {
        problems += std::string(problems.empty() ? "" : "\n") + problem;
    };
    for (const std::string& team : teams) {
        const bool listed = std::any_of(statistics.skaters.begin(), statistics.skaters.end(),
                                        [&](const Skater& skater) { return skater.team == team; });
        try {
            if (!listed) {
                throw InputDataError("The file lists no skater of team " + team + ".");
            }
            done.rosters.push_back(chooseRoster(team, statistics.skaters));
        } catch (const ZelkorError& error) {
            note(error.what());
        }
    }
    if (teams.empty()) {
        problems = "The file lists no skater of a known team.";
    }
    for (const ImportedRoster& roster : done.rosters) {
        if (const auto problem = rosterTargetProblem(folder, roster.code, replace)) {
            note(*problem);
        }
    }
    if (!problems.empty()) {
        throw InputDataError(problems + "\nNo roster file was written.");
    }
    // 2. The folder locked (the lock creates it, so it waits for rosters worth writing) and
    // its targets checked under the lock.
    StagedFolder staged(folder);
    for (const ImportedRoster& roster : done.rosters) {
        if (const auto problem = rosterTargetProblem(folder, roster.code, replace)) {
            note(*problem);
        }
    }
    if (!problems.empty()) {
        throw InputDataError(problems + "\nNo roster file was written.");
    }
    // 3. The files beside the folder, then all of them in place in one step.
    std::vector<RosterWrite> written;
    for (const ImportedRoster& roster : done.rosters) {
        if (stopRequested && stopRequested()) {
            done.stopped = true;
            done.rosters.clear();
            return done;
        }
        try {
            written.push_back(staged.addRoster(roster.code, rosterFileText(rosterLines(roster))));
        } catch (const RosterWriteError& error) {
            throw RosterWriteError(std::string(error.what()) + "\nNo roster file was written.");
        }
    }
    if (stopRequested && stopRequested()) {
        done.stopped = true;
        done.rosters.clear();
        return done;
    }
    staged.commit();
    done.written = std::move(written);
    return done;
}

} // namespace zelkor
