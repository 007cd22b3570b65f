#include "teamdata/RosterWriter.h"

#include "core/DisplayText.h"
#include "core/Errors.h"
#include "teamdata/RosterFindings.h"
#include "teamdata/RosterItemReader.h"

#include <cerrno>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

std::string rosterName(const std::string& name) {
    std::string text;
    for (const char c : name) {
        if (c == '"') {
            text += '\'';
        } else {
            text += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    return text.find(',') == std::string::npos ? text : '"' + text + '"';
}

} // namespace

std::optional<std::string> rosterNameProblem(const std::string& name) {
    if (name.find_first_not_of(" \t") == std::string::npos) {
        return std::string("the name is empty");
    }
    if (rosterName(name).size() > LongestItem) {
        return "the name is longer than a roster file's item of " + std::to_string(LongestItem) +
               " bytes";
    }
    for (const std::string_view mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"}) {
        if (name.starts_with(mark)) {
            return std::string("the name begins with a byte-order mark (bytes ") +
                   (mark.size() == 3    ? "EF BB BF"
                    : mark[0] == '\xFF' ? "FF FE"
                                        : "FE FF") +
                   "), which a roster file read takes for the text's encoding";
        }
    }
    return std::nullopt;
}

std::string rosterFileText(const std::vector<RosterLine>& players) {
    std::string text;
    for (const RosterLine& player : players) {
        text += rosterName(player.name) + ',' + std::to_string(player.games) + ',' +
                std::to_string(player.goals) + ',' + std::to_string(player.assists) + '\n';
    }
    return text;
}

namespace {

[[noreturn]] void throwWriteError(const std::string& what, int error) {
    throw RosterWriteError(what + ": " + std::error_code(error, std::generic_category()).message() +
                           ".");
}

} // namespace

void writeNewFile(const fs::path& path, const std::string& text, fs::perms mode,
                  const std::string& label) {
    const int descriptor =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, static_cast<mode_t>(mode));
    if (descriptor < 0) {
        throwWriteError("Cannot write " + label, errno);
    }
    std::size_t done = 0;
    int error = 0;
    while (done < text.size() && error == 0) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno != EINTR) {
            error = errno;
        } else if (written > 0) {
            done += static_cast<std::size_t>(written);
        }
    }
    if (error == 0 && ::fsync(descriptor) != 0) {
        error = errno;
    }
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error != 0) {
        std::error_code ignored;
        fs::remove(path, ignored);
        throwWriteError("Cannot write " + label, error);
    }
}

namespace {

// Where a file of the folder is written before it is renamed into place.
fs::path temporaryBeside(const fs::path& folder, const std::string& name) {
    return folder / ("." + name + ".import-" + std::to_string(std::random_device{}()));
}

// Flushes the folder's entries, so that a rename survives a crash.
void syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

} // namespace

std::optional<std::string> rosterTargetProblem(const fs::path& folder, const std::string& code,
                                               bool replace) {
    std::error_code error;
    const fs::path target = folder / code;
    if (!fs::exists(fs::symlink_status(target, error))) {
        return std::nullopt;
    }
    if (!replace) {
        return "The roster file '" + visibleText(target.string()) + "' " +
               std::string(ExistingTargetWords) +
               "; it stays unless replacing it is asked for (the old one is then kept as " +
               visibleText(code) + ".bak).";
    }
    if (!fs::is_regular_file(fs::symlink_status(target, error))) {
        return "'" + visibleText(target.string()) + "' is not a plain file; it is left alone.";
    }
    return std::nullopt;
}

void checkRosterReadsBack(const fs::path& temporary, const fs::path& target) {
    std::string problems;
    for (const RosterFinding& finding :
         diagnoseRosterFile(temporary.filename().string(), temporary.parent_path())) {
        if (finding.severity == FindingSeverity::Note) {
            continue;
        }
        problems += "\n  ";
        if (finding.line > 0) {
            problems += "line " + std::to_string(finding.line) +
                        (finding.player > 0 ? " (player " + std::to_string(finding.player) + ")"
                                            : std::string()) +
                        ": ";
        }
        problems += finding.words;
    }
    if (!problems.empty()) {
        throw RosterWriteError("The roster file '" + visibleText(target.string()) +
                               "' would not read back as written:" + problems +
                               "\nIt was not written.");
    }
}

