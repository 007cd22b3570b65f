#include "cli/SeasonCommand.h"

#include "cli/CommonOptions.h"
#include "cli/ExitStatus.h"
#include "cli/FitCheckText.h"
#include "cli/InterruptWatch.h"
#include "cli/OutlookCommand.h"
#include "cli/ProgressBar.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "season/FitCheckTable.h"
#include "season/MessageText.h"
#include "season/SeasonBuild.h"
#include "season/SeasonTest.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>
#include <sstream>

namespace zelkor {

namespace {

struct BuildOptions {
    std::string skaters;
    std::string results;
    std::string teamStats;
    std::optional<std::string> prior;
    int calibrationSeries = CalibrationSeries;
    std::string priorResults;
    std::string odds;
    std::string line = "close";
    SeasonBuildRequest request;
};

int runBuild(BuildOptions& options, std::ostream& out, std::ostream& err) {
    SeasonBuildRequest& request = options.request;
    request.skaters = options.skaters;
    request.results = options.results;
    if (!options.teamStats.empty()) {
        request.teamStats = options.teamStats;
    }
    if (options.prior) {
        request.prior = *options.prior;
    }
    request.series = options.calibrationSeries;
    if (!options.priorResults.empty()) {
        request.priorResults = options.priorResults;
    }
    SeasonTestRequest test{
        request.folder,   request.results,
        options.odds,     options.line == "open" ? OddsLine::Open : OddsLine::Close,
        request.prior,    request.priorResults,
        SeasonTestSeries, 1};
    if (!options.odds.empty()) {
        checkSeasonTestInputs(test); // a bad odds file stops the build before it writes
    }
    std::stop_source stop;
    const InterruptWatch watch;
    std::optional<SeasonBuildReport> report;
    {
        ProgressBar bar(err, standardErrorIsTerminal()); // wiped before any message
        report = buildSeason(request, stop.get_token(), [&](const SeasonBuildStep& step) {
            if (watch.interrupted()) {
                stop.request_stop();
            }
            bar.stage(step.done, step.stage);
        });
    }
    if (!report) {
        err << "Stopped before the end: nothing was written." << std::endl;
        return ExitInterrupted;
    }

    std::ostringstream text;
    writeFitCheck(fitCheckTable(report->check), text);
    text << '\n';
    for (const RosterWrite& written : report->written) {
        text << "Wrote " << shownPath(written.file);
        if (written.backup) {
            text << " (the old file is kept as " << shownPath(*written.backup) << ")";
        }
        text << '\n';
    }
    for (const ImportedRoster& roster : report->rosters) {
        for (const std::string& note : roster.notes) {
            text << "Note: " << note << '\n';
        }
    }
    if (!report->unknownTeams.empty()) {
        text << "Skipped the skaters of teams without a league code:";
        for (const std::string& team : report->unknownTeams) {
            text << ' ' << shownText(team);
        }
        text << '\n';
    }
    if (!options.odds.empty()) {
        MarketSummary summary;
        {
            ProgressBar bar(err, standardErrorIsTerminal());
            summary = testSeasonFolder(test, [&bar](int done, int total) {
                bar.count(static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(total),
                          "games");
            });
        }
        text << "The season walked forward with its own rosters (" << SeasonTestSeries
             << " series a game, seed 1): " << marketSummaryLine(summary) << "\nWrote "
             << shownPath(request.folder / MarketSummaryFileName) << '\n';
    }
    out << text.str() << std::flush;
    return reportStatus(out, err);
}

} // namespace

int runSeasonCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    if (argc > 1 && std::string_view(argv[1]) == "outlook") {
        return runOutlookCommand(argc - 1, argv + 1, out, err);
    }
    BuildOptions options;
    CLI::App app{"Season folders: the rosters and ratings a prediction of another season uses.",
                 "zelkor-cli season"};
    app.require_subcommand(1);
    CLI::App* build = app.add_subcommand(
        "build", "Imports every team's roster, fits the ratings to the results and writes both "
                 "into a season folder; nothing is written unless everything can be.");
    build->add_option("--skaters", options.skaters, "CSV file of every team's skater statistics")
        ->required()
        ->type_name("SKATERS.csv");
    build->add_option("--results", options.results, "CSV file of the season's games")
        ->required()
        ->type_name("RESULTS.csv");
    build
        ->add_option(
            "--team-stats", options.teamStats,
            "CSV file of the teams' totals: special teams, goals against and shootout records")
        ->type_name("TEAMS.csv");
    addDateOption(*build, "--before", options.request.before,
                  "Fit to the games before this date only");
    addPriorOption(*build, options.prior, "Ratings the fit starts from and shrinks toward");
    build
        ->add_option("--prior-results", options.priorResults,
                     "Last season's results: the Elo kept in elo.csv carries 60 % of each club's "
                     "rating from them (without: every club starts level)")
        ->type_name("RESULTS.csv");
    build
        ->add_option("--season", options.request.season,
                     "The season to read from files that hold several: the skaters' as their "
                     "season column writes it, the teams' by the year it begins with")
        ->type_name("SEASON");
    addCalibrationSeriesOption(*build, options.calibrationSeries,
                               "Series the fit plays of each game for each check", "--series");
    build
        ->add_option("--odds", options.odds,
                     "Odds file of the season (an odds archive's sheet or date, visitor, home, "
                     "visitor_odds, home_odds): after the build, walk the season forward and keep "
                     "its summary against the market in summary.csv")
        ->type_name("ODDS.csv");
    build->add_option("--line", options.line, "The archive's line: close (default) or open")
        ->check(CLI::IsMember({"open", "close"}, CLI::ignore_case))
        ->type_name("open|close");
    build->add_flag("--force", options.request.replace,
                    "Replace existing files (each old one is kept as NAME.bak)");
    build->add_option("--to", options.request.folder, "The season folder to write")
        ->required()
        ->type_name("DIR");
    // Listed for the help; the command line goes to runOutlookCommand above.
    app.add_subcommand("outlook", "Plays the rest of a season many times: final points, playoff "
                                  "chances, the goal race (see season outlook --help).");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }
    try {
        return runBuild(options, out, err);
    } catch (const std::exception& error) {
        err << error.what() << forceHint(error.what()) << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
