// Feeds arbitrary bytes to the season library's reader of odds files, then joins what it
// read to a few games over the turn of a year; with the first byte's 0x20 bit the bytes go
// to the readers of a season folder's Elo and summary files instead. The first byte also
// chooses the line (0x01: open) and the kind of codes (0x10: league). A reader may only
// return what it read or raise the library's own errors; anything else is a finding.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "season/CsvFile.h"
#include "season/Elo.h"
#include "season/MarketSummary.h"
#include "season/OddsFile.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using zelkor::fuzzing::finding;

zelkor::ResultRow game(const char* date, const char* visitor, const char* home) {
    zelkor::ResultRow row;
    row.date = date;
    row.visitor = visitor;
    row.home = home;
    row.visitorGoals = 2;
    row.homeGoals = 3;
    return row;
}

// Games of both kinds of codes, so that either kind can match.
std::vector<zelkor::ResultRow> games() {
    return {game("2021-12-31", "MTL", "TOR"), game("2022-01-05", "TBL", "NYR"),
            game("2021-12-31", "MON", "TOR"), game("2022-01-06", "SLB", "NYR")};
}

bool isPrice(double odds) {
    return std::isfinite(odds) && odds > 1.0;
}

void fuzzOdds(const std::vector<zelkor::CsvRow>& rows, zelkor::OddsLine line, bool league) {
    const zelkor::TeamCodeMap codes({}, league ? zelkor::TeamCodeKind::League
                                               : zelkor::TeamCodeKind::Program);
    const zelkor::OddsFile file = zelkor::readOddsFile(rows, "F", codes, line);
    for (const zelkor::OddsEntry& entry : file.games) {
        if (entry.visitor.empty() || entry.home.empty() || entry.month < 1 || entry.month > 12 ||
            entry.day < 1 || entry.day > 31 ||
            (entry.odds && !(isPrice(entry.odds->visitor) && isPrice(entry.odds->home)))) {
            finding("an odds entry breaks its promises");
        }
    }
    std::vector<zelkor::ResultRow> results = games();
    const zelkor::OddsJoin join = zelkor::joinOdds(results, file, "F");
    int withOdds = 0;
    for (const zelkor::ResultRow& row : results) {
        withOdds += row.odds ? 1 : 0;
        if (row.odds && !(isPrice(row.odds->visitor) && isPrice(row.odds->home))) {
            finding("a game was given odds that are no price");
        }
    }
    if (join.matched + join.unmatchedGames != static_cast<int>(file.games.size()) ||
        join.matched < 1 || withOdds + join.gamesWithoutOdds != static_cast<int>(results.size()) ||
        join.unmatchedLines.size() != static_cast<std::size_t>(join.unmatchedGames)) {
        finding("the join's counts do not add up");
    }
}

void fuzzFolderFiles(const std::vector<zelkor::CsvRow>& rows) {
    try {
        const zelkor::EloRatings elo = zelkor::parseEloFile(rows, "F");
        for (const auto& [code, rating] : elo) {
            if (code.empty() || !(rating > 0 && rating <= 10000)) {
                finding("an Elo rating outside its range was read");
            }
        }
    } catch (const zelkor::ZelkorError&) {
    }
    const zelkor::MarketSummary summary = zelkor::parseMarketSummary(rows, "F");
    // What was read writes and reads back the same.
    const zelkor::MarketSummary back =
        zelkor::parseMarketSummary(zelkor::parseCsv(zelkor::marketSummaryText(summary), "F"), "F");
    if (back.games != summary.games ||
        back.marketLogLoss.has_value() != summary.marketLogLoss.has_value()) {
        finding("a summary does not read back as written");
    }
    zelkor::marketSummaryLine(summary);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    try {
        const std::vector<zelkor::CsvRow> rows = zelkor::parseCsv(text, "F");
        if ((choice & 0x20) != 0) {
            fuzzFolderFiles(rows);
        } else {
            fuzzOdds(rows, (choice & 0x01) != 0 ? zelkor::OddsLine::Open : zelkor::OddsLine::Close,
                     (choice & 0x10) != 0);
        }
    } catch (const zelkor::ZelkorError&) {
    }
    return 0;
}
