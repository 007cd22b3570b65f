#include "cli/BacktestCommand.h"

#include "cli/DecimalCount.h"
#include "cli/ExitStatus.h"
#include "cli/JsonText.h"
#include "cli/ProgressBar.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "core/PredictionState.h"
#include "season/Backtest.h"
#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "season/RatingsFit.h"
#include "season/SeriesOdds.h"
#include "season/WalkForward.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/RosterCheckHint.h"
#include "teamdata/RosterReader.h"
#include "teamdata/SeasonRatings.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <charconv>
#include <chrono>
#include <cmath>
#include <fstream>
#include <iomanip>
#include <new>
#include <ostream>
#include <random>
#include <set>
#include <sstream>

namespace zelkor {

namespace {
constexpr int DefaultSeries = 50;            // series per game: 550 simulated games
constexpr int MostSeries = 100000;           // beyond this a backtest would run for days
constexpr double DefaultGaa = 2.8;           // a typical goalie's goals-against average
constexpr int LabelWidth = 30;               // of the first column of the figures
constexpr int FigureWidth = 17;              // of each further column
constexpr int DefaultCalibrationRounds = 5;  // each halves about what the analytic fit left
constexpr int DefaultCalibrationSeries = 20; // per game: a club's venue then has ~9,000 games

struct BacktestOptions {
    std::string results;
    std::string rosters;
    int series = DefaultSeries;
    std::optional<std::uint64_t> seed;
    double defaultGaa = DefaultGaa;
    bool json = false;
    std::vector<std::string> extraCodes;
    bool walkForward = false;
    std::optional<std::string> priorRatings;
    bool gaaFromResults = false;
    double priorGames = FitOptions{}.priorGames;
    std::optional<std::string> writeRatings;
    int calibrationRounds = DefaultCalibrationRounds;
    int calibrationSeries = DefaultCalibrationSeries;
    std::string codes = "program"; ///< how the results' teams are named
};

std::string percent(const std::optional<double>& rate) {
    if (!rate) {
        return "-";
    }
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << 100.0 * *rate << " %";
    return text.str();
}

std::string decimal(const std::optional<double>& value, int digits = 3) {
    if (!value) {
        return "-";
    }
    std::ostringstream text;
    text << std::fixed << std::setprecision(digits) << *value;
    return text.str();
}

std::string accuracyText(const Accuracy& accuracy) {
    return percent(accuracy.rate()) + " (" + std::to_string(accuracy.correct) + "/" +
           std::to_string(accuracy.counted) + ")";
}

void writeFiguresRow(std::ostream& out, const std::string& label,
                     const std::vector<const ForecastFigures*>& figures,
                     const std::function<std::string(const ForecastFigures&)>& cell,
                     int width = FigureWidth) {
    out << std::left << std::setw(LabelWidth) << label;
    for (const ForecastFigures* column : figures) {
        out << std::right << std::setw(width) << (column ? cell(*column) : "-");
    }
    out << '\n';
}

void writeCalibration(std::ostream& out, const std::string& title, const ForecastFigures& figures) {
    out << title << '\n' << "  favourite's chance   games  predicted  observed\n";
    for (const CalibrationBin& bin : figures.calibration) {
        out << "  " << std::fixed << std::setprecision(2) << bin.low << " to " << bin.high
            << std::right << std::setw(12) << bin.games;
        if (bin.games > 0) {
            out << std::setw(11) << decimal(bin.predicted) << std::setw(10)
                << decimal(bin.observed);
        }
        out << '\n';
    }
}

void writeText(const BacktestReport& report, const std::string& source, const std::string& ratings,
               std::ostream& out) {
    out << "Backtest of " << report.games.size() << " games from '" << shownPath(source)
        << "': " << report.series << " series of 11 games each, base seed " << report.seed
        << "\nRatings: " << visibleText(ratings) << "\n\n";
    std::vector<const ForecastFigures*> columns{&report.model, &report.homeAlways};
    out << std::left << std::setw(LabelWidth) << "" << std::right << std::setw(FigureWidth)
        << "model" << std::setw(FigureWidth) << "home always";
    if (report.bookmaker) {
        columns.push_back(&*report.modelWithOdds);
        columns.push_back(&*report.bookmaker);
        out << std::setw(FigureWidth) << "model, odds set" << std::setw(FigureWidth) << "bookmaker";
    }
    out << '\n';
    writeFiguresRow(out, "games", columns,
                    [](const ForecastFigures& f) { return std::to_string(f.games); });
    writeFiguresRow(out, "accuracy, level and SO push", columns, [](const ForecastFigures& f) {
        return accuracyText(f.levelAndShootoutPushes);
    });
    writeFiguresRow(out, "accuracy, SO for their winner", columns,
                    [](const ForecastFigures& f) { return accuracyText(f.shootoutsForWinner); });
    writeFiguresRow(out, "log loss (two-way)", columns,
                    [](const ForecastFigures& f) { return decimal(f.logLoss, 4); });
    writeFiguresRow(out, "Brier score (two-way)", columns,
                    [](const ForecastFigures& f) { return decimal(f.brier, 4); });
    out << "(home always: the home team at the season's share of home wins, "
        << decimal(report.homeShare) << ")\n\n";
    writeCalibration(out, "Calibration of the model:", report.model);
    if (report.flatStake) {
        const FlatStake& stake = *report.flatStake;
        out << "\nFlat stake of 1 on every side with a positive model edge: " << stake.bets
            << " bets, " << stake.won << " won, " << stake.pushed << " pushed, profit "
            << decimal(stake.profit, 2) << ", return " << percent(stake.returnOnStake()) << '\n';
    }
}

nlohmann::ordered_json optionalJson(const std::optional<double>& value) {
    return value ? nlohmann::ordered_json(*value) : nullptr;
}

nlohmann::ordered_json accuracyJson(const Accuracy& accuracy) {
    return {{"rate", optionalJson(accuracy.rate())},
            {"correct", accuracy.correct},
            {"counted", accuracy.counted},
            {"pushes", accuracy.pushes}};
}

nlohmann::ordered_json figuresJson(const ForecastFigures& figures) {
    nlohmann::ordered_json bins = nlohmann::ordered_json::array();
    for (const CalibrationBin& bin : figures.calibration) {
        bins.push_back(
            {{"low", bin.low},
             {"high", bin.high},
             {"games", bin.games},
             {"predicted", bin.games > 0 ? nlohmann::ordered_json(bin.predicted) : nullptr},
             {"observed", bin.games > 0 ? nlohmann::ordered_json(bin.observed) : nullptr}});
    }
    return {{"games", figures.games},
            {"accuracy_level_and_shootout_push", accuracyJson(figures.levelAndShootoutPushes)},
            {"accuracy_shootout_for_winner", accuracyJson(figures.shootoutsForWinner)},
            {"decided_games", figures.decidedGames},
            {"log_loss", optionalJson(figures.logLoss)},
            {"brier", optionalJson(figures.brier)},
            {"calibration", bins}};
}

const char* sideName(Side side) {
    switch (side) {
    case Side::Visitor:
        return "visitor";
    case Side::Home:
        return "home";
    default:
        return "level";
    }
}

nlohmann::ordered_json rowJson(const BacktestGame& game) {
    const ResultRow& row = game.result;
    return {{"line", row.line},
            {"date", row.date},
            {"visitor", row.visitor},
            {"home", row.home},
            {"visitor_gaa", row.visitorGaa},
            {"home_gaa", row.homeGaa},
            {"visitor_goals", row.visitorGoals},
            {"home_goals", row.homeGoals},
            {"result", row.result},
            {"visitor_odds", row.odds ? nlohmann::ordered_json(row.odds->visitor) : nullptr},
            {"home_odds", row.odds ? nlohmann::ordered_json(row.odds->home) : nullptr},
            {"seed", game.seed},
            {"model",
             {{"visitor_wins", game.counts.visitorWins},
              {"home_wins", game.counts.homeWins},
              {"level", game.counts.level},
              {"games", game.counts.games},
              {"home_probability", game.forecast.homeProbability},
              {"pick", game.forecast.pick == Side::None ? "none" : sideName(game.forecast.pick)}}},
            {"winner", sideName(game.outcome.winner)},
            {"shootout", game.outcome.shootout}};
}

// The report without its rows, which are written one by one after "rows".
nlohmann::ordered_json reportJson(const BacktestReport& report, const BacktestOptions& options) {
    nlohmann::ordered_json stake = nullptr;
    if (report.flatStake) {
        stake = {{"bets", report.flatStake->bets},
                 {"won", report.flatStake->won},
                 {"pushed", report.flatStake->pushed},
                 {"profit", report.flatStake->profit},
                 {"return", optionalJson(report.flatStake->returnOnStake())}};
    }
    return {{"results", options.results},
            {"rosters", options.rosters},
            {"series", report.series},
            {"seed", report.seed},
            {"default_gaa", options.defaultGaa},
            {"games", report.games.size()},
            {"home_share", report.homeShare},
            {"model", figuresJson(report.model)},
            {"home_always", figuresJson(report.homeAlways)},
            {"games_with_odds", report.gamesWithOdds},
            {"model_on_odds_games",
             report.modelWithOdds ? figuresJson(*report.modelWithOdds) : nullptr},
            {"bookmaker", report.bookmaker ? figuresJson(*report.bookmaker) : nullptr},
            {"flat_stake", stake},
            {"rows", nlohmann::ordered_json::array()}};
}

std::function<void(int, int)> gameCounter(ProgressBar& bar) {
    return [&bar](int done, int total) {
        bar.count(static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(total), "games");
    };
}

// Every team's roster is read once before the first game, so that a bad file stops the
// backtest at once rather than after the games before its team's first.
void checkRosters(const std::vector<ResultRow>& results, const std::string& folder) {
    std::set<std::string> codes;
    for (const ResultRow& row : results) {
        codes.insert(row.visitor);
        codes.insert(row.home);
    }
    // Every team without a usable roster, so that one run names them all.
    std::string problems;
    for (const std::string& code : codes) {
        PredictionState state;
        try {
            ReadRosters(state, code, code, folder);
        } catch (const ZelkorError& error) {
            problems += std::string(error.what()) + "\n";
        }
    }
    if (!problems.empty()) {
        throw InputDataError(problems + rosterCheckHint(folder));
    }
}

// The teams of the results a table cannot rate at the venue they play, each with the
// lines of its games; empty when it rates them all.
std::string unratedTeams(const std::vector<ResultRow>& results, const RatingTable& table) {
    std::map<std::string, std::vector<int>> missing;
    for (const ResultRow& row : results) {
        if (!table.canVisit(row.visitor)) {
            missing[row.visitor + " on the road"].push_back(row.line);
        }
        if (!table.canHost(row.home)) {
            missing[row.home + " at home"].push_back(row.line);
        }
    }
    std::string text;
    for (const auto& [team, lines] : missing) {
        text += "\n  " + team + " (line " + std::to_string(lines.front()) +
                (lines.size() > 1 ? " and " + std::to_string(lines.size() - 1) + " more" : "") +
                ")";
    }
    return text;
}

int runWalkForwardFor(const BacktestOptions& options, const std::vector<ResultRow>& results,
                      std::uint64_t seed, std::ostream& out, std::ostream& err);

int runBacktestFor(const BacktestOptions& options, std::ostream& out, std::ostream& err) {
    const TeamCodeMap codes(options.extraCodes, options.codes == "league" ? TeamCodeKind::League
                                                                          : TeamCodeKind::Program);
    const ResultsFile file =
        readResults(readCsvFile(options.results), "The file '" + shownPath(options.results) + "'",
                    codes, static_cast<Single>(options.defaultGaa));
    const std::vector<ResultRow>& results = file.games;
    if (file.skipped > 0) {
        err << "Skipped " << file.skipped << (file.skipped == 1 ? " game" : " games")
            << " without a score (postponed)." << std::endl;
    }
    if (results.empty()) {
        err << "The file '" << shownPath(options.results) << "' holds no game." << std::endl;
        return ExitPredictionFailed;
    }
    checkRosters(results, options.rosters);
    const std::uint64_t seed =
        options.seed
            ? *options.seed
            : (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
    if (options.walkForward) {
        return runWalkForwardFor(options, results, seed, out, err);
    }
    const RatingsChoice ratings = chooseRatings(
        options.priorRatings ? std::optional<std::filesystem::path>(*options.priorRatings)
                             : std::nullopt,
        options.rosters);
    if (const std::string unrated = unratedTeams(results, *ratings.table); !unrated.empty()) {
        throw InputDataError("The ratings in use (" + shownText(ratings.source()) +
                             ") have no row for these teams of the results; give a ratings "
                             "file that rates them with --ratings:" +
                             unrated);
    }
    ProgressBar bar(err, standardErrorIsTerminal());
    const BacktestReport report = runBacktest(
        results, options.series, seed,
        seriesBySeriesOdds(options.rosters, ratings.table, ratings.shootouts), gameCounter(bar));
    if (options.json) {
        nlohmann::ordered_json json = reportJson(report, options);
        json["ratings"] = ratings.source();
        writeJsonStreaming(out, json, "rows", report.games.size(),
                           [&](std::size_t index) { return rowJson(report.games[index]); });
    } else {
        writeText(report, options.results, ratings.source(), out);
    }
    return reportStatus(out, err);
}

const char* const WalkForwardColumns[] = {"model", "home always", "coin", "Elo"};
constexpr int WalkForwardWidth = 20; // of each column of the walk-forward figures

void writeWalkForwardText(const WalkForwardReport& report, const BacktestOptions& options,
                          std::ostream& out) {
    const BacktestReport& backtest = report.backtest;
    out << "Walk-forward backtest of " << backtest.games.size() << " games on " << report.gameDays
        << " days from '" << shownPath(options.results) << "': " << backtest.series
        << " series of 11 games each, base seed " << backtest.seed << "\n"
        << "Before each day the ratings are fitted to the season's games before it, from "
        << (options.priorRatings ? "'" + shownPath(*options.priorRatings) + "'"
                                 : std::string("league-typical ratings"))
        << " weighted as " << decimal(options.priorGames, 1) << " games a club; goalies: "
        << (options.gaaFromResults
                ? "each starter relative to his club's usual goalie so far"
                : "GAA " + decimal(options.defaultGaa, 2) + " unless the file gives one")
        << ".\n";
    if (options.priorRatings && !report.newClubs.empty()) {
        out << "Clubs the prior lacks, started from its average ratings:";
        for (const std::string& code : report.newClubs) {
            out << ' ' << code;
        }
        out << '\n';
    }
    out << '\n';
    const std::vector<const ForecastFigures*> columns{&backtest.model, &backtest.homeAlways,
                                                      &report.coin, &report.elo};
    out << std::left << std::setw(LabelWidth) << "";
    for (const char* title : WalkForwardColumns) {
        out << std::right << std::setw(WalkForwardWidth) << title;
    }
    out << '\n';
    writeFiguresRow(
        out, "games", columns, [](const ForecastFigures& f) { return std::to_string(f.games); },
        WalkForwardWidth);
    writeFiguresRow(
        out, "games with a winner", columns,
        [](const ForecastFigures& f) { return std::to_string(f.decidedGames); }, WalkForwardWidth);
    writeFiguresRow(
        out, "accuracy, level and SO push", columns,
        [](const ForecastFigures& f) { return accuracyText(f.levelAndShootoutPushes); },
        WalkForwardWidth);
    writeFiguresRow(
        out, "accuracy, SO for their winner", columns,
        [](const ForecastFigures& f) { return accuracyText(f.shootoutsForWinner); },
        WalkForwardWidth);
    writeFiguresRow(
        out, "log loss (two-way)", columns,
        [](const ForecastFigures& f) { return decimal(f.logLoss, 4); }, WalkForwardWidth);
    writeFiguresRow(
        out, "Brier score (two-way)", columns,
        [](const ForecastFigures& f) { return decimal(f.brier, 4); }, WalkForwardWidth);
    const auto difference = [&](const ForecastFigures& baseline) {
        if (!backtest.model.logLoss || !baseline.logLoss) {
            return std::string("-");
        }
        std::ostringstream text;
        text << std::showpos << std::fixed << std::setprecision(4)
             << *backtest.model.logLoss - *baseline.logLoss;
        return text.str();
    };
    out << std::left << std::setw(LabelWidth) << "model's log loss less theirs" << std::right
        << std::setw(WalkForwardWidth) << "" << std::setw(WalkForwardWidth)
        << difference(backtest.homeAlways) << std::setw(WalkForwardWidth) << difference(report.coin)
        << std::setw(WalkForwardWidth) << difference(report.elo) << '\n';
    const EloParameters& elo = report.eloParameters;
    out << "(log loss and Brier count the " << backtest.model.decidedGames
        << " games with a winner, a shootout's included; level games are left out.\n"
        << " home always: the home team at the share of home wins of the games before the day, "
        << decimal(HomeSharePriorGames, 0) << " games at 0.5 added; coin: 0.5;\n"
        << " Elo: every club " << decimal(elo.start, 0) << " at the start, K " << decimal(elo.k, 0)
        << " times 0.6686 ln(goal margin) + 0.8048, home advantage "
        << decimal(elo.homeAdvantage, 0) << " points, " << decimal(elo.scale, 0)
        << " points for 10 to 1)\n\n";
    writeCalibration(out, "Calibration of the model:", backtest.model);
}

nlohmann::ordered_json walkForwardJson(const WalkForwardReport& report,
                                       const BacktestOptions& options) {
    nlohmann::ordered_json json = reportJson(report.backtest, options);
    json["walk_forward"] = true;
    json["prior_ratings"] =
        options.priorRatings ? nlohmann::ordered_json(*options.priorRatings) : nullptr;
    json["prior_games"] = options.priorGames;
    json["gaa_from_results"] = options.gaaFromResults;
    json["new_clubs"] = report.newClubs;
    json["game_days"] = report.gameDays;
    json["coin"] = figuresJson(report.coin);
    json["elo"] = figuresJson(report.elo);
    json["elo_parameters"] = {{"k", report.eloParameters.k},
                              {"home_advantage", report.eloParameters.homeAdvantage},
                              {"start", report.eloParameters.start},
                              {"scale", report.eloParameters.scale}};
    return json;
}

void writeFitCheck(const RatingsFit& fit, std::ostream& out) {
    out << "Season fit played back (goals a game, real / simulated):\n"
        << "  club  road for      road against   home for      home against   within 3 %\n";
    int within = 0;
    for (const TeamFitCheck& check : fit.check) {
        const bool good = check.road.within(FitTolerance) && check.home.within(FitTolerance);
        within += good ? 1 : 0;
        const auto pair = [](double real, double simulated) {
            return decimal(real, 2) + " / " + decimal(simulated, 2);
        };
        out << "  " << std::left << std::setw(6) << check.code << std::setw(14)
            << pair(check.road.goalsFor, check.road.simulatedFor) << std::setw(15)
            << pair(check.road.goalsAgainst, check.road.simulatedAgainst) << std::setw(14)
            << pair(check.home.goalsFor, check.home.simulatedFor) << std::setw(15)
            << pair(check.home.goalsAgainst, check.home.simulatedAgainst) << (good ? "yes" : "NO")
            << '\n';
    }
    out << "  " << within << " of " << fit.check.size() << " clubs within 3 % at both venues\n";
}

int runWalkForwardFor(const BacktestOptions& options, const std::vector<ResultRow>& results,
                      std::uint64_t seed, std::ostream& out, std::ostream& err) {
    std::set<std::string> codes;
    for (const ResultRow& row : results) {
        codes.insert(row.visitor);
        codes.insert(row.home);
    }
    const std::map<std::string, TeamScoring> scoring =
        readTeamScoring(options.rosters, {codes.begin(), codes.end()});
    WalkForwardOptions walk;
    walk.series = options.series;
    walk.seed = seed;
    walk.gaaFromResults = options.gaaFromResults;
    walk.fit.priorGames = options.priorGames;
    walk.fit.defaultGaa = static_cast<Single>(options.defaultGaa);
    if (options.priorRatings) {
        walk.fit.prior =
            std::make_shared<const RatingTable>(readRatingsFile(*options.priorRatings));
    }
    ProgressBar bar(err, standardErrorIsTerminal());
    const auto started = std::chrono::steady_clock::now();
    const WalkForwardReport report =
        runWalkForward(results, scoring, options.rosters, walk, ratedSeriesOdds(options.rosters),
                       gameCounter(bar));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::optional<RatingsFit> seasonFit;
    if (options.writeRatings) {
        // The whole season's fit, played back until every club's goals are its own.
        FitOptions fitOptions = walk.fit;
        if (options.gaaFromResults) {
            fitOptions.gaa = usualGaaSoFar(results, scoring, options.defaultGaa);
        }
        seasonFit = calibrateRatings(
            fitRatings(results, scoring, options.rosters, fitOptions), results, options.rosters,
            fitOptions, options.calibrationRounds, options.calibrationSeries, {}, gameCounter(bar));
        const std::string written = ratingsFileText(seasonFit->table);
        parseRatings(written, "The fitted ratings"); // refuse to write what cannot be read
        std::ofstream file(*options.writeRatings, std::ios::binary | std::ios::trunc);
        file << written;
        if (!file.flush()) {
            err << "Cannot write the ratings file '" << shownPath(*options.writeRatings) << "'."
                << std::endl;
            return ExitPredictionFailed;
        }
    }
    if (options.json) {
        nlohmann::ordered_json json = walkForwardJson(report, options);
        json["seconds"] = seconds;
        writeJsonStreaming(out, json, "rows", report.backtest.games.size(), [&](std::size_t index) {
            nlohmann::ordered_json row = rowJson(report.backtest.games[index]);
            if (index < report.eloHomeProbabilities.size()) {
                row["elo_home_probability"] = report.eloHomeProbabilities[index];
            }
            return row;
        });
    } else {
        writeWalkForwardText(report, options, out);
        out << "\nTime: " << decimal(seconds, 1) << " s\n";
        if (seasonFit) {
            out << "\nRatings of the whole season written to '" << shownPath(*options.writeRatings)
                << "'.\n";
            writeFitCheck(*seasonFit, out);
        }
    }
    return reportStatus(out, err);
}

} // namespace

int runBacktestCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    BacktestOptions options;
    CLI::App app{"Predicts every game of a results file with the model's many-series odds and "
                 "scores the predictions against the results and two baselines.",
                 "zelkor-cli backtest"};
    app.add_option("RESULTS", options.results,
                   "CSV file with the columns date, visitor, home, visitor_goals, home_goals and "
                   "optionally result (REG, OT, SO, T), visitor_gaa, home_gaa, visitor_odds, "
                   "home_odds (decimal or American); or a statistics site's game table "
                   "(Date, Visitor, G, Home, G, OT or SO)")
        ->required()
        ->type_name("RESULTS.csv");
    app.add_option("--rosters", options.rosters, "Folder holding the roster files")
        ->required()
        ->type_name("DIR");
    app.add_option("--series", options.series, "Series of 11 games played per game (default 50)")
        ->check(decimalCount())
        ->check(CLI::Range(1, MostSeries))
        ->type_name("K");
    app.add_option("--seed", options.seed,
                   "Base seed (default: a random one, reported); repeats a "
                   "backtest exactly")
        ->type_name("UINT64");
    app.add_option("--default-gaa", options.defaultGaa,
                   "GAA of a goalie the file gives none for (default 2.8)")
        ->check(CLI::Range(0.01, 100.0))
        ->type_name("NUMBER");
    app.add_flag("--json", options.json,
                 "Write one JSON object with a row per game instead of text");
    app.add_option("--map", options.extraCodes,
                   "A team abbreviation of the file and the code to read it as, e.g. SEA=AVG")
        ->type_name("ABBR=CODE")
        ->check(CLI::Validator([](std::string& mapping) { return teamMappingProblem(mapping); },
                               "ABBR=CODE"));
    app.add_option("--codes", options.codes,
                   "Read the results' teams as the program's codes (default) or the league's, as "
                   "the roster files are named")
        ->check(CLI::IsMember({"program", "league"}, CLI::ignore_case))
        ->type_name("program|league");
    app.add_flag("--walk-forward", options.walkForward,
                 "Refit the ratings before each game day from the season's games before it, "
                 "and score the model against always-home, a coin and an Elo, all walk-forward");
    app.add_option("--ratings", options.priorRatings,
                   "Ratings file of every game (default: the roster folder's ratings.csv, "
                   "else the built-in table); with --walk-forward the ratings the fit "
                   "starts from and shrinks toward, e.g. last season's fit (default: "
                   "league-typical ratings)")
        ->type_name("FILE");
    app.add_option("--prior-games", options.priorGames,
                   "With --walk-forward: weight of the prior in games a club (default 50)")
        ->check(CLI::Range(0.0, 1000.0))
        ->type_name("GAMES");
    app.add_flag("--gaa-from-results", options.gaaFromResults,
                 "With --walk-forward: each starter's GAA over his club's usual one so far "
                 "(the mean of its starters), times --default-gaa");
    app.add_option("--write-ratings", options.writeRatings,
                   "With --walk-forward: also fit the whole season, play it back to check "
                   "the fit, and write the ratings file")
        ->type_name("FILE");
    app.add_option("--calibration-series", options.calibrationSeries,
                   "Series a game in each playback of --write-ratings (default 20)")
        ->check(CLI::Range(1, MostSeries))
        ->type_name("K");
    app.add_option("--calibration-rounds", options.calibrationRounds,
                   "Playbacks of --write-ratings that correct the ratings (default 5)")
        ->check(CLI::Range(0, 20))
        ->type_name("N");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }
    if (!options.walkForward && (options.writeRatings || options.gaaFromResults)) {
        err << "--gaa-from-results and --write-ratings need --walk-forward." << std::endl;
        return ExitUsageError;
    }
    try {
        return runBacktestFor(options, out, err);
    } catch (const std::bad_alloc&) {
        err << "Not enough memory for the backtest; try fewer games or fewer --series."
            << std::endl;
        return ExitPredictionFailed;
    } catch (const std::exception& error) {
        err << error.what() << std::endl;
        return ExitPredictionFailed;
    }
}

} // namespace zelkor
