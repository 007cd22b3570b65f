#pragma once

#include "cli/CommandLine.h"

#include <iosfwd>

namespace zelkor {

// Plays one prediction for the options and writes its report to out (text or JSON); the
// seed (text mode) and every message of the run go to err. Returns the exit status.
int runConsolePrediction(const CommandLineOptions& options, std::ostream& out, std::ostream& err);

} // namespace zelkor
