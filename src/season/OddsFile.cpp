#include "season/OddsFile.h"

#include "odds/OddsFigures.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <map>
#include <tuple>

namespace zelkor {

namespace {

constexpr int EvenMoney = 100;       // the smallest American price either way
constexpr int LongestPrice = 100000; // beyond any price a bookmaker offers
constexpr int LeapYear = 2000;       // checks a day written without its year

enum ArchiveColumn { ArchiveDate, ArchiveSide, ArchiveTeam, ArchiveOpen, ArchiveClose };

const std::vector<CsvColumn>& archiveColumns() {
    static const std::vector<CsvColumn> columns{
        {"Date", {"date"}, true}, {"VH", {"vh"}, true},       {"Team", {"team"}, true},
        {"Open", {"open"}, true}, {"Close", {"close"}, true},
    };
    return columns;
}

enum PlainColumn { PlainDate, PlainVisitor, PlainHome, PlainVisitorOdds, PlainHomeOdds };

const std::vector<CsvColumn>& plainColumns() {
    static const std::vector<CsvColumn> columns{
        {"date", {"date"}, true},           {"visitor", {"visitor"}, true},
        {"home", {"home"}, true},           {"visitor_odds", {"visitor_odds"}, true},
        {"home_odds", {"home_odds"}, true},
    };
    return columns;
}

// A blank or a dash: the archive had no line for the game.
bool isNoLine(std::string_view text) {
    return text.empty() || text == "-" || upperCase(text) == "NL";
}

// An archive's American price as decimal odds; none for no line.
std::optional<double> archivePrice(std::string_view text, const std::string& where) {
    if (isNoLine(text)) {
        return std::nullopt;
    }
    const std::string_view digits = text.front() == '+' ? text.substr(1) : text;
    int price = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), price);
    if (error != std::errc{} || end != digits.data() + digits.size() ||
        std::abs(price) < EvenMoney || std::abs(price) > LongestPrice) {
        throw InputDataError(where + "'" + shownText(text) +
                             "' is not a money line: American odds from 100 to 100,000 either "
                             "way (-120, +145), or - for none.");
    }
    return price > 0 ? 1.0 + price / 100.0 : 1.0 + 100.0 / -price;
}

std::optional<double> plainPrice(std::string_view text, const std::string& where) {
    if (isNoLine(text)) {
        return std::nullopt;
    }
    const std::optional<double> odds = parseOfferedOdds(text);
    if (!odds) {
        throw InputDataError(where + "'" + shownText(text) + "' is not " + OfferedOddsForms + ".");
    }
    return odds;
}

bool isDay(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 &&
           std::chrono::year_month_day{std::chrono::year(year),
                                       std::chrono::month(static_cast<unsigned>(month)),
                                       std::chrono::day(static_cast<unsigned>(day))}
               .ok();
}

// The odds of both clubs when the file has a line for both; a line for one of them alone
// is no line.
std::optional<GameOdds> gameOdds(std::optional<double> visitor, std::optional<double> home) {
    if (!visitor || !home) {
        return std::nullopt;
    }
    return GameOdds{*visitor, *home};
}

// Collects the clubs of the file, so that every unknown one is listed once.
class ClubReader {
public:
    explicit ClubReader(const TeamCodeMap& codes) : codes_(codes) {}

    std::optional<std::string> codeOf(std::string_view name, int line) {
        std::optional<std::string> code = codes_.codeFor(name);
        if (!code) {
            if (const std::optional<std::string> league = leagueCodeForShortName(name)) {
                code = codes_.codeFor(*league);
            }
        }
        if (!code) {
            const std::string text(trimmed(name));
            auto entry =
                std::find_if(unknown_.begin(), unknown_.end(),
                             [&](const UnknownOddsTeam& team) { return team.name == text; });
            if (entry == unknown_.end()) {
                unknown_.push_back({text, {}});
                entry = unknown_.end() - 1;
            }
            entry->lines.push_back(line);
        }
        return code;
    }

    std::vector<UnknownOddsTeam> unknown() const { return unknown_; }

private:
    const TeamCodeMap& codes_;
    std::vector<UnknownOddsTeam> unknown_;
};

bool isHeaderAgain(const CsvRow& row, const CsvRow& header, const CsvHeader& where,
                   const std::vector<CsvColumn>& columns) {
    return repeatsHeader(row, header, where, columns);
}

bool isBlank(const CsvRow& row) {
    return std::all_of(row.fields.begin(), row.fields.end(),
                       [](const std::string& field) { return trimmed(field).empty(); });
}

