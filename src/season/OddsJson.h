#pragma once

#include "odds/OddsFigures.h"
#include "odds/OddsTally.h"
#include "season/MarketSummary.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

namespace zelkor {

// What a run of many series reports: the counts of the run and the figures they give.
struct OddsReport {
    OddsTally tally;
    std::uint64_t baseSeed = 0;
    std::optional<double> offeredVisitor; ///< the bookmaker's decimal odds, when given
    std::optional<double> offeredHome;
    std::string ratings;                 ///< where the ratings came from: "built-in" or the file
    std::optional<MarketSummary> tested; ///< the season folder's walk-forward summary, if any
};

// One JSON object: the exact counts under fixed keys, then the figures; two spaces a
// level, bytes that are not UTF-8 replaced so that it stays valid JSON, and a line end.
// zelkor-cli --series --json writes it, and the Odds window exports it.
void writeOddsJson(const OddsReport& report, std::ostream& out);

} // namespace zelkor
