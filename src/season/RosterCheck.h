#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zelkor {

enum class ProblemSeverity {
    Error,   ///< the prediction refuses the file or fails on it
    Warning, ///< the prediction runs, but not on what the file seems to say
    Note,    ///< worth knowing; changes nothing
};

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

// Reads a roster file item by item as a prediction does and reports every problem at
// once: too few items, games played of 0, negative values, values that are not numbers
// (they count 0), assists or goals adding up to 0, fields shifted by a name with an
// unquoted comma, lines after the 18th player (ignored), a file that is not plain text.
RosterFileCheck checkRosterFile(const std::filesystem::path& path);

// The roster files of a folder, in order of name: the files named by a team code.
std::vector<std::filesystem::path> rosterFilesIn(const std::filesystem::path& folder);

} // namespace zelkor
