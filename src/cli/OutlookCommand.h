#pragma once

#include <iosfwd>

namespace zelkor {

// zelkor-cli season outlook: the rest of a season played many times from a season folder
// and a schedule. argv[0] is the subcommand's name. Returns the exit status.
int runOutlookCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace zelkor
