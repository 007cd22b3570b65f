#pragma once

#include <iosfwd>

namespace zelkor {

// zelkor-cli import-roster: roster files from a season's skater statistics. argv[0] is the
// subcommand's name. Returns the exit status.
int runImportRoster(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace zelkor