OddsFile readArchive(const std::vector<CsvRow>& rows, const CsvHeader& header,
                     const std::string& label, const TeamCodeMap& codes, OddsLine line) {
    const std::vector<CsvColumn>& columns = archiveColumns();
    const auto field = [&](const CsvRow& row, ArchiveColumn column) {
        return fieldAt(row, header.columns[column]);
    };
    std::vector<const CsvRow*> kept;
    for (std::size_t index = header.row + 1; index < rows.size(); ++index) {
        if (!isBlank(rows[index]) &&
            !isHeaderAgain(rows[index], rows[header.row], header, columns)) {
            kept.push_back(&rows[index]);
        }
    }
    OddsFile file;
    ClubReader clubs(codes);
    for (std::size_t index = 0; index < kept.size(); index += 2) {
        const CsvRow& first = *kept[index];
        const std::string where = filePlace(label, first.line);
        const std::string side = upperCase(field(first, ArchiveSide));
        if (side != "V" && side != "H" && side != "N") {
            throw InputDataError(filePlace(label, first.line, "VH") + "'" +
                                 shownText(field(first, ArchiveSide)) +
                                 "' is none of V (visitor), H (home) and N (neutral site).");
        }
        // A game is two rows of a day: V and H in either order, or two N rows.
        const std::string partner = side == "V" ? "H" : side == "H" ? "V" : "N";
        if (index + 1 >= kept.size() ||
            upperCase(field(*kept[index + 1], ArchiveSide)) != partner ||
            field(*kept[index + 1], ArchiveDate) != field(first, ArchiveDate)) {
            throw InputDataError(where + "the " + side + " row of '" +
                                 shownText(field(first, ArchiveTeam)) + "' has no " + partner +
                                 " row of the same day after it.");
        }
        const bool homeFirst = side == "H";
        const CsvRow& homeRow = homeFirst ? first : *kept[index + 1];
        const CsvRow& visitorRow = homeFirst ? *kept[index + 1] : first;
        OddsEntry entry;
        entry.line = first.line;
        entry.neutral = side == "N";
        const std::string_view date = field(first, ArchiveDate);
        int number = 0;
        const auto [end, error] = std::from_chars(date.data(), date.data() + date.size(), number);
        entry.month = number / 100;
        entry.day = number % 100;
        if (error != std::errc{} || end != date.data() + date.size() || date.size() < 3 ||
            date.size() > 4 || !isDay(LeapYear, entry.month, entry.day)) {
            throw InputDataError(filePlace(label, first.line, "Date") + "'" + shownText(date) +
                                 "' is not a day written MMDD (1003 for October 3).");
        }
        std::optional<double> prices[2][2]; // [row][open, close]
        for (const int row : {0, 1}) {
            const CsvRow& club = row == 0 ? visitorRow : homeRow;
            prices[row][0] =
                archivePrice(field(club, ArchiveOpen), filePlace(label, club.line, "Open"));
            prices[row][1] =
                archivePrice(field(club, ArchiveClose), filePlace(label, club.line, "Close"));
        }
        const int chosen = line == OddsLine::Open ? 0 : 1;
        entry.odds = gameOdds(prices[0][chosen], prices[1][chosen]);
        const std::optional<std::string> visitor =
            clubs.codeOf(field(visitorRow, ArchiveTeam), visitorRow.line);
        const std::optional<std::string> home =
            clubs.codeOf(field(homeRow, ArchiveTeam), homeRow.line);
        if (visitor && home) {
            entry.visitor = *visitor;
            entry.home = *home;
            file.games.push_back(std::move(entry));
        }
    }
    file.unknownTeams = clubs.unknown();
    return file;
}

OddsFile readPlain(const std::vector<CsvRow>& rows, const CsvHeader& header,
                   const std::string& label, const TeamCodeMap& codes) {
    const std::vector<CsvColumn>& columns = plainColumns();
    const auto field = [&](const CsvRow& row, PlainColumn column) {
        return fieldAt(row, header.columns[column]);
    };
    OddsFile file;
    ClubReader clubs(codes);
    for (std::size_t index = header.row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        if (isBlank(row) || isHeaderAgain(row, rows[header.row], header, columns)) {
            continue;
        }
        const std::string_view date = field(row, PlainDate);
        if (!isDate(date)) {
            throw InputDataError(filePlace(label, row.line, "date") + "'" + shownText(date) +
                                 "' is not a date of the form YYYY-MM-DD.");
        }
        OddsEntry entry;
        entry.line = row.line;
        std::from_chars(date.data(), date.data() + 4, entry.year.emplace());
        std::from_chars(date.data() + 5, date.data() + 7, entry.month);
        std::from_chars(date.data() + 8, date.data() + 10, entry.day);
        entry.odds = gameOdds(
            plainPrice(field(row, PlainVisitorOdds), filePlace(label, row.line, "visitor_odds")),
            plainPrice(field(row, PlainHomeOdds), filePlace(label, row.line, "home_odds")));
        const std::optional<std::string> visitor = clubs.codeOf(field(row, PlainVisitor), row.line);
        const std::optional<std::string> home = clubs.codeOf(field(row, PlainHome), row.line);
        if (visitor && home) {
            entry.visitor = *visitor;
            entry.home = *home;
            file.games.push_back(std::move(entry));
        }
    }
    file.unknownTeams = clubs.unknown();
    return file;
}

