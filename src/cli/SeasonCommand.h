#pragma once

#include <iosfwd>

namespace zelkor {

// zelkor-cli season build: a season folder (rosters and ratings.csv) from a season's
// statistics and results. argv[0] is the subcommand's name. Returns the exit status.
int runSeasonCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace zelkor
