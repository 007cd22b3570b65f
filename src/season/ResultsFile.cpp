#include "season/ResultsFile.h"

#include "engine/InputChecks.h"
#include "odds/OddsFigures.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "teamdata/TeamRatings.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <map>
#include <system_error>
#include <tuple>

namespace zelkor {

namespace {

constexpr int MostGoals = 99;          // more than any team has scored in a game, by far
constexpr std::size_t DateLength = 10; // YYYY-MM-DD
constexpr std::size_t LinesShown = 8;  // lines listed per unknown team

enum ResultColumn {
    DateField,
    VisitorField,
    HomeField,
    VisitorGoalsField,
    HomeGoalsField,
    ResultField,
    VisitorGaaField,
    HomeGaaField,
    VisitorOddsField,
    HomeOddsField,
};

// The columns, in the order of ResultColumn.
const std::vector<CsvColumn>& resultColumns() {
    static const std::vector<CsvColumn> columns{
        {"date", {"date"}, true},
        {"visitor", {"visitor"}, true},
        {"home", {"home"}, true},
        {"visitor_goals", {"visitor_goals"}, false},
        {"home_goals", {"home_goals"}, false},
        {"result", {"result"}, false},
        {"visitor_gaa", {"visitor_gaa"}, false},
        {"home_gaa", {"home_gaa"}, false},
        {"visitor_odds", {"visitor_odds"}, false},
        {"home_odds", {"home_odds"}, false},
    };
    return columns;
}

// The site's table names both goal columns G and leaves the result's unnamed: they are
// found by where they stand.
bool readSiteLayout(const CsvRow& header, CsvHeader& where) {
    const auto named = [&](std::size_t index, std::string_view name) {
        return index < header.fields.size() && upperCase(trimmed(header.fields[index])) == name;
    };
    const std::size_t visitor = *where.columns[VisitorField];
    const std::size_t home = *where.columns[HomeField];
    if (!named(visitor + 1, "G") || !named(home + 1, "G")) {
        return false;
    }
    where.columns[VisitorGoalsField] = visitor + 1;
    where.columns[HomeGoalsField] = home + 1;
    if (named(home + 2, "")) {
        where.columns[ResultField] = home + 2;
    }
    return true;
}

// A whole number of goals; scrapers write 4 as 4.0.
int goalsOf(std::string_view text, const std::string& place) {
    std::string_view whole = text.substr(0, text.find('.'));
    const std::string_view fraction =
        whole.size() < text.size() ? text.substr(whole.size() + 1) : std::string_view{};
    int goals = 0;
    const auto [end, error] = std::from_chars(whole.data(), whole.data() + whole.size(), goals);
    if (whole.empty() || error != std::errc{} || end != whole.data() + whole.size() || goals < 0 ||
        fraction.find_first_not_of('0') != std::string_view::npos ||
        (whole.size() < text.size() && fraction.empty())) {
        throw InputDataError(place + "'" + shownText(text) + "' is not a whole number of goals.");
    }
    if (goals > MostGoals) {
        throw InputDataError(place + "'" + shownText(text) + "' is more than " +
                             std::to_string(MostGoals) + " goals.");
    }
    return goals;
}

// The command line's check of --gaa-visitor and --gaa-home: the face-off divides by it.
Single gaaOf(std::string_view text, Single defaultGaa, const std::string& place) {
    if (text.empty()) {
        return defaultGaa;
    }
    const GaaReading reading = readGaa(text);
    if (reading.problem != GaaProblem::None) {
        throw InputDataError(place + gaaProblemText(reading.problem, text) + ".");
    }
    return reading.value;
}

// How the game ended by its result and score. siteLayout: the site leaves a game decided
// in regulation without a result.
GameEnd endOf(const std::string& result, bool level, bool siteLayout, const std::string& place) {
    if (result == "T" || (level && (result == "OT" || result.empty()))) {
        if (!level) {
            throw InputDataError(place + "'T' is a tie, but the score is not level.");
        }
        return GameEnd::Tie;
    }
    if (result == "REG" || result == "SO") {
        if (level) {
            throw InputDataError(place + "'" + result + "' has a winner, but the score is level.");
        }
        return result == "REG" ? GameEnd::Regulation : GameEnd::Shootout;
    }
    if (result == "OT") {
        return GameEnd::Overtime;
    }
    if (result.empty()) {
        return siteLayout ? GameEnd::Regulation : GameEnd::Unknown;
    }
    throw InputDataError(place + "'" + shownText(result) + "' is none of REG, OT, SO and T.");
}

} // namespace

std::string_view resultText(GameEnd end) {
    switch (end) {
    case GameEnd::Regulation:
        return "REG";
    case GameEnd::Overtime:
        return "OT";
    case GameEnd::Shootout:
        return "SO";
    case GameEnd::Tie:
        return "T";
    case GameEnd::Unknown:
        break;
    }
    return "";
}

namespace {

// A team the map does not know: where it first stands and every line it is on.
struct UnknownTeam {
    std::string firstPlace;
    std::vector<int> lines;
};

std::string unknownTeamsMessage(const std::string& label,
                                const std::vector<std::pair<std::string, UnknownTeam>>& teams,
                                TeamCodeKind kind) {
    std::string text = label + " names " + std::to_string(teams.size()) +
                       (teams.size() == 1 ? " team" : " teams") + " without a code:";
    for (const auto& [name, team] : teams) {
        text += "\n  " + team.firstPlace + " '" + shownText(name) + "' is not a team code" +
                (kind == TeamCodeKind::Program ? " of the program" : " of the league") +
                " nor a known name";
        if (team.lines.size() > 1) {
            text += " (lines";
            for (std::size_t k = 0; k < team.lines.size() && k < LinesShown; ++k) {
                text += " " + std::to_string(team.lines[k]);
            }
            text += team.lines.size() > LinesShown ? " ...)" : ")";
        }
    }
    // The front ends that take mappings of names to codes name their own control for it.
    return text + "\nWrite each as a code or a name the program knows, or map it to a code.";
}

} // namespace

ResultsFile readResults(const std::vector<CsvRow>& rows, const std::string& label,
                        const TeamCodeMap& codes, Single defaultGaa) {
    const std::vector<CsvColumn>& columns = resultColumns();
    std::optional<CsvHeader> header = findHeader(rows, columns);
    if (!header) {
        throw InputDataError(missingHeaderMessage(rows, columns, label));
    }
    bool siteLayout = false;
    if (!(header->columns[VisitorGoalsField] && header->columns[HomeGoalsField])) {
        siteLayout = readSiteLayout(rows[header->row], *header);
        if (!siteLayout) {
            const bool both =
                !header->columns[VisitorGoalsField] && !header->columns[HomeGoalsField];
            throw InputDataError(
                filePlace(label, rows[header->row].line) + "the header row has no " +
                (both                                 ? "columns visitor_goals and home_goals"
                 : header->columns[VisitorGoalsField] ? "column home_goals"
                                                      : "column visitor_goals") +
                ", nor a G after Visitor and Home as a statistics site writes them.");
        }
    }
    const bool program = codes.kind() == TeamCodeKind::Program;
    const bool hasOdds = header->columns[VisitorOddsField] && header->columns[HomeOddsField];
    const CsvRow& headerRow = rows[header->row];
    const auto field = [&](const CsvRow& row, ResultColumn column) {
        return fieldAt(row, header->columns[column]);
    };
    const auto isGame = [&](const CsvRow& row) {
        return !(field(row, VisitorField).empty() && field(row, HomeField).empty()) &&
               !(upperCase(field(row, VisitorField)) ==
                     upperCase(trimmed(headerRow.fields[*header->columns[VisitorField]])) &&
                 upperCase(field(row, HomeField)) ==
                     upperCase(trimmed(headerRow.fields[*header->columns[HomeField]])));
    };

    // 1. Every team of the file, so that all unknown ones are named at once.
    std::vector<std::pair<std::string, UnknownTeam>> unknown;
    for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        if (!isGame(row)) {
            continue;
        }
        for (const auto& [column, road] :
             {std::pair{VisitorField, true}, std::pair{HomeField, false}}) {
            const std::optional<std::string> code = codes.codeFor(field(row, column));
            if (code && (!program || (road ? isRoadTeamCode(*code) : isHomeTeamCode(*code)))) {
                continue;
            }
            const std::string name(field(row, column));
            auto entry = std::find_if(unknown.begin(), unknown.end(),
                                      [&](const auto& team) { return team.first == name; });
            if (entry == unknown.end()) {
                unknown.push_back(
                    {name,
                     {"line " + std::to_string(row.line) + ", " + (road ? "visitor:" : "home:"),
                      {}}});
                entry = unknown.end() - 1;
            }
            if (entry->second.lines.empty() || entry->second.lines.back() != row.line) {
                entry->second.lines.push_back(row.line);
            }
        }
    }
    if (!unknown.empty()) {
        throw InputDataError(unknownTeamsMessage(label, unknown, codes.kind()));
    }

