#include "season/TeamTotalsFile.h"

#include "engine/InputChecks.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "teamdata/SeasonRatings.h"

#include <charconv>
#include <set>
#include <system_error>

namespace zelkor {

namespace {

// Far beyond any club's season total (penalty minutes reach a few thousand).
constexpr int MostTotal = 100'000;

enum TotalsColumn { YearField, TeamIdField, NameField, FirstFigureField };

struct Figure {
    CsvColumn column;
    std::optional<int> TeamTotals::*member;
};

const std::vector<Figure>& figures() {
    static const std::vector<Figure> list{
        {{"games", {"G", "GP", "gamesPlayed"}, false}, &TeamTotals::games},
        {{"goals for", {"GF", "goalsFor"}, false}, &TeamTotals::goalsFor},
        {{"goals against", {"GA", "goalsAgainst"}, false}, &TeamTotals::goalsAgainst},
        {{"penalty minutes", {"PIM"}, false}, &TeamTotals::penaltyMinutes},
        {{"power-play goals", {"PPG", "PP"}, false}, &TeamTotals::powerPlayGoals},
        {{"power-play chances", {"PPC", "PPO"}, false}, &TeamTotals::powerPlayChances},
        {{"power-play goals against", {"PKG", "PPA"}, false}, &TeamTotals::powerPlayGoalsAgainst},
        {{"times short-handed", {"PKC", "TSH", "PPOA"}, false}, &TeamTotals::timesShortHanded},
        {{"short-handed goals for", {"SHF", "SHG", "SH"}, false}, &TeamTotals::shortHandedGoalsFor},
        {{"short-handed goals against", {"SHA"}, false}, &TeamTotals::shortHandedGoalsAgainst},
        {{"shootout wins", {"SoW"}, false}, &TeamTotals::shootoutWins},
        {{"shootout losses", {"SoL"}, false}, &TeamTotals::shootoutLosses},
    };
    return list;
}

// The columns, in the order of TotalsColumn and then of figures().
std::vector<CsvColumn> totalsColumns() {
    std::vector<CsvColumn> columns{{"year", {"year", "season"}, false},
                                   {"team code", {"tmID", "Tm", "teamAbbrev"}, false},
                                   {"team name", {"name", "team", "teamFullName"}, false}};
    for (const Figure& figure : figures()) {
        columns.push_back(figure.column);
    }
    return columns;
}

std::optional<int> countOf(std::string_view text, const std::string& place) {
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0 ||
        value > MostTotal) {
        throw InputDataError(place + "'" + shownText(text) + "' is not a whole number from 0 to " +
                             std::to_string(MostTotal) + ".");
    }
    return value;
}

// The header is the first row naming a team column: findHeader needs a required one.
std::optional<CsvHeader> totalsHeader(const std::vector<CsvRow>& rows,
                                      std::vector<CsvColumn> columns) {
    for (const std::size_t team : {TeamIdField, NameField}) {
        columns[team].required = true;
        if (std::optional<CsvHeader> header = findHeader(rows, columns)) {
            return header;
        }
        columns[team].required = false;
    }
    return std::nullopt;
}

} // namespace

