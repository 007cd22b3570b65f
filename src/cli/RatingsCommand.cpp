#include "cli/RatingsCommand.h"

#include "cli/ExitStatus.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "season/CsvFile.h"
#include "season/RatingsFit.h"
#include "season/TeamCodes.h"
#include "teamdata/RatingsFile.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iomanip>
#include <ostream>
#include <set>
#include <string>

namespace zelkor {

namespace {

// Rounds of the simulation that corrects the analytic fit.
constexpr int CorrectionRounds = 5;

std::string goals(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%5.2f", value);
    return text;
}

void writeCheck(const std::vector<TeamFitCheck>& check, std::ostream& err) {
    err << "Goals a game, real against simulated with the fitted ratings:\n"
        << "club   road for        road against    home for        home against\n";
    int outside = 0;
    for (const TeamFitCheck& team : check) {
        err << std::left << std::setw(6) << visibleText(team.code) << std::right;
        for (const VenueCheck* venue : {&team.road, &team.home}) {
            err << ' ' << goals(venue->goalsFor) << " " << goals(venue->simulatedFor) << "    "
                << goals(venue->goalsAgainst) << " " << goals(venue->simulatedAgainst) << "   ";
        }
        const bool close = team.road.within(FitTolerance) && team.home.within(FitTolerance);
        outside += close ? 0 : 1;
        err << (close ? "within 3 %" : "NOT within 3 %") << '\n';
    }
    err << (outside == 0 ? "Every club" : std::to_string(outside) + " clubs")
        << (outside == 0 ? " plays its season back within 3 %.\n"
                         : " do not play their season back within 3 %.\n");
}

int fitCommand(const std::string& resultsFile, const std::string& rosters, TeamCodeKind codes,
               const std::string& prior, const std::string& before, double defaultGaa,
               bool shootout, int checkSeries, std::ostream& out, std::ostream& err) {
    std::vector<ResultRow> games;
    for (ResultRow& row : readResults(readCsvFile(resultsFile), "The file '" + resultsFile + "'",
                                      TeamCodeMap({}, codes), static_cast<Single>(defaultGaa))
                              .games) {
        if (before.empty() || row.date < before) {
            games.push_back(std::move(row));
        }
    }
    FitOptions options;
    options.defaultGaa = static_cast<Single>(defaultGaa);
    options.shootout = shootout;
    if (!prior.empty()) {
        options.prior = std::make_shared<const RatingTable>(readRatingsFile(prior));
    }
    std::set<std::string> clubs;
    for (const ResultRow& game : games) {
        clubs.insert(game.visitor);
        clubs.insert(game.home);
    }
    const auto scoring = readTeamScoring(rosters, {clubs.begin(), clubs.end()});
    const RatingsFit fit = *calibrateRatings(fitRatings(games, scoring, rosters, options), games,
                                             rosters, options, CorrectionRounds, checkSeries);
    writeCheck(fit.check, err);
    out << ratingsFileText(fit.table) << std::flush;
    return reportStatus(out, err);
}

} // namespace

int runRatingsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    bool builtin = false;
    std::string file;
    std::string fitResults;
    std::string rosters;
    std::string prior;
    std::string before;
    double defaultGaa = 2.75;
    bool shootout = false;
    int checkSeries = 20;
    CLI::App app{"Writes the built-in rating table of the 2000-01 season as a ratings file, or "
                 "checks a ratings file the way a prediction reads it.",
                 "zelkor-cli ratings"};
    CLI::Option* builtinOption =
        app.add_flag("--builtin", builtin,
                     "Write the built-in table (every value reads back as the same single)");
    app.add_option("FILE", file, "A ratings file to check")
        ->type_name("FILE")
        ->excludes(builtinOption);
    CLI::Option* fitOption =
        app.add_option("--fit", fitResults,
                       "Fit the ratings to the games of this results file (before --before) "
                       "and write them; the check goes to standard error")
            ->type_name("RESULTS.csv")
            ->excludes(builtinOption);
    app.add_option("--rosters", rosters, "With --fit: the season's roster folder")
        ->type_name("DIR")
        ->needs(fitOption);
    std::string codesText = "program";
    app.add_option("--codes", codesText,
                   "With --fit: the results' teams as the program's codes (default) or the "
                   "league's, as the roster files are named")
        ->check(CLI::IsMember({"program", "league"}, CLI::ignore_case))
        ->needs(fitOption);
    app.add_option("--prior", prior, "With --fit: ratings to shrink toward (last season's)")
        ->type_name("FILE")
        ->needs(fitOption);
    app.add_option("--before", before, "With --fit: only the games before this date")
        ->type_name("YYYY-MM-DD")
        ->needs(fitOption);
    app.add_option("--default-gaa", defaultGaa, "With --fit: the goalies' average (default 2.75)")
        ->check(CLI::Range(0.5, 10.0))
        ->needs(fitOption);
    app.add_flag("--shootout", shootout, "With --fit: level games go to a shootout")
        ->needs(fitOption);
    app.add_option("--check-series", checkSeries,
                   "With --fit: series per game of the simulations that correct and check the "
                   "fit (default 20)")
        ->check(CLI::Range(1, 1000))
        ->needs(fitOption);
    app.footer("Columns of a ratings file: " + std::string(RatingsHeader) +
               "; venue is road or home, one row per code and venue.");
    try {
        app.parse(argc, argv);
        if (!builtin && file.empty() && fitResults.empty()) {
            throw CLI::RequiredError("--builtin, --fit or FILE");
        }
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }

    try {
        if (!fitResults.empty()) {
            return fitCommand(fitResults, rosters,
                              codesText == "league" ? TeamCodeKind::League : TeamCodeKind::Program,
                              prior, before, defaultGaa, shootout, checkSeries, out, err);
        }
        if (builtin) {
            out << ratingsFileText(*RatingTable::builtin()) << std::flush;
        } else {
            const RatingTable table = readRatingsFile(file);
            out << visibleText(file) << ": " << table.road().size() << " road rows, "
                << table.home().size() << " home rows: usable\n"
                << std::flush;
        }
        return reportStatus(out, err);
    } catch (const std::exception& error) {
        err << visibleText(error.what()) << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
