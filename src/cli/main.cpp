#include "cli/CommandLine.h"
#include "cli/ConsoleOdds.h"
#include "cli/ConsolePrediction.h"
#include "cli/Tools.h"
#include "core/DisplayText.h"
#include "teamdata/RosterFolderSearch.h"

#include <iostream>
#include <unistd.h>
#include <variant>

int main(int argc, char** argv) {
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
    if (options.series) {
        return zelkor::runConsoleOdds(options, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
    }
    return zelkor::runConsolePrediction(options, std::cout, std::cerr);
}
