#include "cli/RatingsCommand.h"

#include "cli/CommonOptions.h"
#include "cli/ExitStatus.h"
#include "cli/FitCheckText.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "season/CsvFile.h"
#include "season/FitCheckTable.h"
#include "season/FitGames.h"
#include "season/MessageText.h"
#include "season/SeasonRatingsFit.h"
#include "season/TeamCodes.h"
#include "teamdata/RatingsFile.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace zelkor {

namespace {

struct RatingsFitOptions {
    std::string results;
    std::string rosters;
    TeamCodeKind codes = TeamCodeKind::Program;
    std::optional<std::string> prior;
    std::string before;
    double defaultGaa = DefaultGaa;
    bool shootout = false;
    CalibrationRun run;
};

int fitCommand(const RatingsFitOptions& fit, std::ostream& out, std::ostream& err) {
    const std::vector<ResultRow> games =
        gamesBefore(readResultsFile(fit.results, TeamCodeMap({}, fit.codes),
                                    static_cast<Single>(fit.defaultGaa))
                        .games,
                    fit.before);
    checkGamesToFit(games, fit.results, fit.before);
    FitOptions options;
    options.defaultGaa = static_cast<Single>(fit.defaultGaa);
    // As a season build fits: shootouts when the games had them.
    options.shootout = fit.shootout || hadShootouts(games);
    if (fit.prior) {
        options.prior = std::make_shared<const RatingTable>(readRatingsFile(*fit.prior));
    }
    const RatingsFit fitted = *fitSeasonRatings(games, fit.rosters, options, fit.run);
    writeFitCheck(fitCheckTable(fitted.check), err);
    out << ratingsFileText(fitted.table) << std::flush;
    return reportStatus(out, err);
}

} // namespace

int runRatingsCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    bool builtin = false;
    std::string file;
    RatingsFitOptions fit;
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
        app.add_option("--fit", fit.results,
                       "Fit the ratings to the games of this results file (before --before) "
                       "and write them; the check goes to standard error")
            ->type_name("RESULTS.csv")
            ->excludes(builtinOption);
    app.add_option("--rosters", fit.rosters, "With --fit: the season's roster folder")
        ->type_name("DIR")
        ->needs(fitOption);
    addCodesOption(app, fit.codes,
                   "With --fit: the results' teams as the program's codes (default) or the "
                   "league's, as the roster files are named")
        ->needs(fitOption);
    addPriorOption(app, fit.prior,
                   "With --fit: ratings to start from and shrink toward (last "
                   "season's)")
        ->needs(fitOption);
    addDateOption(app, "--before", fit.before, "With --fit: only the games before this date")
        ->needs(fitOption);
    addDefaultGaaOption(app, fit.defaultGaa, "With --fit: GAA of a goalie the file gives none for")
        ->needs(fitOption);
    app.add_flag("--shootout", fit.shootout,
                 "With --fit: level games go to a shootout (the default when a game of the results "
                 "went to one)")
        ->needs(fitOption);
    addCalibrationSeriesOption(app, fit.run.seriesPerGame,
                               "With --fit: series per game of the simulations that correct and "
                               "check the fit",
                               "--check-series")
        ->needs(fitOption);
    addCalibrationRoundsOption(app, fit.run.rounds, "With --fit: simulations that correct the fit")
        ->needs(fitOption);
    app.footer("Columns of a ratings file: " + std::string(RatingsHeader) +
               "; venue is road or home, one row per code and venue. --check-series is an "
               "older name of --calibration-series.");
    try {
        app.parse(argc, argv);
        if (!builtin && file.empty() && fit.results.empty()) {
            throw CLI::RequiredError("--builtin, --fit or FILE");
        }
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }

    try {
        if (!fit.results.empty()) {
            return fitCommand(fit, out, err);
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
