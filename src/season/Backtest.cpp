#include "season/Backtest.h"

#include "odds/ManySeries.h"
#include "odds/OddsFigures.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "teamdata/TeamRatings.h"

#include <charconv>
#include <cmath>
#include <system_error>

namespace zelkor {

namespace {

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
        {"visitor_goals", {"visitor_goals"}, true},
        {"home_goals", {"home_goals"}, true},
        {"result", {"result"}, false},
        {"visitor_gaa", {"visitor_gaa"}, false},
        {"home_gaa", {"home_gaa"}, false},
        {"visitor_odds", {"visitor_odds"}, false},
        {"home_odds", {"home_odds"}, false},
    };
    return columns;
}

std::optional<double> numberOf(std::string_view text) {
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

int goalsOf(std::string_view text, const std::string& where) {
    int goals = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), goals);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || goals < 0) {
        throw InputDataError(where + " '" + shownText(text) + "' is not a whole number of goals.");
    }
    return goals;
}

Single gaaOf(std::string_view text, Single defaultGaa, const std::string& where) {
    if (text.empty()) {
        return defaultGaa;
    }
    const std::optional<double> value = numberOf(text);
    if (!value || *value <= 0 || *value > 100) {
        throw InputDataError(where + " '" + shownText(text) +
                             "' is not a goals-against average above 0, like 2.75.");
    }
    return static_cast<Single>(*value);
}

} // namespace

std::vector<ResultRow> readResults(const std::vector<CsvRow>& rows, const std::string& label,
                                   const TeamCodeMap& codes, Single defaultGaa) {
    const std::vector<CsvColumn>& columns = resultColumns();
    const std::optional<CsvHeader> header = findHeader(rows, columns);
    if (!header) {
        throw InputDataError(label + " has no header row naming the columns " +
                             requiredColumnNames(columns) + ".");
    }
    const bool hasOdds = header->columns[VisitorOddsField] && header->columns[HomeOddsField];
    std::vector<ResultRow> results;
    for (std::size_t index = header->row + 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        const auto field = [&](ResultColumn column) {
            return fieldAt(row, header->columns[column]);
        };
        if ((field(VisitorField).empty() && field(HomeField).empty()) ||
            repeatsHeader(row, rows[header->row], *header, columns)) {
            continue;
        }
        const std::string where = label + ", line " + std::to_string(row.line) + ": ";
        ResultRow result;
        result.line = row.line;
        result.date = std::string(field(DateField));
        for (const auto& [column, code, road] : {std::tuple{VisitorField, &result.visitor, true},
                                                 std::tuple{HomeField, &result.home, false}}) {
            const std::optional<std::string> mapped = codes.codeFor(field(column));
            if (!mapped || !(road ? isRoadTeamCode(*mapped) : isHomeTeamCode(*mapped))) {
                throw InputDataError(where + (road ? "visitor" : "home") + " '" +
                                     shownText(field(column)) +
                                     "' is not a team code of the program (name one with --map "
                                     "ABBR=CODE).");
            }
            *code = *mapped;
        }
        result.visitorGoals = goalsOf(field(VisitorGoalsField), where + "visitor_goals");
        result.homeGoals = goalsOf(field(HomeGoalsField), where + "home_goals");
        result.result = upperCase(field(ResultField));
        if (!result.result.empty() && result.result != "REG" && result.result != "OT" &&
            result.result != "SO") {
            throw InputDataError(where + "result '" + shownText(field(ResultField)) +
                                 "' is none of REG, OT and SO.");
        }
        result.visitorGaa = gaaOf(field(VisitorGaaField), defaultGaa, where + "visitor_gaa");
        result.homeGaa = gaaOf(field(HomeGaaField), defaultGaa, where + "home_gaa");
        if (hasOdds && !(field(VisitorOddsField).empty() && field(HomeOddsField).empty())) {
            const std::optional<double> visitor = parseOfferedOdds(field(VisitorOddsField));
            const std::optional<double> home = parseOfferedOdds(field(HomeOddsField));
            if (!visitor || !home) {
                throw InputDataError(where + "the odds '" + shownText(field(VisitorOddsField)) +
                                     "' and '" + shownText(field(HomeOddsField)) +
                                     "' are not both decimal (1.85) or American (-120, +150).");
            }
            result.odds = GameOdds{*visitor, *home};
        }
        results.push_back(std::move(result));
    }
    return results;
}

