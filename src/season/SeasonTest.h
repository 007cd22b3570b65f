#pragma once

#include "season/MarketSummary.h"
#include "season/OddsFile.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

namespace zelkor {

// What a season folder's own test reads: the season's games and odds, and what the
// walk-forward starts from.
struct SeasonTestRequest {
    std::filesystem::path folder; ///< a built season folder: its rosters play the games
    std::filesystem::path results;
    std::filesystem::path odds;
    OddsLine line = OddsLine::Close;
    std::optional<std::filesystem::path> prior;        ///< ratings the fit starts from
    std::optional<std::filesystem::path> priorResults; ///< last season's games, for the Elo
    int series = 0;
    std::uint64_t seed = 0;
};

// Series of 11 games a season's own test plays of each game: enough for a log loss to
// three decimals, a fraction of a backtest's time.
inline constexpr int SeasonTestSeries = 100;

// Walks the season forward over its games (league codes) with the folder's rosters, the
// odds joined, and writes the summary into the folder as summary.csv (read back before it
// replaces an old one). progress(done, total) after each game. Throws InputDataError or
// InputFileError naming the file and line of what cannot be used.
MarketSummary testSeasonFolder(const SeasonTestRequest& request,
                               const std::function<void(int, int)>& progress = {});

// Reads the games and the odds and joins them as the test will, so that a bad file stops a
// build before it writes anything. Throws as testSeasonFolder.
void checkSeasonTestInputs(const SeasonTestRequest& request);

// Writes a summary into a folder through a temporary file, after reading its text back.
void writeMarketSummary(const MarketSummary& summary, const std::filesystem::path& folder);

} // namespace zelkor
