// Feeds arbitrary bytes to the season library's readers of a results file (then its
// backtest figures), a team table, a skater table (then the roster the import would write from it,
// read back) and a ratings file: the first byte chooses the reader and its options, the rest is the
// CSV text. A reader may only return what it read or raise the library's own errors; anything else
// (another exception, a crash, a sanitizer report, a value the checks below refuse) is a finding.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "season/Backtest.h"
#include "season/BacktestMetrics.h"
#include "season/CsvFile.h"
#include "season/ResultsFile.h"
#include "season/RosterImport.h"
#include "season/TeamTotalsFile.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/RosterWriter.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using zelkor::fuzzing::finding;

void fuzzResults(const std::vector<zelkor::CsvRow>& rows, bool league) {
    const zelkor::TeamCodeMap codes({}, league ? zelkor::TeamCodeKind::League
                                               : zelkor::TeamCodeKind::Program);
    const zelkor::ResultsFile results = zelkor::readResults(rows, "F", codes, 2.8f);
    for (const zelkor::ResultRow& game : results.games) {
        if (game.visitorGoals < 0 || game.visitorGoals > 99 || game.homeGoals < 0 ||
            game.homeGoals > 99) {
            finding("a score outside 0 to 99 was read");
        }
        if (game.visitor.empty() || game.home.empty()) {
            finding("a game without a team was read");
        }
        if (game.end == zelkor::GameEnd::Tie && game.visitorGoals != game.homeGoals) {
            finding("a tie that is not level");
        }
    }
    if (results.skipped < 0) {
        finding("a negative count of games without a score");
    }
    // What was read scores: a home favourite at 0.6 in every game.
    std::vector<zelkor::GameOutcome> outcomes;
    for (const zelkor::ResultRow& game : results.games) {
        outcomes.push_back(zelkor::outcomeOf(game));
    }
    const zelkor::ForecastFigures figures = zelkor::scoreForecasts(
        std::vector<zelkor::Forecast>(outcomes.size(), {0.6, zelkor::Side::Home}), outcomes);
    if (figures.decidedGames > static_cast<int>(outcomes.size()) ||
        (figures.logLoss && !(*figures.logLoss > 0)) || (figures.brier && !(*figures.brier > 0))) {
        finding("the figures of the games read break their promises");
    }
}

void fuzzTeamTotals(const std::vector<zelkor::CsvRow>& rows, bool chooseYear) {
    const auto totals =
        zelkor::readTeamTotals(rows, "F", zelkor::TeamCodeMap({}, zelkor::TeamCodeKind::League),
                               chooseYear ? std::optional<int>(2013) : std::nullopt);
    for (const auto& [code, team] : totals) {
        if (code != team.code || team.games.value_or(0) < 0 || team.goalsFor.value_or(0) < 0 ||
            team.penaltyMinutes.value_or(0) < 0) {
            finding("a club's totals break their promises");
        }
    }
}

void fuzzSkaters(const std::vector<zelkor::CsvRow>& rows, bool chooseSeason) {
    const zelkor::SkaterStatistics statistics = zelkor::readSkaterStatistics(
        rows, "F", zelkor::TeamCodeMap({}, zelkor::TeamCodeKind::League), std::string("TOR"),
        chooseSeason ? std::optional<std::string>("2013") : std::nullopt);
    for (const zelkor::Skater& skater : statistics.skaters) {
        if (skater.team.empty() || skater.games < 0 || skater.goals < 0 || skater.assists < 0) {
            finding("a skater without a team or with a negative count");
        }
    }
    if (statistics.skaters.empty()) {
        return;
    }
    // A roster the import would write must read back as a prediction reads it.
    const zelkor::ImportedRoster roster =
        zelkor::chooseRoster(statistics.skaters.front().team, statistics.skaters);
    for (const zelkor::Skater& player : roster.players) {
        if (zelkor::rosterNameProblem(player.name)) {
            return; // the import refuses it before anything is written
        }
    }
    static const zelkor::fuzzing::ScratchFolder folder("zelkor-import-fuzz-");
    try {
        zelkor::writeRosterFile(folder.path(), "TOR",
                                zelkor::rosterFileText(zelkor::rosterLines(roster)), true);
    } catch (const zelkor::RosterWriteError& error) {
        finding(std::string("an imported roster does not read back: ") + error.what());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t choice = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const bool option = (choice & 0x10) != 0;
    try {
        if (choice % 4 == 3) {
            const zelkor::RatingTable table = zelkor::parseRatings(text, "F");
            for (const auto* half : {&table.road(), &table.home()}) {
                for (const zelkor::RatedTeam& row : *half) {
                    if (!(row.rating.penalty >= 0 && row.rating.penalty <= 1) ||
                        !(row.rating.offence >= 0) || !(row.rating.defence >= 0)) {
                        finding("a rating outside its range was read");
                    }
                }
            }
            return 0;
        }
        const std::vector<zelkor::CsvRow> rows = zelkor::parseCsv(text, "F");
        switch (choice % 4) {
        case 0:
            fuzzResults(rows, option);
            break;
        case 1:
            fuzzTeamTotals(rows, option);
            break;
        default:
            fuzzSkaters(rows, option);
            break;
        }
    } catch (const zelkor::ZelkorError&) {
    }
    return 0;
}
