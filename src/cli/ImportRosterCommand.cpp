#include "cli/ImportRosterCommand.h"

#include "cli/CommonOptions.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptWatch.h"
#include "cli/JsonText.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "season/RosterImport.h"
#include "season/TeamCodes.h"
#include "teamdata/RatingsFile.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <iomanip>
#include <new>
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
    TeamCodeKind codes = TeamCodeKind::Program;
    std::optional<std::string> season;
    std::optional<std::string> ratings;
};

// Whether a prediction with the table can use a roster of the code.
bool rates(const RatingTable& table, std::string_view code) {
    return table.canVisit(code) || table.canHost(code);
}

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

void writeRosterReport(const ImportedRoster& roster, const RosterWrite& written,
                       const fs::path& source, std::ostream& out) {
    out << roster.code << ": the 18 players chosen from '" << shownPath(source) << "'\n";
    writeTable(roster, out);
    for (const std::string& note : roster.notes) {
        out << "Note: " << note << '\n';
    }
    out << "Wrote " << shownPath(written.file);
    if (written.backup) {
        out << " (the old file is kept as " << shownPath(*written.backup) << ")";
    }
    out << "\n\n";
}

int runImport(const ImportOptions& options, std::ostream& out, std::ostream& err) {
    const TeamCodeMap codes(options.extraCodes, options.codes);
    std::optional<std::string> chosenTeam;
    if (!options.all) {
        chosenTeam = codes.codeFor(options.team);
        if (!chosenTeam) {
            err << "'" << shownText(options.team)
                << (options.codes == TeamCodeKind::League
                        ? "' is not a league code nor a known abbreviation or name"
                        : "' is not a team code of the program nor a known abbreviation")
                << "; name one with --map ABBR=CODE." << std::endl;
            return ExitUsageError;
        }
    }
    // The ratings the rosters are for: a team they do not rate is not imported.
    std::optional<RatingTable> ratings;
    std::set<std::string> unrated;
    if (options.ratings) {
        ratings = readRatingsFile(*options.ratings);
        if (chosenTeam && !rates(*ratings, *chosenTeam)) {
            err << "The ratings file '" << shownPath(*options.ratings) << "' does not rate "
                << *chosenTeam << ", so that no prediction with it could use the roster."
                << std::endl;
            return ExitUsageError;
        }
    }
    const fs::path source = options.statistics;
    const std::string label = fileLabel(SkatersFileKind, source);
    SkaterStatistics statistics =
        readSkaterStatistics(readCsvFile(source, label), label, codes, chosenTeam, options.season);
    if (ratings) {
        std::erase_if(statistics.skaters, [&](const Skater& skater) {
            if (rates(*ratings, skater.team)) {
                return false;
            }
            unrated.insert(skater.team);
            return true;
        });
    }
    FolderImport imported;
    try {
        // Ctrl+C lets the file being written finish or vanish, so no temporary file is left.
        const InterruptWatch watch;
        imported = importRosters(
            statistics,
            chosenTeam ? std::vector<std::string>{*chosenTeam} : std::vector<std::string>{},
            options.folder, options.force, [&watch] { return watch.interrupted(); });
    } catch (const ZelkorError& error) {
        err << error.what() << forceHint(error.what()) << std::endl;
        return ExitPredictionFailed;
    }
    if (imported.stopped) {
        for (const RosterWrite& written : imported.written) {
            err << "Wrote " << shownPath(written.file);
            if (written.backup) {
                err << " (the old file is kept as " << shownPath(*written.backup) << ")";
            }
            err << '\n';
        }
        err << "Stopped by Ctrl+C: " << (imported.written.empty() ? "no" : "the other")
            << " roster files were written." << std::endl;
        return ExitInterrupted;
    }

    const bool skipped = options.all && (!imported.skippedTeams.empty() || !unrated.empty());
    if (options.json) {
        nlohmann::ordered_json report{{"source", source.string()},
                                      {"folder", options.folder},
                                      {"teams", nlohmann::ordered_json::array()},
                                      {"unknown_teams", statistics.unknownTeams}};
        if (options.ratings) {
            report["ratings"] = *options.ratings;
            report["unrated_teams"] = unrated;
        }
        writeJsonStreaming(out, report, "teams", imported.rosters.size(), [&](std::size_t k) {
            return rosterJson(imported.rosters[k], imported.written[k]);
        });
    } else {
        for (std::size_t k = 0; k < imported.rosters.size() && out; ++k) {
            writeRosterReport(imported.rosters[k], imported.written[k], source, out);
        }
    }
    if (!reportWritten(out, err)) {
        return ExitPredictionFailed;
    }
    if (skipped && !imported.skippedTeams.empty()) {
        err << "Skipped the rows of teams without a code:";
        for (const std::string& team : imported.skippedTeams) {
            err << ' ' << shownText(team);
        }
        err << " (name a code with --map ABBR=CODE); the other teams were written." << std::endl;
    }
    if (skipped && !unrated.empty()) {
        err << "Skipped the teams the ratings file '" << shownPath(*options.ratings)
            << "' does not rate:";
        for (const std::string& team : unrated) {
            err << ' ' << team;
        }
        err << "; the other teams were written." << std::endl;
    }
    if (skipped) {
        return ExitPartlyDone;
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
    CLI::Option* all = app.add_flag("--all", options.all,
                                    "Import every team of the file; exits with 3 when it skips "
                                    "the rows of a team without a code");
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
        ->check(CLI::Validator(
            [](std::string& mapping) {
                // The kind of code is checked once --codes is known.
                return teamMappingProblem(mapping, TeamCodeKind::League).empty()
                           ? std::string()
                           : teamMappingProblem(mapping);
            },
            "ABBR=CODE"));
    addCodesOption(app, options.codes,
                   "Name the roster files by the program's team codes (MON, default) or the "
                   "league's (MTL)");
    app.add_option("--season", options.season,
                   "The season to import from a file whose season column holds several")
        ->type_name("SEASON");
    app.add_option("--ratings", options.ratings,
                   "Import only the teams this ratings file rates, as a prediction with it needs")
        ->type_name("RATINGS.csv");
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
    } catch (const std::bad_alloc&) {
        err << "Not enough memory to import the rosters." << std::endl;
        return ExitPredictionFailed;
    } catch (const std::exception& error) {
        err << error.what() << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
