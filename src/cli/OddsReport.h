#pragma once

#include "odds/OddsFigures.h"
#include "odds/OddsTally.h"
#include "season/MarketSummary.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace zelkor {

// What zelkor-cli --series reports: the counts of the run and the figures they give.
struct OddsReport {
    OddsTally tally;
    std::uint64_t baseSeed = 0;
    std::optional<double> offeredVisitor; ///< the bookmaker's decimal odds, when given
    std::optional<double> offeredHome;
    std::string ratings;                 ///< where the ratings came from: "built-in" or the file
    std::optional<MarketSummary> tested; ///< the season folder's walk-forward summary, if any
};

// A readable summary: outcomes with intervals, fair odds, edges, goals, totals, puck line,
// the score table as a grid, the money lines of an 11-game series and the top scorers.
void writeOddsText(const OddsReport& report, std::ostream& out);

// One JSON object: the exact counts under fixed keys, then the figures.
void writeOddsJson(const OddsReport& report, std::ostream& out);

} // namespace zelkor
