#include "cli/CommandLine.h"
#include "cli/ConsolePrediction.h"

#include <iostream>
#include <variant>

int main(int argc, char** argv) {
    const auto parsed = zelkor::parseCommandLine(argc, argv);
    if (const int* exitStatus = std::get_if<int>(&parsed)) {
        return *exitStatus;
    }
    return zelkor::runConsolePrediction(std::get<zelkor::CommandLineOptions>(parsed), std::cout,
                                        std::cerr);
}
