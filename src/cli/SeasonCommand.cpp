#include "cli/SeasonCommand.h"

#include "cli/DecimalCount.h"
#include "cli/ExitStatus.h"
#include "cli/InterruptWatch.h"
#include "cli/ProgressBar.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "season/MessageText.h"
#include "season/SeasonBuild.h"
#include "season/SeasonTest.h"

#include <CLI/CLI.hpp>

#include <cmath>
#include <cstdio>
#include <iomanip>
#include <ostream>
#include <sstream>

namespace zelkor {

namespace {

struct BuildOptions {
    std::string skaters;
    std::string results;
    std::string teamStats;
    std::string prior;
    std::string priorResults;
    std::string odds;
    std::string line = "close";
    SeasonBuildRequest request;
};

// "3.01 / 3.00": the model's figure, then the real one.
std::string pair(double model, double real) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(2) << model << " / " << real;
    return text.str();
}

void writeCheck(const std::vector<TeamFitCheck>& check, std::ostream& out) {
    out << "The fit's check, goals a game, model / real (within " << std::lround(FitTolerance * 100)
        << " %):\n"
        << std::left << std::setw(10) << "Team" << std::setw(15) << "Road for" << std::setw(15)
        << "Road against" << std::setw(15) << "Home for" << std::setw(15) << "Home against"
        << "Within\n";
    for (const TeamFitCheck& team : check) {
        out << std::setw(10) << visibleText(team.code);
        for (const VenueCheck* venue : {&team.road, &team.home}) {
            out << std::setw(15) << pair(venue->simulatedFor, venue->goalsFor) << std::setw(15)
                << pair(venue->simulatedAgainst, venue->goalsAgainst);
        }
        out << (team.road.within(FitTolerance) && team.home.within(FitTolerance) ? "yes" : "NO")
            << '\n';
    }
    out << std::right;
}

int runBuild(BuildOptions& options, std::ostream& out, std::ostream& err) {
    SeasonBuildRequest& request = options.request;
    request.skaters = options.skaters;
    request.results = options.results;
    if (!options.teamStats.empty()) {
        request.teamStats = options.teamStats;
    }
    if (!options.prior.empty()) {
        request.prior = options.prior;
    }
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
    writeCheck(report->check, text);
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
    build->add_option("--before", options.request.before, "Fit to the games before this date only")
        ->type_name("YYYY-MM-DD");
    build->add_option("--prior", options.prior, "Ratings the fit starts from")
        ->type_name("RATINGS.csv");
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
    build->add_option("--series", options.request.series, "Series the fit plays for each check")
        ->type_name("N")
        ->check(decimalCount())
        ->check(CLI::PositiveNumber);
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
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }
    try {
        return runBuild(options, out, err);
    } catch (const std::exception& error) {
        err << error.what() << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
