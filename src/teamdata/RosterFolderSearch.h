#pragma once

#include <filesystem>
#include <string>

namespace zelkor {

// What the search for the roster folder looks at. The front ends take it from the process
// (rosterSourcesOfProcess); the tests make up their own.
struct RosterSources {
    std::filesystem::path given;       ///< the folder named on the command line; empty: none
    std::filesystem::path environment; ///< ZELKOR_ROSTERS; empty: not set
    std::filesystem::path dataHome;    ///< XDG_DATA_HOME; empty or relative: not set
    std::filesystem::path home;        ///< HOME; empty: not set
    std::filesystem::path executable;  ///< the running program; empty: unknown
};

// The folder the roster files are read from, and what the user should be told about it.
struct RosterFolderChoice {
    std::filesystem::path folder;
    std::string notice; ///< empty, or one sentence: the user's folder was made, or could not be
};

// The sources of this process: the environment and the program's own file. given is the
// folder named on the command line, empty if none.
RosterSources rosterSourcesOfProcess(std::filesystem::path given);

// Where an installed program keeps the sample rosters, found from the program's own file
// (<prefix>/bin/zelkor gives <prefix>/share/zelkor/rosters).
std::filesystem::path installedSamplesFolder(const std::filesystem::path& executable);

// The user's own roster folder: $XDG_DATA_HOME/zelkor/rosters, else
// $HOME/.local/share/zelkor/rosters; empty when neither is set.
std::filesystem::path userRosterFolder(const RosterSources& sources);

// The first that applies: the given folder, ZELKOR_ROSTERS, and, for an installed program,
// the user's own folder, made on first use from copies of the installed samples, else the
// installed samples themselves. A program that is not installed (run from its build tree)
// reads the working directory. Never throws: a user's folder that cannot be made gives the
// installed samples and a notice that says why.
RosterFolderChoice chooseRosterFolder(const RosterSources& sources);

} // namespace zelkor
