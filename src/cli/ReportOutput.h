#pragma once

#include <iosfwd>

namespace zelkor {

// Whether what was written to out reached it; if not (a full disk, a closed pipe), says so
// on err, since a report that did not reach its reader is no success.
bool reportWritten(std::ostream& out, std::ostream& err);

// The exit status of a command whose report was its last step: success only if it arrived.
int reportStatus(std::ostream& out, std::ostream& err);

} // namespace zelkor
