#include "season/RosterCheck.h"

#include "season/TeamCodes.h"
#include "season/TeamDirectory.h"
#include "teamdata/RosterMessages.h"

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

std::vector<fs::path> rosterFilesIn(const fs::path& folder, std::error_code& error) {
    std::vector<fs::path> files;
    fs::directory_iterator entry(folder, error);
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
