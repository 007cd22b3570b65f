#include "season/RosterCheck.h"

#include "core/Errors.h"
#include "core/PredictionState.h"
#include "season/MessageText.h"
#include "season/TeamCodes.h"
#include "teamdata/RegularFileBuffer.h"
#include "teamdata/RosterItemReader.h"
#include "teamdata/RosterReader.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <sstream>
#include <system_error>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

// A roster file is 18 short lines; one far larger than this is something else.
constexpr std::uintmax_t LargestRosterFile = 16 * 1024 * 1024;

// Bytes looked at to tell a text from a binary file, and the share of control
// characters (other than tab and line ends) above which it is not text.
constexpr std::size_t TextSniffBytes = 4096;
constexpr double MostControlCharacters = 0.05;

const char* const FieldNames[] = {"name", "games played", "goals", "assists"};

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7f;
}

bool isPlainText(std::string_view text) {
    const std::string_view start = text.substr(0, TextSniffBytes);
    if (text.find('\0') != std::string_view::npos) {
        return false;
    }
    const auto controls = std::count_if(start.begin(), start.end(), isControl);
    return static_cast<double>(controls) <=
           MostControlCharacters * static_cast<double>(start.size());
}

// Where each line starts; line ends are counted as the item reader counts them.
std::vector<std::size_t> lineStarts(std::string_view text) {
    std::vector<std::size_t> starts{0};
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] == '\n' ||
            (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n'))) {
            starts.push_back(at + 1);
        }
    }
    return starts;
}

int lineOf(const std::vector<std::size_t>& starts, std::size_t offset) {
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) -
                            starts.begin());
}

// How an item reads as a number: whole, a number with text after it, or none.
enum class NumberForm { Whole, Leading, None };

NumberForm numberForm(std::string_view item) {
    std::string compact;
    for (const char c : item) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact.push_back(c);
        }
    }
    std::size_t at = 0;
    if (at < compact.size() && (compact[at] == '+' || compact[at] == '-')) {
        ++at;
    }
    const auto digitsFrom = [&](std::size_t from) {
        std::size_t end = from;
        while (end < compact.size() && compact[end] >= '0' && compact[end] <= '9') {
            ++end;
        }
        return end;
    };
    std::size_t end = digitsFrom(at);
    bool digits = end > at;
    if (end < compact.size() && compact[end] == '.') {
        const std::size_t fraction = digitsFrom(end + 1);
        digits = digits || fraction > end + 1;
        end = fraction;
    }
    if (!digits) {
        return NumberForm::None;
    }
    if (end < compact.size() && (compact[end] == 'e' || compact[end] == 'E')) {
        std::size_t exponent = end + 1;
        if (exponent < compact.size() && (compact[exponent] == '+' || compact[exponent] == '-')) {
            ++exponent;
        }
        if (digitsFrom(exponent) > exponent) {
            end = digitsFrom(exponent);
        }
    }
    return end == compact.size() ? NumberForm::Whole : NumberForm::Leading;
}

std::string shownNumber(Single value) {
    std::ostringstream text;
    text << value;
    return text.str();
}

// One item as the prediction reads it, and where it stands in the file.
struct PlacedItem {
    std::string text;
    int line = 0;
    bool startsLine = false; ///< nothing but blanks before it on its line
};

class Checker {
public:
    explicit Checker(RosterFileCheck& check) : check_(check) {}

    void add(ProblemSeverity severity, int line, int player, int column, std::string message) {
        check_.problems.push_back(
            {severity, line, player, column < 0 ? "" : FieldNames[column], std::move(message)});
    }

private:
    RosterFileCheck& check_;
};

// A name with an unquoted comma gives its line a fifth field, and every later field moves
// on by one: the first item that leaves the one-line-of-four layout, if any.
std::optional<std::size_t> firstMisplacedItem(const std::vector<PlacedItem>& items) {
    for (std::size_t index = 1; index < items.size(); ++index) {
        const bool startsRow = index % RosterColumns == 0;
        if (startsRow != items[index].startsLine) {
            return index;
        }
    }
    return std::nullopt;
}

// Whether items from one on look shifted: a name that is a number, a count that is text.
bool looksShifted(const std::vector<PlacedItem>& items, std::size_t from) {
    for (std::size_t index = from; index < items.size(); ++index) {
        const NumberForm form = numberForm(items[index].text);
        if ((index % RosterColumns == 0) == (form == NumberForm::Whole) ||
            form == NumberForm::Leading) {
            return true;
        }
    }
    return false;
}

