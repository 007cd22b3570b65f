#include "teamdata/RosterFile.h"

#include "core/Errors.h"
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

bool isBlankItem(std::string_view item) {
    return item.find_first_not_of(" \t") == std::string_view::npos;
}

} // namespace

RosterFile::RosterFile(const std::string& code, const fs::path& folder, RosterFindings& findings)
    : code_(code), folder_(folder), findings_(findings), items_(buffer_) {
    if (!isPlainFileName(code)) {
        const std::string message = code.empty()
                                        ? "No roster file can be opened for an empty team code."
                                        : fileLabel(code) +
                                              " is not a plain file name; a team code names "
                                              "a file in folder '" +
                                              shownFolder(folder) + "'.";
        refuse(FindingKind::Missing, "not a plain file name", message);
        return;
    }
    open_ = buffer_.open(folder / code);
    if (!open_) {
        refuseOpening();
    }
}

bool RosterFile::readInto(std::string& cell, int player, int column) {
    if (!open_) {
        return false;
    }
    ItemRead result = ItemRead::End;
    try {
        result = items_.readItem(cell);
    } catch (const std::system_error& error) {
        const std::string reason = "cannot be read: " + reasonInSentence(error.code());
        refuse(FindingKind::Read, reason, where() + " " + reason + ".");
        return false;
    }
    switch (result) {
    case ItemRead::Item:
        itemLines_.push_back(items_.itemLine());
        startsLine_.push_back(items_.itemStartsLine());
        return true;
    case ItemRead::End:
        refuseShort();
        return false;
    case ItemRead::TooLong:
    case ItemRead::UnclosedQuote: {
        const std::string problem = itemReadProblem(result, items_.itemLine());
        findings_.add({FindingSeverity::Error, FindingKind::Data, items_.itemLine(), player, column,
                       problem, cellLabel(code_, player, column) + ": " + problem + "."});
        return false;
    }
    case ItemRead::Utf16:
    case ItemRead::NulCharacter: {
        const std::string problem = itemReadProblem(result, items_.itemLine());
        findings_.add({FindingSeverity::Error, FindingKind::Data,
                       result == ItemRead::Utf16 ? 0 : items_.itemLine(), 0, 0, problem,
                       where() + " is " + problem + "."});
        return false;
    }
    }
    return false;
}

std::pair<int, int> RosterFile::linesLeft() {
    std::pair<int, int> lines{0, 0};
    std::string item;
    try {
        for (ItemRead result = items_.readItem(item); open_ && result != ItemRead::End;
             result = items_.readItem(item)) {
            // What a prediction never reads cannot stop it: the rest counts as left over.
            if (result != ItemRead::Item || !isBlankItem(item)) {
                lines.first = lines.first == 0 ? items_.itemLine() : lines.first;
                lines.second = items_.itemLine();
            }
            if (result != ItemRead::Item) {
                break;
            }
        }
    } catch (const std::system_error&) {
    }
    return lines;
}

std::string RosterFile::where() const {
    return fileLabel(code_) + " in folder '" + shownFolder(folder_) + "'";
}

void RosterFile::refuse(FindingKind kind, std::string words, std::string message) {
    open_ = false;
    findings_.add({FindingSeverity::Error, kind, 0, 0, 0, std::move(words), std::move(message)});
}

void RosterFile::refuseOpening() {
    switch (buffer_.refusal()) {
    case RegularFileBuffer::Refusal::NotFound: {
        std::error_code ignored;
        const fs::file_status folder = fs::status(folder_, ignored);
        if (!fs::exists(folder)) {
            refuse(FindingKind::Missing, "not found: the folder does not exist",
                   "The roster folder '" + shownFolder(folder_) + "' does not exist.");
        } else if (!fs::is_directory(folder)) {
            refuse(FindingKind::Missing, "not found: the folder is not a folder",
                   "The roster folder '" + shownFolder(folder_) + "' is not a folder.");
        } else {
            refuse(FindingKind::Missing, "not found",
                   fileLabel(code_) + " was not found in folder '" + shownFolder(folder_) + "'.");
        }
        return;
    }
    case RegularFileBuffer::Refusal::Folder:
        refuse(FindingKind::Missing, "not a plain file (a folder)",
               where() + " is a folder, not a file.");
        return;
    case RegularFileBuffer::Refusal::NotRegularFile:
        refuse(FindingKind::Missing, std::string("not a plain file (") + buffer_.kind() + ")",
               where() + " cannot be opened: it is not a regular file (" + buffer_.kind() + ").");
        return;
    case RegularFileBuffer::Refusal::None:
    case RegularFileBuffer::Refusal::SystemError:
        break;
    }
    const std::string reason = "cannot be opened: " + reasonInSentence(buffer_.error());
    refuse(FindingKind::Missing, reason, where() + " " + reason + ".");
}

void RosterFile::refuseShort() {
    const auto read = static_cast<int>(itemLines_.size());
    const std::string needs = " (" + std::string(RosterLayout) + ")";
    if (read == 0) {
        refuse(FindingKind::Short,
               "empty; a roster needs " + std::to_string(RosterItems) + " items" + needs,
               where() + " is empty; it needs " + std::to_string(RosterItems) + " items" + needs +
                   ".");
        return;
    }
    const std::string after =
        "ends after " + std::to_string(read) + (read == 1 ? " item" : " items");
    open_ = false;
    findings_.add(
        {FindingSeverity::Error, FindingKind::Short, itemLines_.back(), 0, 0,
         after + "; a roster needs " + std::to_string(RosterItems) + needs,
         where() + " " + after + "; it needs " + std::to_string(RosterItems) + needs + "."});
}

// An empty visiting file is refused like any short file rather than skipped, so no
// prediction runs on tables left from an earlier one.
void readRosterTables(PredictionState& state, const std::string& visitorCode,
                      const std::string& homeCode, const fs::path& rosterFolder) {
    RosterFindings findings(RosterFindings::Mode::ThrowFirstError);
    RosterFile visitorFile(visitorCode, rosterFolder, findings);
    RosterFile homeFile(homeCode, rosterFolder, findings);
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        for (int column = NameColumn; column <= RosterColumns; ++column) {
            visitorFile.readInto(state.RosterX.at(player, column), player, column);
            homeFile.readInto(state.RosterY.at(player, column), player, column);
        }
    }
}

} // namespace zelkor
