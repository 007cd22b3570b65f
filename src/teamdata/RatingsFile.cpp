#include "teamdata/RatingsFile.h"

#include "core/DisplayText.h"
#include "core/FilePlace.h"
#include "teamdata/RegularFileBuffer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <tuple>
#include <utility>

namespace zelkor {

namespace {

enum Column { Code, Venue, Offence, Penalty, PowerPlay, ShortHanded, Defence, ColumnCount };

constexpr std::array<std::string_view, ColumnCount> ColumnNames{
    "code", "venue", "offence", "penalty", "power_play", "short_handed", "defence"};

// Longest code a ratings file may give a team; codes also name roster files.
constexpr std::size_t LongestCode = 8;

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const auto comma = line.find(',', start);
        fields.push_back(trimmed(line.substr(start, comma - start)));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

} // namespace

bool isRatingsCode(std::string_view code) {
    return !code.empty() && code.size() <= LongestCode &&
           std::all_of(code.begin(), code.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

namespace {

class Parser {
public:
    Parser(std::string_view text, const std::string& label) : text_(text), label_(label) {}

    RatingTable parse() {
        if (text_.size() > MostRatingsFileBytes) {
            fail("is larger than 1 MiB; a ratings file holds a few dozen rows");
        }
        if (text_.starts_with("\xEF\xBB\xBF")) {
            text_.remove_prefix(3);
        }
        if (text_.find('\0') != std::string_view::npos) {
            fail("is not plain text");
        }
        std::optional<std::array<std::size_t, ColumnCount>> columns;
        std::vector<RatedTeam> road;
        std::vector<RatedTeam> home;
        std::set<std::pair<std::string, bool>> seen;
        int line = 0;
        std::size_t rows = 0;
        while (!text_.empty()) {
            ++line;
            const auto end = text_.find('\n');
            std::string_view content = text_.substr(0, end);
            text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
            if (content.ends_with('\r')) {
                content.remove_suffix(1);
            }
            if (trimmed(content).empty()) {
                continue;
            }
            const auto fields = fieldsOf(content);
            if (!columns) {
                columns = headerColumns(fields, line);
                continue;
            }
            if (++rows > MostRatingsRows) {
                fail("has more than 1000 rows");
            }
            const auto field = [&](Column column) -> std::string_view {
                const std::size_t index = (*columns)[column];
                return index < fields.size() ? fields[index] : std::string_view{};
            };
            const std::string code(field(Code));
            if (!isRatingsCode(code)) {
                failAt(line, "code",
                       "'" + quotedText(code) + "'" +
                           " is not a team code (1 to 8 letters and digits)");
            }
            const std::string_view venue = field(Venue);
            if (venue != "road" && venue != "home") {
                failAt(line, "venue", "'" + quotedText(venue) + "'" + " is neither road nor home");
            }
            const bool atHome = venue == "home";
            if (!seen.insert({code, atHome}).second) {
                failAt(line, "code", code + " has a second " + std::string(venue) + " row");
            }
            TeamRating rating{};
            rating.offence = value(field(Offence), line, Offence);
            rating.penalty = value(field(Penalty), line, Penalty);
            rating.powerPlay = value(field(PowerPlay), line, PowerPlay);
            rating.shortHanded = value(field(ShortHanded), line, ShortHanded);
            rating.defence = value(field(Defence), line, Defence);
            if (rating.penalty > 1.0f) {
                failAt(line, "penalty",
                       "a penalty chance lies between 0 and 1, not " + std::string(field(Penalty)));
            }
            if (rating.powerPlay > MostPowerPlayRating) {
                failAt(line, "power_play", unplayable(field(PowerPlay), MostPowerPlayRating));
            }
            if (rating.shortHanded > MostShortHandedRating) {
                failAt(line, "short_handed", unplayable(field(ShortHanded), MostShortHandedRating));
            }
            (atHome ? home : road).push_back({code, rating});
        }
        if (!columns) {
            fail("is empty; its first line names the columns: " + std::string(RatingsHeader));
        }
        if (road.empty() && home.empty()) {
            fail("holds no team");
        }
        return RatingTable(std::move(road), std::move(home));
    }

private:
    [[noreturn]] void fail(const std::string& what) const {
        throw RatingsFileError(shownFileLabel("Ratings", label_) + " " + what + ".");
    }

    [[noreturn]] void failAt(int line, std::string_view field, const std::string& what) const {
        throw RatingsFileError(filePlace(shownFileLabel("Ratings", label_), line, field) + what +
                               ".");
    }

    std::array<std::size_t, ColumnCount> headerColumns(const std::vector<std::string_view>& fields,
                                                       int line) const {
        std::array<std::size_t, ColumnCount> columns{};
        for (std::size_t column = 0; column < ColumnCount; ++column) {
            const auto found = std::find(fields.begin(), fields.end(), ColumnNames[column]);
            if (found == fields.end()) {
                failAt(line, "header",
                       "the column '" + std::string(ColumnNames[column]) +
                           "' is missing; the header is " + RatingsHeader);
            }
            columns[column] = static_cast<std::size_t>(std::distance(fields.begin(), found));
        }
        return columns;
    }

    // The single nearest to the decimal, as the built-in table's values are.
    float value(std::string_view text, int line, Column column) const {
        const std::string_view name = ColumnNames[column];
        float result = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), result);
        if (text.empty() || error == std::errc::invalid_argument ||
            end != text.data() + text.size()) {
            failAt(line, name, "'" + quotedText(text) + "'" + " is not a number");
        }
        if (error == std::errc::result_out_of_range || !std::isfinite(result)) {
            failAt(line, name,
                   "'" + quotedText(text) + "'" + " is not a finite single-precision number");
        }
        if (result < 0 || std::signbit(result)) {
            failAt(line, name,
                   "'" + quotedText(text) + "'" + " is negative; ratings are 0 or above");
        }
        return result;
    }

    static std::string unplayable(std::string_view text, float most) {
        return "'" + quotedText(text) + "' is more than " + std::to_string(std::lround(most)) +
               ", the most a prediction can play (a decimal point lost?)";
    }

    std::string_view text_;
    const std::string& label_;
};

} // namespace

std::optional<std::string> unplayableRating(const TeamRating& rating) {
    for (const auto& [value, most, name] :
         {std::tuple{rating.powerPlay, MostPowerPlayRating, "power play"},
          std::tuple{rating.shortHanded, MostShortHandedRating, "short-handed"}}) {
        if (value > most) {
            char digits[32];
            const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
            return std::string(name) + " " + std::string(digits, end) + " is more than " +
                   std::to_string(std::lround(most)) + ", the most a prediction can play";
        }
    }
    return std::nullopt;
}

namespace {

void appendValue(std::string& text, float value) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text += ',';
    text.append(digits, end);
}

void appendRows(std::string& text, const std::vector<RatedTeam>& rows, std::string_view venue) {
    for (const RatedTeam& row : rows) {
        text += row.code;
        text += ',';
        text += venue;
        appendValue(text, row.rating.offence);
        appendValue(text, row.rating.penalty);
        appendValue(text, row.rating.powerPlay);
        appendValue(text, row.rating.shortHanded);
        appendValue(text, row.rating.defence);
        text += '\n';
    }
}

} // namespace

