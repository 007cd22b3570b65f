#pragma once

#include "season/CsvFile.h"
#include "season/WalkForward.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zelkor {

// How well the model did over a season, walked forward: what a season folder keeps so that
// a prediction can say how far its edges can be trusted.
struct MarketSummary {
    std::string season; ///< e.g. 2021-22
    int games = 0;
    std::optional<double> modelLogLoss; ///< over every game with a winner
    std::optional<double> eloLogLoss;
    bool eloCarried = false; ///< the Elo carried last season's ratings, else it started level
    int gamesWithOdds = 0;
    std::optional<double> modelLogLossWithOdds; ///< the model over the games with odds
    std::optional<double> marketLogLoss;        ///< the de-vigged closing line over them
    int bets = 0;                               ///< on every positive edge
    std::optional<double> returnOnStake;
    std::optional<double> payingEdge; ///< see payingEdge(); none: no band of edges paid
};

// The season a day belongs to by the year it starts: 2022-03-01 and 2021-10-12 are 2021-22.
std::string seasonOf(const std::string& date);

// The summary of a walk-forward report over a season's games.
MarketSummary marketSummaryOf(const WalkForwardReport& report);

// The file of a season folder that keeps it.
inline constexpr const char* MarketSummaryFileName = "summary.csv";

// A summary file: "key,value" rows. parseMarketSummary throws InputDataError naming the
// line of a row it cannot use.
std::string marketSummaryText(const MarketSummary& summary);
MarketSummary parseMarketSummary(const std::vector<CsvRow>& rows, const std::string& label);

// The folder's summary; none when it has none. Throws as readCsvFile and parseMarketSummary.
std::optional<MarketSummary> readMarketSummary(const std::filesystem::path& folder);

// One sentence for the user beside the edges: the season's log losses of the model, the
// Elo and the market, and from which edge the bets paid; without a summary, that the
// season has not been tested.
std::string marketSummaryLine(const std::optional<MarketSummary>& summary);

// Whether an edge (expected return per unit) is one the backtest found profitable: an
// edge at or above the paying edge. False without a summary or a paying edge.
bool edgeFoundProfitable(const std::optional<MarketSummary>& summary, double edge);

} // namespace zelkor
