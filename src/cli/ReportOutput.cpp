#include "cli/ReportOutput.h"

#include "cli/ExitStatus.h"

#include <ostream>

namespace zelkor {

bool reportWritten(std::ostream& out, std::ostream& err) {
    out.flush();
    if (out) {
        return true;
    }
    err << "Cannot write the report to standard output." << std::endl;
    return false;
}

int reportStatus(std::ostream& out, std::ostream& err) {
    return reportWritten(out, err) ? ExitSuccess : ExitPredictionFailed;
}

} // namespace zelkor
