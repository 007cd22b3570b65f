#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
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

// Why a player's name cannot stand in a roster file as written, if it cannot: it is
// empty, longer than the reader takes an item, or begins with a byte-order mark, which
// the reader takes for the start of the file's encoding.
std::optional<std::string> rosterNameProblem(const std::string& name);

// What writing a roster file did.
struct RosterWrite {
    std::filesystem::path file;
    std::optional<std::filesystem::path> backup; ///< the replaced file, kept beside it
};

// The words of every problem about a file that exists and was not to be replaced, so that
// a front end can add how its user asks for the replacement.
inline constexpr std::string_view ExistingTargetWords = "exists already";

// Why the team's file cannot be written into folder, if it cannot: it exists and replace
// was not asked, or it is not a plain file.
std::optional<std::string> rosterTargetProblem(const std::filesystem::path& folder,
                                               const std::string& code, bool replace);

// Writes the file named by the code into folder (created if missing) through a temporary
// file, flushed to the disk, read back as a prediction reads it, and renamed into place;
// an existing file is replaced only with replace, and is then kept as CODE.bak. Throws
// RosterWriteError, with the line and player of what would not read back.
RosterWrite writeRosterFile(const std::filesystem::path& folder, const std::string& code,
                            const std::string& text, bool replace);

// The same for a file of the folder that is not a roster (ratings.csv): not read back.
RosterWrite writeFolderFile(const std::filesystem::path& folder, const std::string& name,
                            const std::string& text, bool replace);

// A new file of the given mode with text in it, on the disk before it returns. Never
// follows a link or replaces a file already there. Throws RosterWriteError naming label.
void writeNewFile(const std::filesystem::path& path, const std::string& text,
                  std::filesystem::perms mode, const std::string& label);

// Refuses the written roster file that a prediction would not read as it stands: every
// error and warning the roster check finds in it, named as the file shown. Throws
// RosterWriteError.
void checkRosterReadsBack(const std::filesystem::path& written, const std::filesystem::path& shown);

// The folder's lock file, which every run that writes into the folder holds while it
// checks and writes, so that what one run says it kept is not undone by another.
inline constexpr const char* FolderLockName = ".zelkor-import.lock";

// Holds the lock of folder (created if missing) while it lives. Another run's hold is
// waited for up to patience; then RosterWriteError says the folder is busy. A folder
// swapped in whole while waiting is locked anew.
class FolderWriteLock {
public:
    explicit FolderWriteLock(const std::filesystem::path& folder,
                             std::chrono::milliseconds patience = std::chrono::seconds(3));
    ~FolderWriteLock();
    FolderWriteLock(const FolderWriteLock&) = delete;
    FolderWriteLock& operator=(const FolderWriteLock&) = delete;

private:
    int descriptor_ = -1;
};

} // namespace zelkor
