#include "cli/CommandLine.h"
#include "cli/ConsoleOdds.h"
#include "cli/ConsolePrediction.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptWatch.h"
#include "cli/Tools.h"
#include "core/DisplayText.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/RosterFolderSearch.h"
#include "teamdata/SeasonRatings.h"

#include <iostream>
#include <unistd.h>
#include <variant>

int main(int argc, char** argv) {
    zelkor::installInterruptHandler();
    if (const auto toolStatus = zelkor::runTool(argc, argv, std::cout, std::cerr)) {
        return *toolStatus;
    }
    auto parsed = zelkor::parseCommandLine(argc, argv);
    if (const int* exitStatus = std::get_if<int>(&parsed)) {
        return *exitStatus;
    }
    auto& options = std::get<zelkor::CommandLineOptions>(parsed);
    const zelkor::RosterFolderChoice rosters =
        zelkor::chooseRosterFolder(zelkor::rosterSourcesOfProcess(options.rosterFolder));
    options.rosterFolder = rosters.folder;
    if (!rosters.notice.empty()) {
        std::cerr << zelkor::visibleText(rosters.notice) << std::endl;
    }
    try {
        const zelkor::RatingsChoice ratings =
            zelkor::chooseRatings(options.ratingsFile, options.rosterFolder);
        options.ratings = ratings.table;
        options.ratingsSource = ratings.source();
        options.shootouts = ratings.shootouts;
        options.shootouts.on = options.shootouts.on || options.shootout;
    } catch (const zelkor::RatingsFileError& error) {
        std::cerr << zelkor::visibleText(error.what()) << std::endl;
        return zelkor::ExitPredictionFailed;
    }
    if (options.series) {
        return zelkor::runConsoleOdds(options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
    }
    return zelkor::runConsolePrediction(options, std::cout, std::cerr);
}
