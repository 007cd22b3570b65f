#pragma once

#include "season/OddsJson.h"

#include <iosfwd>

namespace zelkor {

// A readable summary: outcomes with intervals, fair odds, edges, goals, totals, puck line,
// the score table as a grid, the money lines of an 11-game series and the top scorers.
void writeOddsText(const OddsReport& report, std::ostream& out);

} // namespace zelkor
