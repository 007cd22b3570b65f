#include "season/RosterCheck.h"

#include "season/TeamCodes.h"
#include "season/TeamDirectory.h"
#include "teamdata/RosterMessages.h"
#include "teamdata/TeamRatings.h"

#include <algorithm>

namespace zelkor {

namespace fs = std::filesystem;

bool RosterFileCheck::usable() const {
    return std::none_of(problems.begin(), problems.end(), [](const RosterProblem& problem) {
        return problem.severity == ProblemSeverity::Error;
    });
}

RosterFileCheck checkRosterFile(const fs::path& path) {
    RosterFileCheck check{path, {}};
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    for (RosterFinding& finding : diagnoseRosterFile(path.filename().string(), folder)) {
        check.problems.push_back({finding.severity, finding.line, finding.player,
                                  finding.column > 0 ? columnName(finding.column) : "",
                                  std::move(finding.words)});
    }
    return check;
}

namespace {

// A folder that can be searched but not listed (mode 311) still gives a prediction its
// files, as it opens them by name: so are they found here.
std::vector<fs::path> rosterFilesByName(const fs::path& folder) {
    std::vector<std::string> names;
    for (const std::span<const TeamRatingRow> table : {roadRatingTable(), homeRatingTable()}) {
        for (const TeamRatingRow& row : table) {
            names.emplace_back(row.code);
        }
    }
    for (const std::string_view code : leagueCodes()) {
        names.emplace_back(code);
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::vector<fs::path> files;
    for (const std::string& name : names) {
        std::error_code error;
        const fs::file_status status = fs::symlink_status(folder / name, error);
        if (status.type() != fs::file_type::not_found && status.type() != fs::file_type::none &&
            !fs::is_directory(fs::status(folder / name, error))) {
            files.push_back(folder / name);
        }
    }
    return files;
}

} // namespace

std::vector<fs::path> rosterFilesIn(const fs::path& folder, std::error_code& error) {
    std::vector<fs::path> files;
    fs::directory_iterator entry(folder, error);
    if (error == std::errc::permission_denied) {
        std::vector<fs::path> named = rosterFilesByName(folder);
        if (!named.empty()) {
            error.clear();
            return named;
        }
    }
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        std::error_code ignored;
        // A season folder names its rosters by league codes, the samples by the program's.
        const std::string name = entry->path().filename().string();
        if ((isTeamCode(name) || isLeagueCode(name)) && !entry->is_directory(ignored)) {
            files.push_back(entry->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace zelkor
