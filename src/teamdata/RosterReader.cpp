#include "teamdata/RosterReader.h"

#include "core/DisplayText.h"
#include "core/Errors.h"
#include "teamdata/RegularFileBuffer.h"
#include "teamdata/RosterItemReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <system_error>

namespace zelkor {

namespace {

namespace fs = std::filesystem;

// What a roster file must hold, for messages.
constexpr const char* RosterLayout = "18 players: name, games played, goals, assists";

// Larger decimal exponents than this are all alike: far beyond the range of a Single, and
// beyond the number of digits any item can hold, so a capped exponent still tells whether
// the number is at least 1. Small enough that exponent * 10 + 9 cannot overflow.
constexpr long long ExponentCap = 1'000'000'000'000'000;

std::string shownFolder(const fs::path& folder) {
    std::error_code error;
    const fs::path absolute = fs::absolute(folder, error);
    return visibleText((error ? folder : absolute.lexically_normal()).string());
}

std::string shownValue(Single value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

std::string fileLabel(const std::string& code) {
    return "Roster file '" + quotedText(code) + "'";
}

// The same within a sentence.
std::string fileInSentence(const std::string& code) {
    return "roster file '" + quotedText(code) + "'";
}

const char* columnName(int column) {
    switch (column) {
    case NameColumn:
        return "name";
    case GamesColumn:
        return "games played";
    case GoalsColumn:
        return "goals";
    default:
        return "assists";
    }
}

// "Roster file 'BOS', player row 3, goals": where a value or item is.
std::string cellLabel(const std::string& code, int player, int column) {
    return fileLabel(code) + ", player row " + std::to_string(player) + ", " + columnName(column);
}

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

// Opens both files, visiting first, and reads them alternately, one item at a time, into
// the two tables; both are closed on every way out. An empty visiting file is refused like any
// short file rather than skipped, so no prediction runs on tables left from an earlier one.
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

// The leading decimal number of text (sign, digits, fraction, exponent), without a '+'
// that from_chars refuses; empty when text does not start with a number.
struct LeadingNumber {
    std::string_view text;
    bool negative = false;
    std::string_view wholeDigits;
    std::string_view fractionDigits;
    long long exponent = 0;
};

std::size_t countDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    return end - from;
}

LeadingNumber leadingNumber(std::string_view text) {
    LeadingNumber number;
    std::size_t position = 0;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        number.negative = text[position] == '-';
        ++position;
    }
    const std::size_t start = number.negative ? 0 : position;
    number.wholeDigits = text.substr(position, countDigits(text, position));
    position += number.wholeDigits.size();
    if (position < text.size() && text[position] == '.') {
        number.fractionDigits = text.substr(position + 1, countDigits(text, position + 1));
        position += 1 + number.fractionDigits.size();
    }
    if (number.wholeDigits.empty() && number.fractionDigits.empty()) {
        return {};
    }
    // An exponent counts only when at least one digit follows the 'e' and its sign.
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        std::size_t digitsAt = position + 1;
        const bool negativeExponent = digitsAt < text.size() && text[digitsAt] == '-';
        if (digitsAt < text.size() && (text[digitsAt] == '+' || text[digitsAt] == '-')) {
            ++digitsAt;
        }
        const std::size_t exponentDigits = countDigits(text, digitsAt);
        if (exponentDigits > 0) {
            for (const char digit : text.substr(digitsAt, exponentDigits)) {
                number.exponent = std::min(number.exponent * 10 + (digit - '0'), ExponentCap);
            }
            if (negativeExponent) {
                number.exponent = -number.exponent;
            }
            position = digitsAt + exponentDigits;
        }
    }
    number.text = text.substr(start, position - start);
    return number;
}

// Whether a number that from_chars found out of range is at least 1 in magnitude (an
// overflow) rather than below the smallest Single (an underflow to 0). Out-of-range
// numbers are never near 1, so the position of the first non-zero digit decides.
bool isAtLeastOne(const LeadingNumber& number) {
    const auto firstWhole = number.wholeDigits.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        const auto wholeOrder = static_cast<long long>(number.wholeDigits.size() - firstWhole);
        return wholeOrder - 1 + number.exponent >= 0;
    }
    const auto firstFraction = number.fractionDigits.find_first_not_of('0');
    if (firstFraction == std::string_view::npos) {
        return false;
    }
    return -static_cast<long long>(firstFraction) - 1 + number.exponent >= 0;
}

