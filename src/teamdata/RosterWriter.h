#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace zelkor {

// One player of a roster file as it is written: name, games played, goals, assists.
struct RosterLine {
    std::string name;
    int games = 0;
    int goals = 0;
    int assists = 0;
};

// The roster file's text: one "name,games,goals,assists" line per player. A name with a
// comma is quoted; double quotes in names become apostrophes and control characters
// blanks, since the roster reader ends a quoted item at any quote and an item at a line end.
std::string rosterFileText(const std::vector<RosterLine>& players);

// What writing a roster file did.
struct RosterWrite {
    std::filesystem::path file;
    std::optional<std::filesystem::path> backup; ///< the replaced file, kept beside it
};

// Why the team's file cannot be written into folder, if it cannot: it exists and replace
// was not asked, or it is not a plain file.
std::optional<std::string> rosterTargetProblem(const std::filesystem::path& folder,
                                               const std::string& code, bool replace);

// Writes the file named by the code into folder (created if missing) through a temporary
// file, flushed to the disk and renamed into place; an existing file is replaced only with
// replace, and is then kept as CODE.bak. Throws RosterWriteError.
RosterWrite writeRosterFile(const std::filesystem::path& folder, const std::string& code,
                            const std::string& text, bool replace);

} // namespace zelkor