// Reports a shift and returns how many items can be checked one by one: all of them
// unless the fields have shifted.
std::size_t checkLayout(const std::vector<PlacedItem>& items, Checker& checker) {
    const std::optional<std::size_t> misplaced = firstMisplacedItem(items);
    if (!misplaced) {
        return items.size();
    }
    const PlacedItem& before = items[*misplaced - 1];
    const int player = static_cast<int>((*misplaced - 1) / RosterColumns) + 1;
    const auto column = static_cast<int>(*misplaced % RosterColumns);
    if (!looksShifted(items, *misplaced)) {
        // Items may run on over lines; the prediction counts them, whatever the lines.
        checker.add(ProblemSeverity::Note, before.line, player, -1,
                    "the players do not stand one to a line from here on; the prediction counts "
                    "fields, not lines");
        return items.size();
    }
    const std::string fields =
        column == 0 ? "more than 4 fields"
                    : "only " + std::to_string(column) + (column == 1 ? " field" : " fields");
    checker.add(ProblemSeverity::Error, before.line, player, -1,
                "the line has " + fields +
                    ", so every later field has shifted (a name that contains a comma must be "
                    "in double quotes); the fields after it are not checked");
    return *misplaced;
}

void checkItems(const std::vector<PlacedItem>& items, std::size_t checked, Checker& checker) {
    Single goals = 0;
    Single assists = 0;
    for (std::size_t index = 0; index < checked; ++index) {
        const int column = static_cast<int>(index % RosterColumns);
        const int player = static_cast<int>(index / RosterColumns) + 1;
        const PlacedItem& item = items[index];
        const NumberForm form = numberForm(item.text);
        if (column == 0) {
            if (form == NumberForm::Whole) {
                checker.add(ProblemSeverity::Error, item.line, player, column,
                            "the name '" + shownText(item.text) +
                                "' is a number: the fields have shifted (a name that contains a "
                                "comma must be in double quotes)");
            }
            continue;
        }
        Single value = 0;
        try {
            value = itemValue(item.text);
        } catch (const ZelkorError& error) {
            checker.add(ProblemSeverity::Error, item.line, player, column, error.what());
            continue;
        }
        if (form == NumberForm::None) {
            checker.add(ProblemSeverity::Warning, item.line, player, column,
                        item.text.empty()
                            ? "empty; it counts 0"
                            : "'" + shownText(item.text) + "' is not a number; it counts 0");
        } else if (form == NumberForm::Leading) {
            checker.add(ProblemSeverity::Warning, item.line, player, column,
                        "'" + shownText(item.text) + "' is read as " + shownNumber(value));
        }
        if (value < 0) {
            checker.add(ProblemSeverity::Error, item.line, player, column,
                        "negative (" + shownNumber(value) + "); counts must not be negative");
        } else if (column == GamesColumn - 1 && value == 0) {
            checker.add(ProblemSeverity::Error, item.line, player, column,
                        "0; every player needs games played above 0");
        }
        if (column == GoalsColumn - 1) {
            goals += value;
        } else if (column == AssistsColumn - 1) {
            assists += value;
        }
    }
    if (checked == static_cast<std::size_t>(RosterItems)) {
        if (assists == 0) {
            checker.add(ProblemSeverity::Error, 0, 0, -1,
                        "the assists of the 18 players add up to 0; the prediction needs some");
        }
        if (goals == 0) {
            checker.add(ProblemSeverity::Error, 0, 0, -1,
                        "the goals of the 18 players add up to 0; the prediction needs some");
        }
    }
}

} // namespace

bool RosterFileCheck::usable() const {
    return std::none_of(problems.begin(), problems.end(), [](const RosterProblem& problem) {
        return problem.severity == ProblemSeverity::Error;
    });
}