namespace {

RosterWrite writeCheckedFile(const fs::path& folder, const std::string& code,
                             const std::string& text, bool replace,
                             const std::function<void(const fs::path&, const fs::path&)>& check) {
    const fs::path target = folder / code;
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error)) {
        throw RosterWriteError("The roster folder '" + visibleText(folder.string()) +
                               "' is not a folder and cannot be created.");
    }
    if (const auto problem = rosterTargetProblem(folder, code, replace)) {
        throw RosterWriteError(*problem);
    }
    const fs::file_status old = fs::symlink_status(target, error);
    const bool exists = fs::exists(old);
    // A replaced file keeps its permissions.
    const fs::perms mode = exists ? old.permissions()
                                  : fs::perms::owner_read | fs::perms::owner_write |
                                        fs::perms::group_read | fs::perms::others_read;

    const fs::path temporary = temporaryBeside(folder, code);
    writeNewFile(temporary, text, mode, "the roster file '" + visibleText(target.string()) + "'");
    if (check) {
        try {
            check(temporary, target);
        } catch (...) {
            fs::remove(temporary, error);
            throw;
        }
    }
    RosterWrite written{target, std::nullopt};
    if (exists) {
        // Copied to a new file, then renamed: a link named CODE.bak is replaced, not followed.
        const fs::path backup = folder / (code + ".bak");
        const fs::path backupTemporary = temporaryBeside(folder, code + ".bak");
        const auto keepFailed = [&](const std::string& reason) {
            fs::remove(temporary, error);
            fs::remove(backupTemporary, error);
            throw RosterWriteError("Cannot keep the old roster file as '" +
                                   visibleText(backup.string()) + "' (" + reason +
                                   "); nothing was replaced.");
        };
        std::ifstream oldFile(target, std::ios::binary);
        std::ostringstream oldText;
        oldText << oldFile.rdbuf();
        if (!oldFile) {
            keepFailed("it cannot be read");
        }
        try {
            writeNewFile(backupTemporary, oldText.str(), mode,
                         "'" + visibleText(backup.string()) + "'");
        } catch (const RosterWriteError& failure) {
            keepFailed(failure.what());
        }
        fs::rename(backupTemporary, backup, error);
        if (error) {
            keepFailed(error.message());
        }
        written.backup = backup;
    }
    fs::rename(temporary, target, error);
    if (error) {
        const std::string reason = error.message();
        fs::remove(temporary, error);
        throw RosterWriteError("Cannot put the roster file '" + visibleText(target.string()) +
                               "' in place: " + reason + ".");
    }
    syncFolder(folder);
    return written;
}

} // namespace

RosterWrite writeRosterFile(const fs::path& folder, const std::string& code,
                            const std::string& text, bool replace) {
    return writeCheckedFile(folder, code, text, replace, checkRosterReadsBack);
}

RosterWrite writeFolderFile(const fs::path& folder, const std::string& name,
                            const std::string& text, bool replace) {
    return writeCheckedFile(folder, name, text, replace, {});
}

namespace {

// Whether the descriptor is still the file at path: a folder swapped in whole since it was
// opened has a lock file of its own, which is the one to hold.
bool stillAt(int descriptor, const fs::path& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(descriptor, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

} // namespace

FolderWriteLock::FolderWriteLock(const fs::path& folder, std::chrono::milliseconds patience) {
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    const fs::path lock = folder / FolderLockName;
    const std::string shown = visibleText(folder.string());
    while (true) {
        std::error_code error;
        fs::create_directories(folder, error);
        if (!fs::is_directory(folder, error)) {
            throw RosterWriteError("The roster folder '" + shown +
                                   "' is not a folder and cannot be created.");
        }
        descriptor_ = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (descriptor_ < 0) {
            throwWriteError("Cannot lock the folder '" + shown + "' for writing", errno);
        }
        while (::flock(descriptor_, LOCK_EX | LOCK_NB) != 0) {
            const int reason = errno;
            if ((reason != EWOULDBLOCK && reason != EINTR) ||
                std::chrono::steady_clock::now() >= giveUp) {
                ::close(descriptor_);
                if (reason != EWOULDBLOCK && reason != EINTR) {
                    throwWriteError("Cannot lock the folder '" + shown + "' for writing", reason);
                }
                throw RosterWriteError(
                    "Another import or season build is writing into the folder '" + shown +
                    "'; try again when it has finished. Nothing was written.");
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (stillAt(descriptor_, lock)) {
            return;
        }
        ::close(descriptor_);
    }
}

FolderWriteLock::~FolderWriteLock() {
    // Left in place: removing it would let a run that has it open lock a file no other sees.
    ::close(descriptor_);
}

} // namespace zelkor