    // 2. The games.
    ResultsFile file;
    std::map<std::tuple<std::string, std::string, std::string>, int> lineOfGame;
    for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        if (!isGame(row)) {
            continue;
        }
        const std::string where = filePlace(label, row.line);
        const auto place = [&](std::string_view column) {
            return filePlace(label, row.line, column);
        };
        if (*codes.codeFor(field(row, VisitorField)) == *codes.codeFor(field(row, HomeField))) {
            throw InputDataError(where + "the visitor '" + shownText(field(row, VisitorField)) +
                                 "' and the home team '" + shownText(field(row, HomeField)) +
                                 "' are the same club, which cannot play itself.");
        }
        if (field(row, VisitorGoalsField).empty() && field(row, HomeGoalsField).empty()) {
            ++file.skipped;
            ResultRow game;
            game.line = row.line;
            game.date = std::string(field(row, DateField));
            game.visitor = *codes.codeFor(field(row, VisitorField));
            game.home = *codes.codeFor(field(row, HomeField));
            file.unplayed.push_back(std::move(game));
            continue;
        }
        ResultRow result;
        result.line = row.line;
        result.visitor = *codes.codeFor(field(row, VisitorField));
        result.home = *codes.codeFor(field(row, HomeField));
        result.visitorGoals = goalsOf(field(row, VisitorGoalsField), place("visitor_goals"));
        result.homeGoals = goalsOf(field(row, HomeGoalsField), place("home_goals"));
        result.end = endOf(upperCase(field(row, ResultField)),
                           result.visitorGoals == result.homeGoals, siteLayout, place("result"));
        result.visitorGaa = gaaOf(field(row, VisitorGaaField), defaultGaa, place("visitor_gaa"));
        result.homeGaa = gaaOf(field(row, HomeGaaField), defaultGaa, place("home_gaa"));
        if (hasOdds &&
            !(field(row, VisitorOddsField).empty() && field(row, HomeOddsField).empty())) {
            const std::optional<double> visitor = parseOfferedOdds(field(row, VisitorOddsField));
            const std::optional<double> home = parseOfferedOdds(field(row, HomeOddsField));
            if (!visitor || !home) {
                throw InputDataError(where + "the odds '" +
                                     shownText(field(row, VisitorOddsField)) + "' and '" +
                                     shownText(field(row, HomeOddsField)) + "' are not both " +
                                     OfferedOddsForms + ".");
            }
            result.odds = GameOdds{*visitor, *home};
        }
        const std::string_view date = field(row, DateField);
        if (!isDate(date)) {
            throw InputDataError(place("date") + "'" + shownText(date) +
                                 "' is not a date of the form YYYY-MM-DD.");
        }
        result.date = std::string(date);
        // The same two clubs meet once a day, whichever is at home.
        const auto [first, second] = std::minmax(result.visitor, result.home);
        if (const auto [same, added] =
                lineOfGame.try_emplace({result.date, first, second}, row.line);
            !added) {
            throw InputDataError(label + ", lines " + std::to_string(same->second) + " and " +
                                 std::to_string(row.line) + ": the game of " + result.visitor +
                                 " and " + result.home + " on " + result.date +
                                 " is listed twice.");
        }
        file.games.push_back(std::move(result));
    }
    return file;
}

ResultsFile readResultsFile(const std::filesystem::path& file, const TeamCodeMap& codes,
                            Single defaultGaa) {
    const std::string label = fileLabel(ResultsFileKind, file);
    return readResults(readCsvFile(file, label), label, codes, defaultGaa);
}

bool isDate(std::string_view text) {
    if (text.size() != DateLength || text[4] != '-' || text[7] != '-') {
        return false;
    }
    for (const std::size_t digit : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[digit] < '0' || text[digit] > '9') {
            return false;
        }
    }
    const auto number = [&](std::size_t from, std::size_t length) {
        unsigned value = 0;
        for (std::size_t k = from; k < from + length; ++k) {
            value = value * 10 + static_cast<unsigned>(text[k] - '0');
        }
        return value;
    };
    const std::chrono::year_month_day day{std::chrono::year(static_cast<int>(number(0, 4))),
                                          std::chrono::month(number(5, 2)),
                                          std::chrono::day(number(8, 2))};
    return day.ok();
}

} // namespace zelkor