RosterFileCheck checkRosterFile(const fs::path& path) {
    RosterFileCheck check{path, {}};
    Checker checker(check);
    // Opened as a prediction opens it, so that a pipe or a device is refused, not waited on.
    RegularFileBuffer file;
    if (!file.open(path)) {
        switch (file.refusal()) {
        case RegularFileBuffer::Refusal::NotFound:
            checker.add(ProblemSeverity::Error, 0, 0, -1, "not found");
            break;
        case RegularFileBuffer::Refusal::Folder:
            checker.add(ProblemSeverity::Error, 0, 0, -1, "not a plain file (a folder)");
            break;
        case RegularFileBuffer::Refusal::NotRegularFile:
            checker.add(ProblemSeverity::Error, 0, 0, -1,
                        std::string("not a plain file (") + file.kind() + ")");
            break;
        case RegularFileBuffer::Refusal::SystemError:
        case RegularFileBuffer::Refusal::None:
            checker.add(ProblemSeverity::Error, 0, 0, -1,
                        "cannot be opened: " + file.error().message());
            break;
        }
        return check;
    }
    std::string text;
    try {
        std::istreambuf_iterator<char> from(&file);
        for (; from != std::istreambuf_iterator<char>() && text.size() <= LargestRosterFile;
             ++from) {
            text.push_back(*from);
        }
    } catch (const std::system_error& error) {
        checker.add(ProblemSeverity::Error, 0, 0, -1, "cannot be read: " + error.code().message());
        return check;
    }
    if (text.size() > LargestRosterFile) {
        checker.add(ProblemSeverity::Error, 0, 0, -1, "larger than 16 MiB; not a roster file");
        return check;
    }
    if (!isPlainText(text)) {
        checker.add(ProblemSeverity::Error, 0, 0, -1, "not a plain text file");
        return check;
    }

    const std::vector<std::size_t> starts = lineStarts(text);
    std::stringbuf buffer(text, std::ios::in);
    RosterItemReader reader(buffer);
    std::vector<PlacedItem> items;
    std::string item;
    while (items.size() < static_cast<std::size_t>(RosterItems)) {
        const auto position =
            static_cast<std::size_t>(buffer.pubseekoff(0, std::ios::cur, std::ios::in));
        const ItemRead result = reader.readItem(item);
        if (result == ItemRead::End) {
            break;
        }
        if (result != ItemRead::Item) {
            const auto player = static_cast<int>(items.size() / RosterColumns) + 1;
            const auto column = static_cast<int>(items.size() % RosterColumns);
            checker.add(ProblemSeverity::Error, reader.itemLine(), player, column,
                        itemReadProblem(result, reader.itemLine()));
            return check;
        }
        // The reader skips blanks before an item; its line is that of its first character.
        const std::size_t at = std::min(text.find_first_not_of(' ', position), text.size());
        const int line = lineOf(starts, at);
        const bool startsLine =
            text.find_first_not_of(' ', starts[static_cast<std::size_t>(line - 1)]) == at;
        items.push_back({item, line, startsLine});
    }

    if (items.size() < static_cast<std::size_t>(RosterItems)) {
        checker.add(ProblemSeverity::Error, items.empty() ? 0 : items.back().line, 0, -1,
                    items.empty() ? "empty; a roster needs 72 items (18 players: name, games "
                                    "played, goals, assists)"
                                  : "ends after " + std::to_string(items.size()) +
                                        " items; a roster needs 72 (18 players: name, games "
                                        "played, goals, assists)");
    }
    const std::size_t unshifted = checkLayout(items, checker);
    checkItems(items, unshifted, checker);

    const auto position =
        static_cast<std::size_t>(buffer.pubseekoff(0, std::ios::cur, std::ios::in));
    const auto firstExtra = text.find_first_not_of(" \t\r\n", position);
    // After a shift the end of the file says nothing more.
    if (unshifted == static_cast<std::size_t>(RosterItems) && firstExtra != std::string::npos) {
        const int first = lineOf(starts, firstExtra);
        const int last = lineOf(starts, text.find_last_not_of(" \t\r\n"));
        checker.add(ProblemSeverity::Note, first, 0, -1,
                    (first == last ? "line " + std::to_string(first) + " is"
                                   : "lines " + std::to_string(first) + " to " +
                                         std::to_string(last) + " are") +
                        " ignored: only the first 18 players are read");
    }
    // What the checks above cannot see, such as totals beyond a single's range: the
    // prediction's own reading has the last word on a file they find usable.
    if (check.usable()) {
        try {
            PredictionState state;
            const std::string name = path.filename().string();
            ReadRosters(state, name, name, path.parent_path().empty() ? "." : path.parent_path());
        } catch (const ZelkorError& error) {
            checker.add(ProblemSeverity::Error, 0, 0, -1, error.what());
        }
    }
    return check;
}

std::vector<fs::path> rosterFilesIn(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (isTeamCode(entry.path().filename().string()) && !entry.is_directory(error)) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace zelkor
