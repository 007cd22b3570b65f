#pragma once

#include <iosfwd>

namespace zelkor {

// zelkor-cli check-rosters: every problem of roster files or folders, with line and field.
// argv[0] is the subcommand's name. Returns 0 when every file is usable, else 1.
int runCheckRosters(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace zelkor
