#include "cli/CheckRostersCommand.h"

#include "cli/ExitStatus.h"
#include "cli/JsonText.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "season/MessageText.h"
#include "season/RosterCheck.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>
#include <sstream>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

const char* severityName(ProblemSeverity severity) {
    switch (severity) {
    case ProblemSeverity::Error:
        return "error";
    case ProblemSeverity::Warning:
        return "warning";
    default:
        return "note";
    }
}

std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

void writeText(const RosterFileCheck& check, std::ostream& out) {
    const std::string path = shownPath(check.path);
    for (const RosterProblem& problem : check.problems) {
        out << path;
        if (problem.line > 0) {
            out << ':' << problem.line;
        }
        out << ": " << severityName(problem.severity) << ": ";
        if (problem.player > 0) {
            out << "player row " << problem.player << (problem.field.empty() ? ": " : ", ");
        }
        if (!problem.field.empty()) {
            out << problem.field << ": ";
        }
        out << problem.message << '\n';
    }
    const auto count = [&](ProblemSeverity severity) {
        return static_cast<std::size_t>(std::count_if(
            check.problems.begin(), check.problems.end(),
            [&](const RosterProblem& problem) { return problem.severity == severity; }));
    };
    out << path << ": ";
    if (check.problems.empty()) {
        out << "usable\n";
        return;
    }
    out << counted(count(ProblemSeverity::Error), "error") << ", "
        << counted(count(ProblemSeverity::Warning), "warning") << ", "
        << counted(count(ProblemSeverity::Note), "note") << ": "
        << (check.usable() ? "usable" : "not usable") << '\n';
}

nlohmann::ordered_json checkJson(const RosterFileCheck& check) {
    nlohmann::ordered_json problems = nlohmann::ordered_json::array();
    for (const RosterProblem& problem : check.problems) {
        problems.push_back({{"severity", severityName(problem.severity)},
                            {"line", problem.line},
                            {"player", problem.player},
                            {"field", problem.field},
                            {"message", problem.message}});
    }
    return {{"path", check.path.string()}, {"usable", check.usable()}, {"problems", problems}};
}

} // namespace

int runCheckRosters(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    std::vector<std::string> paths;
    bool json = false;
    CLI::App app{"Checks roster files the way a prediction reads them and reports every "
                 "problem with its line and field. Exit status 0 when every file is usable.",
                 "zelkor-cli check-rosters"};
    app.add_option("PATH", paths,
                   "Roster files, or folders whose files named by a team code "
                   "are checked")
        ->required()
        ->type_name("PATH");
    app.add_flag("--json", json, "Write one JSON object instead of text");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }

    // A folder that cannot be listed, or no memory left, ends the check with its reason.
    try {
        std::vector<RosterFileCheck> checks;
        for (const std::string& path : paths) {
            std::error_code error;
            if (!fs::is_directory(path, error)) {
                checks.push_back(checkRosterFile(path));
                continue;
            }
            const std::vector<fs::path> files = rosterFilesIn(path, error);
            if (error) {
                checks.push_back({path,
                                  {{ProblemSeverity::Error, 0, 0, "",
                                    "a folder that cannot be listed: " + error.message()}}});
            } else if (files.empty()) {
                checks.push_back({path,
                                  {{ProblemSeverity::Error, 0, 0, "",
                                    "a folder without roster files (files named by a team code, "
                                    "such as BOS)"}}});
            }
            for (const fs::path& file : files) {
                checks.push_back(checkRosterFile(file));
            }
        }

        const auto unusable = static_cast<std::size_t>(
            std::count_if(checks.begin(), checks.end(),
                          [](const RosterFileCheck& check) { return !check.usable(); }));
        std::ostringstream text;
        if (json) {
            nlohmann::ordered_json report{{"usable", unusable == 0},
                                          {"files", nlohmann::ordered_json::array()}};
            for (const RosterFileCheck& check : checks) {
                report["files"].push_back(checkJson(check));
            }
            text << jsonText(report);
        } else {
            for (const RosterFileCheck& check : checks) {
                writeText(check, text);
            }
            text << "Checked " << counted(checks.size(), "file") << ": "
                 << (unusable == 0 ? "all usable" : std::to_string(unusable) + " not usable")
                 << ".\n";
        }
        out << text.str() << std::flush;
        if (!reportWritten(out, err)) {
            return ExitPredictionFailed;
        }
        return unusable == 0 ? ExitSuccess : ExitPredictionFailed;
    } catch (const std::exception& error) {
        err << visibleText(error.what()) << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