std::map<std::string, TeamTotals> readTeamTotals(const std::vector<CsvRow>& rows,
                                                 const std::string& label, const TeamCodeMap& codes,
                                                 std::optional<int> year) {
    const std::vector<CsvColumn> columns = totalsColumns();
    const std::optional<CsvHeader> header = totalsHeader(rows, columns);
    if (!header) {
        throw InputDataError(label + " has no header row naming the team column (tmID or name).");
    }
    const auto field = [&](const CsvRow& row, std::size_t column) {
        return fieldAt(row, header->columns[column]);
    };
    const std::size_t teamColumn = header->columns[TeamIdField] ? TeamIdField : NameField;
    // A site's table marks the clubs that reached the playoffs with a '*' after the name.
    const auto teamName = [&](const CsvRow& row) {
        std::string_view name = field(row, teamColumn);
        while (name.ends_with('*')) {
            name.remove_suffix(1);
        }
        return name;
    };

    // 1. The year to read: the file's only one, or the one asked for.
    std::vector<const CsvRow*> chosen;
    std::set<std::string> years;
    for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        // Blank rows, the league's own row, and the header repeated inside long tables.
        if (field(row, teamColumn).empty() ||
            upperCase(field(row, teamColumn)).starts_with("LEAGUE") ||
            upperCase(field(row, teamColumn)) == upperCase(field(rows[header->row], teamColumn))) {
            continue;
        }
        years.insert(std::string(field(row, YearField)));
        if (!year || field(row, YearField) == std::to_string(*year)) {
            chosen.push_back(&row);
        }
    }
    if (!year && years.size() > 1) {
        throw InputDataError(label + " holds " + std::to_string(years.size()) + " years (from " +
                             shownText(*years.begin()) + " to " + shownText(*years.rbegin()) +
                             "); choose one.");
    }
    if (year && chosen.empty()) {
        throw InputDataError(label + " holds no team of the year " + std::to_string(*year) + ".");
    }

    // 2. Every team's code, so that all unknown ones are named at once.
    std::string unknown;
    for (const CsvRow* row : chosen) {
        if (!codes.codeFor(teamName(*row))) {
            unknown +=
                "\n  line " + std::to_string(row->line) + ": '" + shownText(teamName(*row)) + "'";
        }
    }
    if (!unknown.empty()) {
        throw InputDataError(label +
                             " names teams without a code (write each as a code or a name "
                             "the program knows, or map it to a code):" +
                             unknown);
    }

    // 3. The figures, each checked as the reader of what it becomes will check it.
    std::map<std::string, TeamTotals> totals;
    const std::size_t headerFields = rows[header->row].fields.size();
    for (const CsvRow* row : chosen) {
        TeamTotals team;
        team.code = *codes.codeFor(teamName(*row));
        team.line = row->line;
        const std::string where = filePlace(label, row->line);
        // A row cut short leaves its last figures blank, which would read as not given.
        if (row->fields.size() < headerFields) {
            throw InputDataError(where + "the row of " + team.code + " ends after " +
                                 std::to_string(row->fields.size()) + " of the header's " +
                                 std::to_string(headerFields) + " fields; the file seems cut off.");
        }
        for (std::size_t k = 0; k < figures().size(); ++k) {
            const Figure& figure = figures()[k];
            team.*figure.member = countOf(field(*row, FirstFigureField + k),
                                          filePlace(label, row->line, figure.column.names.front()));
        }
        for (const auto& [record, name] : {std::pair{team.shootoutWins, "shootout wins"},
                                           std::pair{team.shootoutLosses, "shootout losses"}}) {
            if (record > MostShootoutsOfAClub) {
                throw InputDataError(filePlace(label, row->line, name) + "'" +
                                     std::to_string(*record) + "' for " + team.code +
                                     " are more than the " + std::to_string(MostShootoutsOfAClub) +
                                     " that a season folder's shootouts file takes.");
            }
        }
        // A prediction divides by the goalie's average that the club's goals against give.
        if (team.games > 0 && team.goalsAgainst) {
            const double average = double(*team.goalsAgainst) / *team.games;
            if (const GaaProblem problem = gaaProblem(average); problem != GaaProblem::None) {
                throw InputDataError(filePlace(label, row->line, "GA") + "'" +
                                     std::to_string(*team.goalsAgainst) + "' over " +
                                     std::to_string(*team.games) + " games gives " + team.code +
                                     " a goals-against average that a prediction refuses: " +
                                     gaaProblemText(problem, gaaEntry(Single(average)).text) + ".");
            }
        }
        const auto [entry, added] = totals.try_emplace(team.code, team);
        if (!added) {
            throw InputDataError(where + "team " + team.code + " is listed again (first on line " +
                                 std::to_string(entry->second.line) + ").");
        }
    }
    return totals;
}

} // namespace zelkor
