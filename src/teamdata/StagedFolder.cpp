#include "teamdata/StagedFolder.h"

#include "core/DisplayText.h"
#include "core/Errors.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

std::string shownPath(const fs::path& path) {
    return visibleText(path.string());
}

std::string reasonOf(int error) {
    return std::error_code(error, std::generic_category()).message();
}

// Flushes the folder's entries, so that a rename or a new file survives a crash.
void syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

// Whether name is "prefix" followed by digits only: a staging folder of this folder, not
// of another whose name begins alike.
bool isStagingName(const std::string& name, const std::string& prefix) {
    return name.size() > prefix.size() && name.starts_with(prefix) &&
           name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

// A temporary file that an earlier writer left in the folder when it was killed:
// ".NAME.import-N".
bool isLeftoverTemporary(const std::string& name) {
    const std::size_t mark = name.rfind(".import-");
    return name.starts_with('.') && mark != std::string::npos && mark > 0 &&
           name.size() > mark + 8 &&
           name.find_first_not_of("0123456789", mark + 8) == std::string::npos;
}

std::string fileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        throw RosterWriteError("Cannot read '" + shownPath(path) + "' to carry it over.");
    }
    return text.str();
}

// The folder itself, links resolved, also when it does not exist yet.
fs::path resolved(const fs::path& folder) {
    std::error_code error;
    fs::path path = fs::weakly_canonical(fs::absolute(folder, error), error);
    if (error || path.empty()) {
        path = fs::absolute(folder, error).lexically_normal();
    }
    if (!path.has_filename() && path.has_parent_path() && path != path.root_path()) {
        path = path.parent_path();
    }
    return path;
}

} // namespace

std::string stagingPrefix(const fs::path& folder) {
    return "." + folder.filename().string() + ".zelkor-stage-";
}

StagedFolder::StagedFolder(const fs::path& folder, std::chrono::milliseconds patience)
    : shown_(folder), folder_(resolved(folder)) {
    if (folder_ == folder_.root_path() || !folder_.has_filename()) {
        throw RosterWriteError("The folder '" + shownPath(shown_) +
                               "' cannot be replaced in one step; choose a folder inside it.");
    }
    folderLock_.emplace(folder_, patience);

    // 1. What killed runs left: their staging folders beside this one. None is in use,
    // since a run makes one only while it holds the lock.
    const fs::path parent = folder_.parent_path();
    const std::string prefix = stagingPrefix(folder_);
    std::error_code error;
    for (fs::directory_iterator entry(parent, error), end; !error && entry != end;
         entry.increment(error)) {
        if (isStagingName(entry->path().filename().string(), prefix)) {
            std::error_code ignored;
            fs::remove_all(entry->path(), ignored);
        }
    }

    // 2. The folder must be readable to carry its other files over.
    fs::directory_iterator probe(folder_, error);
    if (error) {
        throw RosterWriteError("Cannot read the folder '" + shownPath(shown_) +
                               "': " + error.message() + ". Nothing was written.");
    }

    // 3. The staging folder, which needs a parent that can be written.
    std::random_device random;
    for (int attempt = 0; attempt < 10; ++attempt) {
        staging_ = parent / (prefix + std::to_string(random()));
        if (::mkdir(staging_.c_str(), 0700) == 0) {
            break;
        }
        const int reason = errno;
        staging_.clear();
        if (reason != EEXIST) {
            throw RosterWriteError("Cannot write beside the folder '" + shownPath(shown_) +
                                   "', where its new contents are prepared before they replace "
                                   "the old in one step: " +
                                   reasonOf(reason) + " (in '" + shownPath(parent) +
                                   "'). Nothing was written.");
        }
    }
    if (staging_.empty()) {
        throw RosterWriteError("Cannot make a staging folder beside '" + shownPath(shown_) +
                               "'. Nothing was written.");
    }
    // Held through the swap, so that no run locks the new contents before this one is done.
    stagingLock_.emplace(staging_, patience);
}

StagedFolder::~StagedFolder() {
    if (!staging_.empty()) {
        std::error_code ignored;
        fs::remove_all(staging_, ignored);
    }
}

