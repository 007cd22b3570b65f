#pragma once

#include "teamdata/RosterFindings.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace zelkor {

using ProblemSeverity = FindingSeverity;

// One thing wrong with a roster file, where it is.
struct RosterProblem {
    ProblemSeverity severity = ProblemSeverity::Error;
    int line = 0;      ///< line of the file, 0 for the whole file
    int player = 0;    ///< player row 1 to 18, 0 for none
    std::string field; ///< "name", "games played", "goals", "assists", or empty
    std::string message;
};

// Everything found in one roster file.
struct RosterFileCheck {
    std::filesystem::path path;
    std::vector<RosterProblem> problems;

    // No error: a prediction can use the file.
    bool usable() const;
};

// The roster reader's findings for the file, read as a prediction reads it: an error
// exactly where a prediction would refuse it.
RosterFileCheck checkRosterFile(const std::filesystem::path& path);

// The roster files of a folder, in order of name: the files named by a team code. error
// says why the folder could not be listed (in full).
std::vector<std::filesystem::path> rosterFilesIn(const std::filesystem::path& folder,
                                                 std::error_code& error);

} // namespace zelkor
