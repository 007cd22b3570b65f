#include "cli/CommandLine.h"

#include "cli/CommonOptions.h"
#include "cli/ExitStatus.h"
#include "core/DisplayText.h"
#include "engine/InputChecks.h"
#include "odds/ManySeries.h"
#include "odds/OddsFigures.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <charconv>
#include <iostream>
#include <sstream>
#include <system_error>

namespace zelkor {

namespace {

// CLI11 validators report a non-empty string as the reason for refusing a value.
CLI::Validator offeredOdds() {
    return CLI::Validator(
        [](std::string& text) {
            return parseOfferedOdds(text) ? std::string{}
                                          : "'" + quotedText(text) + "' is not " + OfferedOddsForms;
        },
        "", "ODDS");
}

// CLI11's messages repeat what was typed: each line visible and of bounded length.
std::string shownLines(std::string_view text) {
    constexpr std::size_t LongestLine = 200;
    std::string shown;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        shown += quotedText(text.substr(start, end - start), LongestLine);
        if (end < text.size()) {
            shown += '\n';
        }
        start = end + 1;
    }
    return shown;
}

} // namespace

std::variant<CommandLineOptions, int> parseCommandLine(int argc, const char* const* argv) {
    CommandLineOptions options;
    std::string folderText;

    CLI::App app{"Predicts an ice-hockey game by playing a series of 11 simulated games.",
                 "zelkor-cli"};
    app.set_version_flag("--version", ZELKOR_VERSION);
    app.footer(
        "Tools: zelkor-cli import-roster | check-rosters | backtest | ratings ... (each with "
        "--help)");
    app.add_option("VISITOR", options.visitor, "Visiting team code, e.g. BOS")
        ->required()
        ->type_name("CODE");
    app.add_option("HOME", options.home, "Home team code, e.g. TOR")->required()->type_name("CODE");
    app.add_option("--gaa-visitor", options.visitorGaa.text,
                   "Visiting goalie's goals-against average, e.g. 2.75")
        ->required()
        ->type_name("NUMBER")
        ->check(gaaNumber());
    app.add_option("--gaa-home", options.homeGaa.text,
                   "Home goalie's goals-against average, e.g. 3.10")
        ->required()
        ->type_name("NUMBER")
        ->check(gaaNumber());
    app.add_option("--rosters", folderText,
                   "Folder holding the roster files (default: $ZELKOR_ROSTERS, else your own "
                   "roster folder when installed, else the working directory)")
        ->type_name("DIR");
    addSeedOption(app, options.seed,
                  "Seed of the random generator (default: from the clock); repeats a series");
    app.add_flag("--json", options.json, "Write one JSON object instead of text");
    std::string ratingsText;
    const CLI::Option* ratingsOption =
        app.add_option("--ratings", ratingsText,
                       "Ratings file of the teams (default: the roster folder's ratings.csv, "
                       "else the built-in 2000-01 table)")
            ->type_name("FILE");
    app.add_flag("--shootout", options.shootout,
                 "Decide a game level after overtime by a shootout (the default of a season "
                 "folder holding shootouts.csv)");

    std::uint64_t series = 0;
    CLI::Option* seriesOption =
        addCountOption(app, "--series", series, std::uint64_t{1}, MostSeriesPerRun,
                       "Play this many series and report the odds they give (each series i "
                       "replays alone with the seed reported for it)")
            ->type_name("K");
    addCountOption(app, "--threads", options.threads, 1U, MostThreads,
                   "Threads for --series (default: every core)")
        ->type_name("T")
        ->needs(seriesOption);
    std::string offeredVisitorText;
    std::string offeredHomeText;
    app.add_option("--offered-visitor", offeredVisitorText,
                   "A bookmaker's odds on the visitor, for the edge: with a decimal point decimal "
                   "(2.10, 500.0), else American (+150, -120, 150: a whole number from 100 on)")
        ->type_name("ODDS")
        ->check(offeredOdds())
        ->needs(seriesOption);
    app.add_option("--offered-home", offeredHomeText,
                   "A bookmaker's odds on the home team, decimal or American")
        ->type_name("ODDS")
        ->check(offeredOdds())
        ->needs(seriesOption);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        std::ostringstream text;
        std::ostringstream message;
        const int status = app.exit(error, text, message);
        std::cerr << shownLines(message.str()) << std::flush;
        if (status != 0) {
            return ExitUsageError;
        }
        std::cout << text.str() << std::flush;
        // Help that did not reach its reader is no success, as a report is not.
        if (!std::cout) {
            std::cerr << "Cannot write to standard output." << std::endl;
            return ExitPredictionFailed;
        }
        return ExitSuccess;
    }

    options.visitorGaa.value = readGaa(options.visitorGaa.text).value;
    options.homeGaa.value = readGaa(options.homeGaa.text).value;
    options.rosterFolder = folderText;
    if (ratingsOption->count() > 0) {
        options.ratingsFile = ratingsText;
    }
    if (seriesOption->count() > 0) {
        options.series = series;
    }
    if (!offeredVisitorText.empty()) {
        options.offeredVisitor = parseOfferedOdds(offeredVisitorText);
    }
    if (!offeredHomeText.empty()) {
        options.offeredHome = parseOfferedOdds(offeredHomeText);
    }
    return options;
}

} // namespace zelkor