RatingTable parseRatings(std::string_view text, const std::string& label) {
    return Parser(text, label).parse();
}

std::string readSmallTextFile(const std::filesystem::path& path, const std::string& kind) {
    const std::string label = shownFileLabel(kind, visibleText(path.string()));
    RegularFileBuffer buffer;
    if (!buffer.open(path)) {
        switch (buffer.refusal()) {
        case RegularFileBuffer::Refusal::NotFound:
            throw RatingsFileError(label + " does not exist.");
        case RegularFileBuffer::Refusal::Folder:
            throw RatingsFileError(label + " is a folder, not a file.");
        case RegularFileBuffer::Refusal::NotRegularFile:
            throw RatingsFileError(label + " is " + buffer.kind() + ", not a file.");
        default:
            throw RatingsFileError(label + " cannot be opened: " + buffer.error().message() + ".");
        }
    }
    std::string text;
    try {
        for (int c = buffer.sgetc(); c != std::char_traits<char>::eof(); c = buffer.snextc()) {
            text += static_cast<char>(c);
            if (text.size() > MostRatingsFileBytes) {
                throw RatingsFileError(label + " is larger than 1 MiB; it holds a few dozen rows.");
            }
        }
    } catch (const std::system_error& error) {
        throw RatingsFileError(label + " cannot be read: " + error.code().message() + ".");
    }
    return text;
}

RatingTable readRatingsFile(const std::filesystem::path& path) {
    return parseRatings(readSmallTextFile(path, "Ratings"), visibleText(path.string()));
}

std::string ratingsFileText(const RatingTable& table) {
    std::string text = std::string(RatingsHeader) + "\n";
    appendRows(text, table.road(), "road");
    appendRows(text, table.home(), "home");
    return text;
}

} // namespace zelkor