Forecast forecastOf(const GameCounts& counts) {
    Forecast forecast;
    if (counts.games > 0) {
        forecast.homeProbability = (counts.homeWins + 0.5 * counts.level) / counts.games;
    }
    forecast.pick = counts.homeWins > counts.visitorWins   ? Side::Home
                    : counts.visitorWins > counts.homeWins ? Side::Visitor
                                                           : Side::None;
    return forecast;
}

GameOutcome outcomeOf(const ResultRow& row) {
    GameOutcome outcome;
    outcome.winner = row.homeGoals > row.visitorGoals   ? Side::Home
                     : row.visitorGoals > row.homeGoals ? Side::Visitor
                                                        : Side::None;
    outcome.shootout = row.result == "SO";
    return outcome;
}

BacktestReport runBacktest(const std::vector<ResultRow>& results, int series, std::uint64_t seed,
                           const GameOddsEngine& engine,
                           const std::function<void(int, int)>& progress) {
    BacktestReport report;
    report.series = series;
    report.seed = seed;
    std::vector<Forecast> model;
    std::vector<GameOutcome> outcomes;
    int homeWins = 0;
    int decided = 0;
    for (std::size_t index = 0; index < results.size(); ++index) {
        const ResultRow& row = results[index];
        BacktestGame game{row, seriesSeed(seed, index), {}, {}, outcomeOf(row)};
        game.counts =
            engine({row.visitor, row.home, row.visitorGaa, row.homeGaa, series, game.seed});
        if (game.counts.games <= 0) {
            throw ZelkorError("The model played no game of " + row.visitor + " at " + row.home +
                              " (line " + std::to_string(row.line) + ").");
        }
        game.forecast = forecastOf(game.counts);
        model.push_back(game.forecast);
        outcomes.push_back(game.outcome);
        homeWins += game.outcome.winner == Side::Home ? 1 : 0;
        decided += game.outcome.winner == Side::None ? 0 : 1;
        report.games.push_back(std::move(game));
        if (progress) {
            progress(static_cast<int>(index + 1), static_cast<int>(results.size()));
        }
    }
    report.model = scoreForecasts(model, outcomes);

    report.homeShare = decided > 0 ? static_cast<double>(homeWins) / decided : 0.5;
    report.homeAlways = scoreForecasts(
        std::vector<Forecast>(results.size(), Forecast{report.homeShare, Side::Home}), outcomes);

    std::vector<Forecast> bookmaker;
    std::vector<Forecast> modelWithOdds;
    std::vector<GameOutcome> outcomesWithOdds;
    std::vector<std::optional<GameOdds>> odds;
    for (std::size_t index = 0; index < results.size(); ++index) {
        odds.push_back(results[index].odds);
        if (!results[index].odds) {
            continue;
        }
        const double home =
            devigHomeProbability(results[index].odds->visitor, results[index].odds->home);
        bookmaker.push_back({home, favouriteOf(home)});
        modelWithOdds.push_back(model[index]);
        outcomesWithOdds.push_back(outcomes[index]);
    }
    report.gamesWithOdds = static_cast<int>(bookmaker.size());
    if (!bookmaker.empty()) {
        report.bookmaker = scoreForecasts(bookmaker, outcomesWithOdds);
        report.modelWithOdds = scoreForecasts(modelWithOdds, outcomesWithOdds);
        report.flatStake = flatStakeReturn(model, outcomes, odds);
    }
    return report;
}

} // namespace zelkor