RosterWrite StagedFolder::add(const std::string& name, const std::string& text, bool roster) {
    const fs::path target = shown_ / name;
    const fs::path original = folder_ / name;
    std::error_code error;
    const fs::file_status old = fs::symlink_status(original, error);
    // A replaced file keeps its permissions.
    const fs::perms mode = fs::is_regular_file(old)
                               ? old.permissions()
                               : fs::perms::owner_read | fs::perms::owner_write |
                                     fs::perms::group_read | fs::perms::others_read;
    const fs::path written = staging_ / name;
    writeNewFile(written, text, mode, "the file '" + shownPath(target) + "'");
    if (roster) {
        checkRosterReadsBack(written, target);
    }
    added_.insert(name);
    RosterWrite done{target, std::nullopt};
    if (fs::is_regular_file(old)) {
        done.backup = shown_ / (name + ".bak");
    }
    return done;
}

RosterWrite StagedFolder::addRoster(const std::string& code, const std::string& text) {
    return add(code, text, true);
}

RosterWrite StagedFolder::addFile(const std::string& name, const std::string& text) {
    return add(name, text, false);
}

void StagedFolder::carryOver() {
    std::error_code error;
    for (fs::directory_iterator entry(folder_, error), end; entry != end; entry.increment(error)) {
        if (error) {
            break;
        }
        const std::string name = entry->path().filename().string();
        const fs::path from = entry->path();
        const fs::file_status status = fs::symlink_status(from, error);
        if (name == FolderLockName || isLeftoverTemporary(name)) {
            continue;
        }
        const bool replaced = added_.contains(name);
        if (name.ends_with(".bak") && added_.contains(name.substr(0, name.size() - 4))) {
            continue; // the file it backs up is replaced, and its backup with it
        }
        const fs::path to = staging_ / (replaced ? name + ".bak" : name);
        if (fs::is_symlink(status)) {
            if (replaced) {
                throw RosterWriteError("'" + shownPath(shown_ / name) +
                                       "' is a link; it is left alone. Nothing was written.");
            }
            fs::copy_symlink(from, to, error);
        } else if (fs::is_regular_file(status)) {
            writeNewFile(to, fileText(from), status.permissions(),
                         "'" + shownPath(shown_ / to.filename()) + "'");
        } else if (fs::is_directory(status) && !replaced) {
            fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks,
                     error);
        } else {
            throw RosterWriteError("'" + shownPath(shown_ / name) +
                                   "' is not a plain file, a folder or a link, so the folder "
                                   "cannot be replaced with it. Nothing was written.");
        }
        if (error) {
            throw RosterWriteError("Cannot carry '" + shownPath(shown_ / name) +
                                   "' over into the new contents of the folder: " +
                                   error.message() + ". Nothing was written.");
        }
    }
    if (error) {
        throw RosterWriteError("Cannot read the folder '" + shownPath(shown_) +
                               "': " + error.message() + ". Nothing was written.");
    }
}

void StagedFolder::commit() {
    carryOver();
    // The new contents get the old folder's permissions.
    struct stat old {};
    if (::stat(folder_.c_str(), &old) == 0) {
        ::chmod(staging_.c_str(), old.st_mode & 07777);
    }
    syncFolder(staging_);
    if (::renameat2(AT_FDCWD, staging_.c_str(), AT_FDCWD, folder_.c_str(), RENAME_EXCHANGE) == 0) {
        syncFolder(folder_.parent_path());
        // A run working in the folder goes on in the new one, not in the old it removes.
        std::error_code error;
        if (fs::equivalent(fs::current_path(error), staging_, error) && !error) {
            // Failing, the run stays where it was: only its relative paths miss the season.
            [[maybe_unused]] const int moved = ::chdir(folder_.c_str());
        }
        return; // staging_ now holds the old contents, which the destructor removes
    }
    const int reason = errno;
    if (reason != EINVAL && reason != ENOSYS && reason != EOPNOTSUPP) {
        throw RosterWriteError("Cannot put the new contents of the folder '" + shownPath(shown_) +
                               "' in place: " + reasonOf(reason) + ". Nothing was written.");
    }
    // A file system that cannot swap two folders (a network one): each file is renamed into
    // place, the backups first, which a kill can still cut between two files.
    for (const std::string& name : added_) {
        for (const std::string& file : {name + ".bak", name}) {
            std::error_code error;
            if (fs::exists(fs::symlink_status(staging_ / file, error))) {
                fs::rename(staging_ / file, folder_ / file, error);
                if (error) {
                    throw RosterWriteError("Cannot put '" + shownPath(shown_ / file) +
                                           "' in place: " + error.message() + ".");
                }
            }
        }
    }
    syncFolder(folder_);
}

} // namespace zelkor