// itemValue, with where (file, row, column) leading the overflow message if not empty.
Single valueOfItem(std::string_view item, const std::string& where) {
    std::string compact;
    compact.reserve(item.size());
    for (const char c : item) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact.push_back(c);
        }
    }
    const LeadingNumber number = leadingNumber(compact);
    if (number.text.empty()) {
        return 0;
    }
    Single value = 0;
    const auto result =
        std::from_chars(number.text.data(), number.text.data() + number.text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (isAtLeastOne(number)) {
            const std::string problem = "the number '" + quotedText(number.text) +
                                        "' is too large for a single-precision value "
                                        "(at most about 3.4E+38).";
            throw OverflowError(where.empty() ? "Overflow: " + problem : where + ": " + problem);
        }
        return number.negative ? -0.0F : 0.0F;
    }
    return value;
}

// The numeric value of a games, goals or assists cell; a negative count is refused.
Single countOfCell(const RosterTable& table, int player, int column, const std::string& code) {
    const Single value = valueOfItem(table.at(player, column), cellLabel(code, player, column));
    if (value < 0) {
        throw RosterDataError(fileLabel(code) + ": player row " + std::to_string(player) + " has " +
                              columnName(column) + " " + shownValue(value) +
                              "; games played, goals and assists must not be negative.");
    }
    return value;
}

// total + value, rounded to a Single and checked.
Single addedTo(Single total, Single value, const std::string& step) {
    return toSingle(static_cast<double>(total) + static_cast<double>(value), step.c_str());
}

// goalSum / assistSum; assists adding up to 0 are refused before the division.
Single goalsPerAssist(Single goalSum, Single assistSum, const std::string& code) {
    if (assistSum == 0) {
        throw RosterDataError(fileLabel(code) + ": the assists of its " +
                              std::to_string(PlayersPerTeam) +
                              " players add up to 0, so its goals per assist cannot be "
                              "computed.");
    }
    const std::string step = "the goals per assist of " + fileInSentence(code);
    return toSingle(checkedDivide(goalSum, assistSum, step.c_str()), step.c_str());
}

} // namespace

void ReadRosters(PredictionState& state, const std::string& visitorCode,
                 const std::string& homeCode, const std::filesystem::path& rosterFolder) {
    readRosterTables(state, visitorCode, homeCode, rosterFolder);

    // The totals start from 0 at every read.
    state.GoalSumx = 0;
    state.GoalSumy = 0;
    state.AssistSumx = 0;
    state.AssistSumy = 0;

    const std::string visitorGoals = "adding up the goals of " + fileInSentence(visitorCode);
    const std::string homeGoals = "adding up the goals of " + fileInSentence(homeCode);
    const std::string visitorAssists = "adding up the assists of " + fileInSentence(visitorCode);
    const std::string homeAssists = "adding up the assists of " + fileInSentence(homeCode);

    // Every total is rounded to a Single after each addition, in this order.
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        state.GOALX[player] = countOfCell(state.RosterX, player, GoalsColumn, visitorCode);
        state.GoalSumx = addedTo(state.GoalSumx, state.GOALX[player], visitorGoals);
        state.GOALY[player] = countOfCell(state.RosterY, player, GoalsColumn, homeCode);
        state.GoalSumy = addedTo(state.GoalSumy, state.GOALY[player], homeGoals);
        state.Assistx[player] = countOfCell(state.RosterX, player, AssistsColumn, visitorCode);
        state.AssistSumx = addedTo(state.AssistSumx, state.Assistx[player], visitorAssists);
        state.Assisty[player] = countOfCell(state.RosterY, player, AssistsColumn, homeCode);
        state.AssistSumy = addedTo(state.AssistSumy, state.Assisty[player], homeAssists);
        state.Gamex[player] = countOfCell(state.RosterX, player, GamesColumn, visitorCode);
        state.Gamey[player] = countOfCell(state.RosterY, player, GamesColumn, homeCode);
    }

    state.Ratiox = goalsPerAssist(state.GoalSumx, state.AssistSumx, visitorCode);
    state.Ratioy = goalsPerAssist(state.GoalSumy, state.AssistSumy, homeCode);
}

Single itemValue(std::string_view item) {
    return valueOfItem(item, {});
}

} // namespace zelkor
