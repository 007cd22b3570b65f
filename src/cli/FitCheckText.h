#pragma once

#include "season/FitCheckTable.h"

#include <iosfwd>

namespace zelkor {

// The fit's check as every subcommand prints it: a line per club of its goals a game, real
// and simulated, for and against on the road and at home, then how many clubs are within
// the tolerance.
void writeFitCheck(const FitCheckTable& table, std::ostream& out);

} // namespace zelkor
