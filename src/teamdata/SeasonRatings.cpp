#include "teamdata/SeasonRatings.h"

#include "teamdata/RatingsFile.h"

#include "core/DisplayText.h"
#include "core/FilePlace.h"

#include <charconv>
#include <map>
#include <sstream>
#include <system_error>

namespace zelkor {

namespace {

// Anything by that name counts, so that a folder, a broken link or an unreadable folder
// there is reported by the reader rather than passed over.
std::optional<std::filesystem::path> present(const std::filesystem::path& file) {
    std::error_code error;
    if (std::filesystem::symlink_status(file, error).type() ==
        std::filesystem::file_type::not_found) {
        return std::nullopt;
    }
    return file;
}

// A club's smoothed share of shootouts won; 0.5 without a record.
double shootoutShare(const std::vector<ShootoutRecord>& records, std::string_view code) {
    for (const ShootoutRecord& record : records) {
        if (record.code == code) {
            return (record.wins + 1.0) / (record.wins + record.losses + 2.0);
        }
    }
    return 0.5;
}

[[noreturn]] void refuse(const std::string& label, int line, std::string_view field,
                         const std::string& what) {
    throw RatingsFileError(filePlace(shownFileLabel("Shootouts", label), line, field) + what + ".");
}

int count(std::string_view text, const std::string& label, int line, const char* field) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || value < 0 ||
        value > MostShootoutsOfAClub) {
        refuse(label, line, field,
               "'" + quotedText(text) + "' is not a count from 0 to " +
                   std::to_string(MostShootoutsOfAClub));
    }
    return value;
}

} // namespace

float ShootoutRules::visitorChance(std::string_view visitor, std::string_view home) const {
    const double visitorShare = shootoutShare(records, visitor);
    const double homeShare = shootoutShare(records, home);
    const double visitorEdge = visitorShare * (1 - homeShare);
    return static_cast<float>(visitorEdge / (visitorEdge + homeShare * (1 - visitorShare)));
}

ShootoutRules readShootoutsFile(const std::filesystem::path& path) {
    const std::string label = visibleText(path.string());
    // A season's shootouts file is a few dozen short lines; the ratings reader's limits serve.
    std::string text = readSmallTextFile(path, "Shootouts");
    // A spreadsheet saves UTF-8 with a byte-order mark, which the ratings reader passes over too.
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.erase(0, 3);
    }
    ShootoutRules rules{true, {}};
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    bool header = true;
    std::map<std::string, int> firstLine;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.find_first_not_of(" \t") == std::string::npos) {
            continue;
        }
        if (header) {
            if (line != ShootoutsHeader) {
                refuse(label, number, "header", std::string("the header is ") + ShootoutsHeader);
            }
            header = false;
            continue;
        }
        std::istringstream fields(line);
        std::string code;
        std::string wins;
        std::string losses;
        std::getline(fields, code, ',');
        std::getline(fields, wins, ',');
        std::getline(fields, losses, ',');
        if (!isRatingsCode(code)) {
            refuse(label, number, "code", "'" + quotedText(code) + "' is not a team code");
        }
        if (const auto first = firstLine.find(code); first != firstLine.end()) {
            refuse(label, number, "code",
                   code + " is listed again (first on line " + std::to_string(first->second) + ")");
        }
        firstLine[code] = number;
        rules.records.push_back(
            {code, count(wins, label, number, "wins"), count(losses, label, number, "losses")});
        if (rules.records.size() > MostRatingsRows) {
            refuse(label, number, "code", "more than 1000 rows");
        }
    }
    return rules;
}

std::string shootoutsFileText(const std::vector<ShootoutRecord>& records) {
    std::string text = std::string(ShootoutsHeader) + "\n";
    for (const ShootoutRecord& record : records) {
        text += record.code + "," + std::to_string(record.wins) + "," +
                std::to_string(record.losses) + "\n";
    }
    return text;
}

std::string RatingsChoice::source() const {
    return file ? file->string() : std::string("built-in");
}

RatingsChoice chooseRatings(const std::optional<std::filesystem::path>& givenFile,
                            const std::filesystem::path& rosterFolder) {
    RatingsChoice choice{RatingTable::builtin(), std::nullopt, {}};
    if (givenFile) {
        choice = {std::make_shared<const RatingTable>(readRatingsFile(*givenFile)), givenFile, {}};
    } else if (const auto seasonFile = present(rosterFolder / RatingsFileName)) {
        choice = {
            std::make_shared<const RatingTable>(readRatingsFile(*seasonFile)), seasonFile, {}};
    }
    if (const auto shootouts = present(rosterFolder / ShootoutsFileName)) {
        choice.shootouts = readShootoutsFile(*shootouts);
    }
    return choice;
}

} // namespace zelkor
