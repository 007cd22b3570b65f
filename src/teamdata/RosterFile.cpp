#include "teamdata/RosterFile.h"

#include "core/Errors.h"
#include "teamdata/RegularFileBuffer.h"
#include "teamdata/RosterItemReader.h"
#include "teamdata/RosterMessages.h"
#include "teamdata/RosterReader.h"

#include <string_view>
#include <system_error>

namespace zelkor {

namespace {

namespace fs = std::filesystem;

// What a roster file must hold, for messages.
constexpr const char* RosterLayout = "18 players: name, games played, goals, assists";

// A system's reason as the end of a sentence: "permission denied".
std::string reasonInSentence(const std::error_code& error) {
    std::string reason = error.message();
    if (!reason.empty() && reason[0] >= 'A' && reason[0] <= 'Z' &&
        (reason.size() < 2 || reason[1] < 'A' || reason[1] > 'Z')) {
        reason[0] = static_cast<char>(reason[0] - 'A' + 'a');
    }
    return reason;
}

// Rosters are looked up by a bare name in one folder: a code that could name another
// folder, or no file at all, must not reach the file system.
bool isPlainFileName(std::string_view code) {
    return !code.empty() && code != "." && code != ".." &&
           code.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

// One open roster file, read item by item into a roster table; closed when destroyed.
class RosterFile {
public:
    RosterFile(const std::string& code, const fs::path& folder)
        : code_(code), folder_(folder), items_(buffer_) {
        if (!isPlainFileName(code)) {
            throw RosterFileMissingError(
                code.empty() ? "No roster file can be opened for an empty team code."
                             : fileLabel(code) +
                                   " is not a plain file name; a team code names "
                                   "a file in folder '" +
                                   shownFolder(folder) + "'.");
        }
        if (!buffer_.open(folder / code)) {
            throwCannotOpen();
        }
    }

    RosterFile(const RosterFile&) = delete;
    RosterFile& operator=(const RosterFile&) = delete;

    // Reads the next item, the given field of a player, into cell; fails when the file
    // has ended or the item cannot be taken.
    void readInto(std::string& cell, int player, int column) {
        ItemRead result = ItemRead::End;
        try {
            result = items_.readItem(cell);
        } catch (const std::system_error& error) {
            throw RosterFileReadError(where() +
                                      " cannot be read: " + reasonInSentence(error.code()) + ".");
        }
        switch (result) {
        case ItemRead::Item:
            ++itemsRead_;
            return;
        case ItemRead::End:
            throwShort();
        case ItemRead::TooLong:
        case ItemRead::UnclosedQuote:
            throw RosterDataError(cellLabel(code_, player, column) + ": " +
                                  itemReadProblem(result, items_.itemLine()) + ".");
        case ItemRead::Utf16:
        case ItemRead::NulCharacter:
            throw RosterDataError(where() + " is " + itemReadProblem(result, items_.itemLine()) +
                                  ".");
        }
    }

private:
    std::string where() const {
        return fileLabel(code_) + " in folder '" + shownFolder(folder_) + "'";
    }

    [[noreturn]] void throwCannotOpen() const {
        switch (buffer_.refusal()) {
        case RegularFileBuffer::Refusal::NotFound: {
            std::error_code ignored;
            const fs::file_status folder = fs::status(folder_, ignored);
            if (!fs::exists(folder)) {
                throw RosterFileMissingError("The roster folder '" + shownFolder(folder_) +
                                             "' does not exist.");
            }
            if (!fs::is_directory(folder)) {
                throw RosterFileMissingError("The roster folder '" + shownFolder(folder_) +
                                             "' is not a folder.");
            }
            throw RosterFileMissingError(fileLabel(code_) + " was not found in folder '" +
                                         shownFolder(folder_) + "'.");
        }
        case RegularFileBuffer::Refusal::Folder:
            throw RosterFileMissingError(where() + " is a folder, not a file.");
        case RegularFileBuffer::Refusal::NotRegularFile:
            throw RosterFileMissingError(where() + " cannot be opened: it is not a regular file (" +
                                         buffer_.kind() + ").");
        case RegularFileBuffer::Refusal::None:
        case RegularFileBuffer::Refusal::SystemError:
            break;
        }
        throw RosterFileMissingError(
            where() + " cannot be opened: " + reasonInSentence(buffer_.error()) + ".");
    }

    [[noreturn]] void throwShort() const {
        if (itemsRead_ == 0) {
            throw RosterFileShortError(where() + " is empty; it needs " +
                                       std::to_string(RosterItems) + " items (" + RosterLayout +
                                       ").");
        }
        throw RosterFileShortError(where() + " ends after " + std::to_string(itemsRead_) +
                                   (itemsRead_ == 1 ? " item" : " items") + "; it needs " +
                                   std::to_string(RosterItems) + " (" + RosterLayout + ").");
    }

    std::string code_;
    fs::path folder_;
    RegularFileBuffer buffer_;
    RosterItemReader items_;
    int itemsRead_ = 0;
};

} // namespace

// An empty visiting file is refused like any short file rather than skipped, so no
// prediction runs on tables left from an earlier one.
void readRosterTables(PredictionState& state, const std::string& visitorCode,
                      const std::string& homeCode, const fs::path& rosterFolder) {
    RosterFile visitorFile(visitorCode, rosterFolder);
    RosterFile homeFile(homeCode, rosterFolder);
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        for (int column = NameColumn; column <= RosterColumns; ++column) {
            visitorFile.readInto(state.RosterX.at(player, column), player, column);
            homeFile.readInto(state.RosterY.at(player, column), player, column);
        }
    }
}

} // namespace zelkor
