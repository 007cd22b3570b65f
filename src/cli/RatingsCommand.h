#pragma once

#include <iosfwd>

namespace zelkor {

// zelkor-cli ratings: writes the built-in rating table as a ratings file (--builtin), or
// checks a ratings file as a prediction reads it. argv[0] is the subcommand's name.
int runRatingsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace zelkor
