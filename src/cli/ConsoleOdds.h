#pragma once

#include "cli/CommandLine.h"

#include <iosfwd>

namespace zelkor {

// Plays options.series series and writes the odds report to out (text or JSON); progress
// (when err is a terminal), the base seed of a clock-seeded run in text mode and every
// message go to err. Ctrl+C stops the run. Returns the exit status.
int runConsoleOdds(const CommandLineOptions& options, std::ostream& out, std::ostream& err,
                   bool errIsTerminal);

} // namespace zelkor
