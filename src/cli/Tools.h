#pragma once

#include <iosfwd>
#include <optional>

namespace zelkor {

// Runs the subcommand that argv[1] names (import-roster, check-rosters, backtest) with the
// arguments after it and returns its exit status; none when argv[1] names no subcommand,
// so that the arguments are a prediction's.
std::optional<int> runTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace zelkor
