#pragma once

#include "teamdata/RosterWriter.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <string>

namespace zelkor {

// A folder's next contents, written into a staging folder beside it and swapped in with
// one rename, so that a prediction, a crash or a kill at any moment finds the old contents
// or the new, never a mix. The folder stays locked from the start to the end.
//
// The staging folder is ".NAME.zelkor-stage-N" beside the folder; after the swap it holds
// the old contents and is removed. What a killed run leaves beside the folder under that
// name is removed by the next run that locks it.
class StagedFolder {
public:
    // Locks folder (created if missing), removes what killed runs left beside it and makes
    // an empty staging folder there; so a folder or parent that cannot be written is
    // refused here, before any long work. Throws RosterWriteError.
    explicit StagedFolder(const std::filesystem::path& folder,
                          std::chrono::milliseconds patience = std::chrono::seconds(3));
    // Removes the staging folder, holding the new contents or, once swapped, the old.
    ~StagedFolder();
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;

    // The folder's own path, links resolved.
    const std::filesystem::path& folder() const { return folder_; }
    // Where the new contents are written; rosters there read as the folder's will.
    const std::filesystem::path& staging() const { return staging_; }

    // Writes a roster file of the new contents, read back as a prediction reads it; the
    // write names the folder's file, and its backup when the folder holds one to replace.
    RosterWrite addRoster(const std::string& code, const std::string& text);
    // The same for a file that is not a roster (ratings.csv): not read back.
    RosterWrite addFile(const std::string& name, const std::string& text);

    // Carries the folder's other entries over, each replaced file as NAME.bak, and swaps
    // the new contents in. Throws RosterWriteError with the folder as it was.
    void commit();

private:
    RosterWrite add(const std::string& name, const std::string& text, bool roster);
    void carryOver();

    std::filesystem::path shown_;   ///< the folder as the caller named it, for messages
    std::filesystem::path folder_;  ///< the folder itself
    std::filesystem::path staging_; ///< beside it
    std::optional<FolderWriteLock> folderLock_;
    std::optional<FolderWriteLock> stagingLock_;
    std::set<std::string> added_;
};

// The name of the staging folders of folder, up to the number: what a run removes.
std::string stagingPrefix(const std::filesystem::path& folder);

} // namespace zelkor
