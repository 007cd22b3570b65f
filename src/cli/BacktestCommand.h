#pragma once

#include <iosfwd>

namespace zelkor {

// zelkor-cli backtest: the model's predictions of a season's results, scored against
// them and against two baselines. argv[0] is the subcommand's name. Returns the exit status.
int runBacktestCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace zelkor
