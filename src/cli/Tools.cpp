#include "cli/Tools.h"

#include "cli/BacktestCommand.h"
#include "cli/CheckRostersCommand.h"
#include "cli/ExitStatus.h"
#include "cli/ImportRosterCommand.h"
#include "cli/RatingsCommand.h"
#include "cli/ReportOutput.h"
#include "cli/SeasonCommand.h"

#include <array>
#include <string_view>

namespace zelkor {

namespace {

using ToolMain = int (*)(int, const char* const*, std::ostream&, std::ostream&);

struct Tool {
    std::string_view name;
    ToolMain run;
};

constexpr std::array Tools{
    Tool{"import-roster", runImportRoster}, Tool{"check-rosters", runCheckRosters},
    Tool{"backtest", runBacktestCommand},   Tool{"ratings", runRatingsCommand},
    Tool{"season", runSeasonCommand},
};

} // namespace

std::optional<int> runTool(int argc, const char* const* argv, std::ostream& out,
                           std::ostream& err) {
    if (argc < 2) {
        return std::nullopt;
    }
    for (const Tool& tool : Tools) {
        if (tool.name == argv[1]) {
            const int status = tool.run(argc - 1, argv + 1, out, err);
            // Help or a report that did not reach its reader is no success.
            if (status == ExitSuccess && !reportWritten(out, err)) {
                return ExitPredictionFailed;
            }
            return status;
        }
    }
    return std::nullopt;
}

} // namespace zelkor
