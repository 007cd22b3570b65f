#include "cli/ImportRosterCommand.h"

#include "cli/ExitStatus.h"
#include "cli/JsonText.h"
#include "core/DisplayText.h"
#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "season/RosterImport.h"
#include "season/TeamCodes.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iomanip>
#include <ostream>
#include <set>
#include <sstream>

namespace zelkor {

namespace fs = std::filesystem;

namespace {

struct ImportOptions {
    std::string statistics;
    std::string team;
    bool all = false;
    std::string folder;
    bool force = false;
    bool json = false;
    std::vector<std::string> extraCodes;
};

void writeTable(const ImportedRoster& roster, std::ostream& out) {
    std::size_t nameWidth = 6;
    for (const Skater& player : roster.players) {
        nameWidth = std::max(nameWidth, visibleText(player.name).size());
    }
    out << " #  " << std::left << std::setw(static_cast<int>(nameWidth)) << "Player"
        << "  Pos     GP    G    A  PTS\n";
    int row = 0;
    for (const Skater& player : roster.players) {
        out << std::right << std::setw(2) << ++row << "  " << std::left
            << std::setw(static_cast<int>(nameWidth)) << visibleText(player.name) << "  "
            << std::setw(5) << player.position.substr(0, 5) << std::right << std::setw(5)
            << player.games << std::setw(5) << player.goals << std::setw(5) << player.assists
            << std::setw(5) << player.points() << '\n';
    }
}

nlohmann::ordered_json rosterJson(const ImportedRoster& roster, const RosterWrite& written) {
    nlohmann::ordered_json players = nlohmann::ordered_json::array();
    for (const Skater& player : roster.players) {
        players.push_back({{"name", player.name},
                           {"position", player.position},
                           {"games", player.games},
                           {"goals", player.goals},
                           {"assists", player.assists},
                           {"points", player.points()}});
    }
    return {{"code", roster.code},
            {"file", written.file.string()},
            {"backup", written.backup ? nlohmann::ordered_json(written.backup->string()) : nullptr},
            {"notes", roster.notes},
            {"players", players}};
}

int runImport(const ImportOptions& options, std::ostream& out, std::ostream& err) {
    const TeamCodeMap codes(options.extraCodes);
    std::optional<std::string> chosenTeam;
    if (!options.all) {
        chosenTeam = codes.codeFor(options.team);
        if (!chosenTeam) {
            err << "'" << shownText(options.team)
                << "' is not a team code of the program nor a known abbreviation; name one with "
                   "--map ABBR=CODE."
                << std::endl;
            return ExitUsageError;
        }
    }
    const fs::path source = options.statistics;
    const SkaterStatistics statistics = readSkaterStatistics(
        readCsvFile(source), "The file '" + shownPath(source) + "'", codes, chosenTeam);

    std::vector<std::string> teams;
    if (chosenTeam) {
        teams.push_back(*chosenTeam);
    } else {
        std::set<std::string> found;
        for (const Skater& skater : statistics.skaters) {
            found.insert(skater.team);
        }
        teams.assign(found.begin(), found.end());
    }

    // Every roster is chosen and every target checked before any file is written.
    std::vector<ImportedRoster> rosters;
    std::vector<std::string> problems;
    for (const std::string& team : teams) {
        const bool listed = std::any_of(statistics.skaters.begin(), statistics.skaters.end(),
                                        [&](const Skater& skater) { return skater.team == team; });
        try {
            if (!listed) {
                throw InputDataError("The file lists no skater of team " + team + ".");
            }
            rosters.push_back(chooseRoster(team, statistics.skaters));
            if (const auto problem = rosterTargetProblem(options.folder, team, options.force)) {
                throw RosterWriteError(*problem);
            }
        } catch (const ZelkorError& error) {
            problems.push_back(error.what());
        }
    }
    if (teams.empty()) {
        problems.push_back("The file lists no skater of a known team.");
    }
    if (!problems.empty()) {
        for (const std::string& problem : problems) {
            err << problem << std::endl;
        }
        err << "No roster file was written." << std::endl;
        return ExitPredictionFailed;
    }

    nlohmann::ordered_json report{{"source", source.string()},
                                  {"folder", options.folder},
                                  {"teams", nlohmann::ordered_json::array()},
                                  {"unknown_teams", statistics.unknownTeams}};
    std::ostringstream text;
    std::vector<RosterWrite> done;
    for (const ImportedRoster& roster : rosters) {
        RosterWrite written;
        try {
            written = writeRosterFile(options.folder, roster.code,
                                      rosterFileText(rosterLines(roster)), options.force);
        } catch (const RosterWriteError& error) {
            // The files written before stay written: say which, so that nothing is lost.
            for (const RosterWrite& earlier : done) {
                err << "Wrote " << shownPath(earlier.file)
                    << (earlier.backup
                            ? " (the old file is kept as " + shownPath(*earlier.backup) + ")"
                            : std::string())
                    << std::endl;
            }
            err << error.what() << std::endl
                << (done.empty() ? "No roster file was written."
                                 : "The other roster files were not written.")
                << std::endl;
            return ExitPredictionFailed;
        }
        done.push_back(written);
        report["teams"].push_back(rosterJson(roster, written));
        text << roster.code << ": the 18 players chosen from '" << shownPath(source) << "'\n";
        writeTable(roster, text);
        for (const std::string& note : roster.notes) {
            text << "Note: " << note << '\n';
        }
        text << "Wrote " << shownPath(written.file);
        if (written.backup) {
            text << " (the old file is kept as " << shownPath(*written.backup) << ")";
        }
        text << "\n\n";
    }
    if (options.all && !statistics.unknownTeams.empty()) {
        text << "Skipped rows of teams without a code:";
        for (const std::string& team : statistics.unknownTeams) {
            text << ' ' << shownText(team);
        }
        text << " (name a code with --map ABBR=CODE)\n";
    }
    if (options.json) {
        out << jsonText(report);
    } else {
        out << text.str();
    }
    out.flush();
    if (!out) {
        err << "Cannot write the report to standard output." << std::endl;
        return ExitPredictionFailed;
    }
    return ExitSuccess;
}

} // namespace

int runImportRoster(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    ImportOptions options;
    CLI::App app{"Writes roster files from a CSV file of a season's skater statistics: the 12 "
                 "forwards and 6 defencemen of a team with the most points.",
                 "zelkor-cli import-roster"};
    app.add_option("STATS", options.statistics, "CSV file of skater statistics")
        ->required()
        ->type_name("STATS.csv");
    CLI::Option* team = app.add_option("--team", options.team,
                                       "The team to import (its code, e.g. MON, or "
                                       "the file's abbreviation, e.g. MTL)")
                            ->type_name("CODE");
    CLI::Option* all = app.add_flag("--all", options.all, "Import every team of the file");
    team->excludes(all);
    app.add_option("--to", options.folder, "Roster folder to write into")
        ->required()
        ->type_name("DIR");
    app.add_flag("--force", options.force,
                 "Replace existing roster files (each old one is kept as CODE.bak)");
    app.add_flag("--json", options.json, "Write one JSON object instead of text");
    app.add_option("--map", options.extraCodes,
                   "A team abbreviation of the file and the code to import it as, e.g. SEA=AVG")
        ->type_name("ABBR=CODE")
        ->check(CLI::Validator([](std::string& mapping) { return teamMappingProblem(mapping); },
                               "ABBR=CODE"));
    try {
        app.parse(argc, argv);
        if (team->count() == 0 && !options.all) {
            throw CLI::RequiredError("--team or --all");
        }
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }
    try {
        return runImport(options, out, err);
    } catch (const std::exception& error) {
        err << error.what() << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