std::string dateText(int year, int month, int day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string gameText(const OddsEntry& entry, const std::string& date) {
    return shownText(entry.visitor) + (entry.neutral ? " and " : " at ") + shownText(entry.home) +
           " on " + date;
}

} // namespace

OddsFile readOddsFile(const std::vector<CsvRow>& rows, const std::string& label,
                      const TeamCodeMap& codes, OddsLine line) {
    if (const std::optional<CsvHeader> archive = findHeader(rows, archiveColumns())) {
        return readArchive(rows, *archive, label, codes, line);
    }
    if (const std::optional<CsvHeader> plain = findHeader(rows, plainColumns())) {
        return readPlain(rows, *plain, label, codes);
    }
    throw InputDataError(missingHeaderMessage(rows, plainColumns(), label) +
                         " (or an odds archive's Date, VH, Team, Open and Close)");
}

OddsJoin joinOdds(std::vector<ResultRow>& results, const OddsFile& odds, const std::string& label) {
    OddsJoin join;
    std::map<std::tuple<std::string, std::string, std::string>, std::size_t> games;
    std::string first = "9999-99-99";
    std::string last;
    for (std::size_t index = 0; index < results.size(); ++index) {
        results[index].odds.reset();
        games.emplace(std::tuple{results[index].date, results[index].visitor, results[index].home},
                      index);
        first = std::min(first, results[index].date);
        last = std::max(last, results[index].date);
    }
    const int firstYear = std::atoi(first.substr(0, 4).c_str());
    const int lastYear = last.empty() ? 0 : std::atoi(last.substr(0, 4).c_str());

    std::map<std::tuple<std::string, std::string, std::string>, int> seen; // day, clubs: line
    for (const OddsEntry& entry : odds.games) {
        std::string date = dateText(entry.year.value_or(0), entry.month, entry.day);
        for (int year = firstYear; !entry.year && year <= lastYear; ++year) {
            if (const std::string candidate = dateText(year, entry.month, entry.day);
                candidate >= first && candidate <= last) {
                date = candidate;
            }
        }
        const auto clubs = std::minmax(entry.visitor, entry.home);
        if (const auto [at, added] =
                seen.emplace(std::tuple{date, clubs.first, clubs.second}, entry.line);
            !added) {
            throw InputDataError(filePlace(label, entry.line) + gameText(entry, date) +
                                 " is listed on line " + std::to_string(at->second) + " already.");
        }
        // Each price follows its club: a neutral site's host, or a game whose rows name the
        // sides the other way round, is found with the clubs swapped.
        auto found = games.find({date, entry.visitor, entry.home});
        bool swapped = false;
        if (found == games.end()) {
            found = games.find({date, entry.home, entry.visitor});
            swapped = true;
        }
        if (found == games.end()) {
            ++join.unmatchedGames;
            join.unmatchedLines.push_back(entry.line);
            continue;
        }
        ++join.matched;
        if (entry.odds) {
            results[found->second].odds =
                swapped ? GameOdds{entry.odds->home, entry.odds->visitor} : *entry.odds;
        }
    }
    if (join.matched == 0) {
        if (odds.games.empty()) {
            throw InputDataError(label + " holds no game between two clubs it knows.");
        }
        const OddsEntry& entry = odds.games.front();
        const std::string day = entry.year
                                    ? dateText(*entry.year, entry.month, entry.day)
                                    : std::to_string(entry.month) + "/" + std::to_string(entry.day);
        throw InputDataError(label + ": none of its " + std::to_string(odds.games.size()) +
                             " games is a game of the results by day and clubs (line " +
                             std::to_string(entry.line) + ": " + gameText(entry, day) +
                             "); are both files of the same season?");
    }
    join.gamesWithoutOdds = static_cast<int>(std::count_if(
        results.begin(), results.end(), [](const ResultRow& row) { return !row.odds; }));
    return join;
}

} // namespace zelkor
