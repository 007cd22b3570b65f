#include "season/MarketSummary.h"

#include "season/DataErrors.h"
#include "season/MessageText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <sstream>

namespace zelkor {

namespace {

constexpr int FirstMonthOfSeason = 7; // a day from July on belongs to the season starting then

std::string fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string optionalText(const std::optional<double>& value) {
    if (!value) {
        return "";
    }
    std::ostringstream text;
    text.precision(10);
    text << *value;
    return text.str();
}

} // namespace

std::string seasonOf(const std::string& date) {
    if (date.size() < 7) {
        return "";
    }
    int year = std::atoi(date.substr(0, 4).c_str());
    if (std::atoi(date.substr(5, 2).c_str()) < FirstMonthOfSeason) {
        --year;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%d-%02d", year, (year + 1) % 100);
    return text;
}

MarketSummary marketSummaryOf(const WalkForwardReport& report) {
    const BacktestReport& backtest = report.backtest;
    MarketSummary summary;
    std::string first;
    for (const BacktestGame& game : backtest.games) {
        first = first.empty() ? game.result.date : std::min(first, game.result.date);
    }
    summary.season = seasonOf(first);
    summary.games = static_cast<int>(backtest.games.size());
    summary.modelLogLoss = backtest.model.logLoss;
    summary.eloLogLoss = report.elo.logLoss;
    summary.eloCarried = report.eloCarried;
    summary.gamesWithOdds = backtest.gamesWithOdds;
    if (backtest.modelWithOdds && backtest.bookmaker) {
        summary.modelLogLossWithOdds = backtest.modelWithOdds->logLoss;
        summary.marketLogLoss = backtest.bookmaker->logLoss;
    }
    if (!backtest.edgeBands.empty()) {
        summary.bets = backtest.edgeBands.front().stake.bets;
        summary.returnOnStake = backtest.edgeBands.front().stake.returnOnStake();
        summary.payingEdge = payingEdge(backtest.edgeBands);
    }
    return summary;
}

std::string marketSummaryText(const MarketSummary& summary) {
    std::ostringstream text;
    text << "key,value\n"
         << "season," << summary.season << '\n'
         << "games," << summary.games << '\n'
         << "model_log_loss," << optionalText(summary.modelLogLoss) << '\n'
         << "elo_log_loss," << optionalText(summary.eloLogLoss) << '\n'
         << "elo_carried," << (summary.eloCarried ? 1 : 0) << '\n'
         << "games_with_odds," << summary.gamesWithOdds << '\n'
         << "model_log_loss_with_odds," << optionalText(summary.modelLogLossWithOdds) << '\n'
         << "market_log_loss," << optionalText(summary.marketLogLoss) << '\n'
         << "bets," << summary.bets << '\n'
         << "return_on_stake," << optionalText(summary.returnOnStake) << '\n'
         << "paying_edge," << optionalText(summary.payingEdge) << '\n';
    return text.str();
}

MarketSummary parseMarketSummary(const std::vector<CsvRow>& rows, const std::string& label) {
    MarketSummary summary;
    const auto count = [](int& target) {
        return [&target](std::string_view text) {
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), target);
            return error == std::errc{} && end == text.data() + text.size() && target >= 0;
        };
    };
    const auto figure = [](std::optional<double>& target) {
        return [&target](std::string_view text) {
            if (text.empty()) {
                target.reset();
                return true;
            }
            double value = 0;
            const auto [end, error] =
                std::from_chars(text.data(), text.data() + text.size(), value);
            target = value;
            return error == std::errc{} && end == text.data() + text.size() && std::isfinite(value);
        };
    };
    const std::map<std::string, std::function<bool(std::string_view)>> keys{
        {"season", [&](std::string_view text) { return summary.season = text, true; }},
        {"games", count(summary.games)},
        {"model_log_loss", figure(summary.modelLogLoss)},
        {"elo_log_loss", figure(summary.eloLogLoss)},
        {"elo_carried",
         [&](std::string_view text) {
             return summary.eloCarried = text == "1", text == "0" || text == "1";
         }},
        {"games_with_odds", count(summary.gamesWithOdds)},
        {"model_log_loss_with_odds", figure(summary.modelLogLossWithOdds)},
        {"market_log_loss", figure(summary.marketLogLoss)},
        {"bets", count(summary.bets)},
        {"return_on_stake", figure(summary.returnOnStake)},
        {"paying_edge", figure(summary.payingEdge)},
    };
    if (rows.empty() || rows.front().fields.size() != 2 ||
        upperCase(trimmed(rows.front().fields[0])) != "KEY") {
        throw InputDataError(label + " does not start with the header key,value.");
    }
    for (std::size_t index = 1; index < rows.size(); ++index) {
        const CsvRow& row = rows[index];
        const std::string where = filePlace(label, row.line);
        const std::string key = row.fields.empty() ? "" : std::string(trimmed(row.fields[0]));
        const auto found = keys.find(key);
        if (found == keys.end()) {
            throw InputDataError(where + "'" + shownText(key) + "' is no key of a summary.");
        }
        const std::string_view value = row.fields.size() == 2 ? trimmed(row.fields[1]) : "?";
        if (row.fields.size() != 2 || !found->second(value)) {
            throw InputDataError(filePlace(label, row.line, key) + "'" + shownText(value) +
                                 "' is no value of " + key + ".");
        }
    }
    return summary;
}

std::optional<MarketSummary> readMarketSummary(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / MarketSummaryFileName;
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        return std::nullopt;
    }
    const std::string label = fileLabel("Summary", file);
    return parseMarketSummary(readCsvFile(file, label), label);
}

std::string marketSummaryLine(const std::optional<MarketSummary>& summary) {
    if (!summary || !summary->modelLogLoss) {
        return "This season's model has not been tested: its edges may be noise (a walk-forward "
               "backtest with --write-summary into the season folder tests it).";
    }
    std::string text =
        "In " + summary->season + " this model's log loss was " + fixed(*summary->modelLogLoss, 3);
    if (summary->eloLogLoss) {
        text += std::string(", a ") + (summary->eloCarried ? "carried" : "level-start") +
                " Elo's " + fixed(*summary->eloLogLoss, 3);
    }
    if (!summary->marketLogLoss || !summary->modelLogLossWithOdds) {
        return text + "; without odds its edges were not tested.";
    }
    text += ", and on the " + std::to_string(summary->gamesWithOdds) + " games with odds " +
            fixed(*summary->modelLogLossWithOdds, 3) + " against the market's " +
            fixed(*summary->marketLogLoss, 3) + ": ";
    if (!summary->payingEdge) {
        return text + "no size of edge paid.";
    }
    if (*summary->payingEdge <= 0) {
        return text + "betting every edge paid.";
    }
    return text + "edges under " + fixed(*summary->payingEdge * 100, 0) + " % did not pay.";
}

bool edgeFoundProfitable(const std::optional<MarketSummary>& summary, double edge) {
    return summary && summary->payingEdge && edge > 0 && edge >= *summary->payingEdge;
}

} // namespace zelkor
