#include "cli/BacktestCommand.h"

#include "cli/CommonOptions.h"
#include "cli/ExitStatus.h"
#include "cli/FitCheckText.h"
#include "cli/JsonText.h"
#include "cli/ProgressBar.h"
#include "cli/ReportOutput.h"
#include "core/DisplayText.h"
#include "season/Backtest.h"
#include "season/BacktestCoverage.h"
#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/Elo.h"
#include "season/FitCheckTable.h"
#include "season/FitGames.h"
#include "season/MarketSummary.h"
#include "season/MessageText.h"
#include "season/MovedClubs.h"
#include "season/OddsFile.h"
#include "season/RatingsFit.h"
#include "season/SeasonRatingsFit.h"
#include "season/SeasonTest.h"
#include "season/SeriesOdds.h"
#include "season/WalkForward.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/SeasonRatings.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <chrono>
#include <iomanip>
#include <new>
#include <ostream>
#include <random>
#include <sstream>

namespace zelkor {

namespace {
constexpr int DefaultSeries = 50;  // series per game: 550 simulated games
constexpr int MostSeries = 100000; // beyond this a backtest would run for days
constexpr int LabelWidth = 30;     // of the first column of the figures
constexpr int FigureWidth = 17;    // of each further column

struct BacktestOptions {
    std::string results;
    std::string rosters;
    int series = DefaultSeries;
    std::optional<std::uint64_t> seed;
    double defaultGaa = DefaultGaa;
    bool json = false;
    std::vector<std::string> extraCodes;
    bool walkForward = false;
    std::optional<std::string> ratings; ///< the table of every game; none: the folder's
    std::optional<std::string> prior;   ///< with --walk-forward: what the fit shrinks toward
    bool gaaFromResults = false;
    double priorGames = FitOptions{}.priorGames;
    std::optional<std::string> writeRatings;
    CalibrationRun calibration;
    std::optional<TeamCodeKind>
        codes; ///< how the results' teams are named; none: as the rosters or ratings
    std::optional<std::string> odds;
    std::string line = "close";
    double minEdge = 0;
    std::optional<std::string> priorResults;
    std::optional<std::string> writeSummary;
};

// What the backtest read besides the results: how the odds met the games, the clubs that
// moved, the carried Elo.
struct BacktestInputs {
    std::optional<OddsJoin> join;
    std::vector<UnknownOddsTeam> unknownOddsTeams;
    std::vector<MovedClubNote> moved;
    TeamCodeKind kind = TeamCodeKind::Program;
    bool kindFound = false; ///< the kind was read from the rosters or ratings, not given
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
        // A space of its own before each cell keeps the columns apart at any width.
        out << ' ' << std::right << std::setw(width - 1) << (column ? cell(*column) : "-");
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
        columns.push_back(&*report.homeAlwaysWithOdds);
        columns.push_back(&*report.bookmaker);
        out << std::setw(FigureWidth) << "model, odds set" << std::setw(FigureWidth)
            << "home, odds set" << std::setw(FigureWidth) << "bookmaker";
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
        out << "\nFlat stake of 1 on every side with a model edge above " << percent(report.minEdge)
            << ": " << stake.bets << " bets, " << stake.won << " won, " << stake.pushed
            << " pushed, profit " << decimal(stake.profit, 2) << ", return "
            << percent(stake.returnOnStake()) << '\n';
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
            {"result", resultText(row.end)},
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

int runWalkForwardFor(const BacktestOptions& options, const std::vector<ResultRow>& results,
                      std::uint64_t seed, const BacktestInputs& inputs, std::ostream& out,
                      std::ostream& err);

// The kind of the results' team names: as given, else as the roster folder's files or the
// ratings name the clubs, so that a season folder of league codes needs no --codes league.
BacktestInputs codeKindFor(const BacktestOptions& options) {
    BacktestInputs inputs;
    if (options.codes) {
        inputs.kind = *options.codes;
        return inputs;
    }
    std::optional<TeamCodeKind> kind = codeKindOfFolder(options.rosters);
    if (!kind) {
        const RatingsChoice ratings =
            chooseRatings(options.prior     ? std::optional<std::filesystem::path>(*options.prior)
                          : options.ratings ? std::optional<std::filesystem::path>(*options.ratings)
                                            : std::nullopt,
                          options.rosters);
        std::vector<std::string> codes;
        for (const RatedTeam& team : ratings.table->road()) {
            codes.push_back(team.code);
        }
        kind = codeKindOf(codes);
    }
    inputs.kind = kind.value_or(TeamCodeKind::Program);
    inputs.kindFound = kind.has_value();
    return inputs;
}

// The odds file joined to the results, and the clubs that moved played as their
// predecessors.
void readOddsAndMoves(const BacktestOptions& options, const TeamCodeMap& codes,
                      std::vector<ResultRow>& results, BacktestInputs& inputs, std::ostream& err) {
    if (options.odds) {
        const std::string label = fileLabel(OddsFileKind, *options.odds);
        const OddsFile odds =
            readOddsFile(readCsvFile(*options.odds, label), label, codes,
                         options.line == "open" ? OddsLine::Open : OddsLine::Close);
        inputs.unknownOddsTeams = odds.unknownTeams;
        for (const UnknownOddsTeam& team : odds.unknownTeams) {
            err << label << ": '" << shownText(team.name) << "' is no club the program knows (line"
                << (team.lines.size() > 1 ? "s" : "");
            for (const int line : team.lines) {
                err << ' ' << line;
            }
            err << "); its games are left out (name it with --map NAME=CODE)." << std::endl;
        }
        inputs.join = joinOdds(results, odds, label);
    }
    if (inputs.kind == TeamCodeKind::League) {
        inputs.moved = playMovedClubsAsPredecessors(results, options.rosters);
    }
}

void writeInputsText(const BacktestInputs& inputs, const BacktestOptions& options,
                     std::ostream& out) {
    if (inputs.kindFound && !options.codes) {
        out << "The results' clubs are read as "
            << (inputs.kind == TeamCodeKind::League ? "the league's codes" : "the program's codes")
            << ", as the rosters or ratings name them.\n";
    }
    if (inputs.join) {
        out << "Odds (" << (options.line == "open" ? "opening" : "closing") << " line) from '"
            << shownPath(*options.odds) << "': " << inputs.join->matched << " games matched, "
            << inputs.join->gamesWithoutOdds << " games of the results without odds, "
            << inputs.join->unmatchedGames
            << " games of the odds file matching no game (playoffs, other days)";
        if (!inputs.unknownOddsTeams.empty()) {
            out << "; clubs not known:";
            for (const UnknownOddsTeam& team : inputs.unknownOddsTeams) {
                out << " '" << shownText(team.name) << "' (line " << team.lines.front() << ")";
            }
        }
        out << ".\n";
    }
    for (const MovedClubNote& note : inputs.moved) {
        out << "Moved club: " << note.club << " (from " << note.predecessor << " in " << note.season
            << ") takes " << note.predecessor << "'s";
        std::vector<std::string> taken;
        if (note.roster) {
            taken.emplace_back("roster file, prior ratings and Elo (it plays as " +
                               note.predecessor + ")");
        }
        if (note.ratings) {
            taken.emplace_back("prior ratings");
        }
        if (note.elo) {
            taken.emplace_back("carried Elo");
        }
        for (std::size_t k = 0; k < taken.size(); ++k) {
            out << (k == 0 ? " " : k + 1 == taken.size() ? " and " : ", ") << taken[k];
        }
        out << ".\n";
    }
}

void writeEdgeBands(const BacktestReport& report, std::ostream& out) {
    if (report.edgeBands.empty()) {
        return;
    }
    out << "Flat stake of 1 on the model's edges from each size up (edge: chance x odds - 1):\n"
        << "  edge from        bets      won   profit    return\n";
    for (const EdgeBand& band : report.edgeBands) {
        out << "  " << std::left << std::setw(12) << percent(band.from) << std::right
            << std::setw(9) << band.stake.bets << ' ' << std::setw(8) << band.stake.won << ' '
            << std::setw(8) << decimal(band.stake.profit, 1) << ' ' << std::setw(9)
            << percent(band.stake.returnOnStake()) << '\n';
    }
    const std::optional<double> paying = payingEdge(report.edgeBands);
    out << (paying ? "  Bets paid from edges of " + percent(*paying) + " up (at least " +
                         std::to_string(FewestBandBets) + " bets)."
                   : std::string("  No size of edge paid over at least ") +
                         std::to_string(FewestBandBets) + " bets.")
        << '\n';
}

nlohmann::ordered_json stakeJson(const FlatStake& stake) {
    return {{"bets", stake.bets},
            {"won", stake.won},
            {"pushed", stake.pushed},
            {"profit", stake.profit},
            {"return", optionalJson(stake.returnOnStake())}};
}

// What the odds file, the moved clubs and the market add to a report's JSON.
void addInputsJson(nlohmann::ordered_json& json, const BacktestReport& report,
                   const BacktestInputs& inputs, const BacktestOptions& options) {
    json["codes"] = inputs.kind == TeamCodeKind::League ? "league" : "program";
    json["odds_file"] = options.odds ? nlohmann::ordered_json(*options.odds) : nullptr;
    json["line"] = options.line;
    json["min_edge"] = report.minEdge;
    if (inputs.join) {
        json["games_matched_to_odds"] = inputs.join->matched;
        json["games_without_odds"] = inputs.join->gamesWithoutOdds;
        json["unmatched_odds_games"] = inputs.join->unmatchedGames;
        json["unmatched_odds_lines"] = inputs.join->unmatchedLines;
    }
    nlohmann::ordered_json unknown = nlohmann::ordered_json::array();
    for (const UnknownOddsTeam& team : inputs.unknownOddsTeams) {
        unknown.push_back({{"name", team.name}, {"lines", team.lines}});
    }
    json["unknown_odds_teams"] = unknown;
    json["home_always_on_odds_games"] =
        report.homeAlwaysWithOdds ? figuresJson(*report.homeAlwaysWithOdds) : nullptr;
    nlohmann::ordered_json bands = nlohmann::ordered_json::array();
    for (const EdgeBand& band : report.edgeBands) {
        bands.push_back({{"from", band.from}, {"stake", stakeJson(band.stake)}});
    }
    json["edge_bands"] = bands;
    json["paying_edge"] = optionalJson(payingEdge(report.edgeBands));
    nlohmann::ordered_json moved = nlohmann::ordered_json::array();
    for (const MovedClubNote& note : inputs.moved) {
        moved.push_back({{"club", note.club},
                         {"predecessor", note.predecessor},
                         {"season", note.season},
                         {"roster", note.roster},
                         {"ratings", note.ratings},
                         {"elo", note.elo}});
    }
    json["moved_clubs"] = moved;
}

int runBacktestFor(const BacktestOptions& options, std::ostream& out, std::ostream& err) {
    BacktestInputs inputs = codeKindFor(options);
    const TeamCodeMap codes(options.extraCodes, inputs.kind);
    ResultsFile file =
        readResultsFile(options.results, codes, static_cast<Single>(options.defaultGaa));
    std::vector<ResultRow>& results = file.games;
    if (file.skipped > 0) {
        err << "Skipped " << file.skipped << (file.skipped == 1 ? " game" : " games")
            << " without a score (postponed)." << std::endl;
    }
    if (results.empty()) {
        err << fileLabel(ResultsFileKind, options.results) << " holds no game." << std::endl;
        return ExitPredictionFailed;
    }
    readOddsAndMoves(options, codes, results, inputs, err);
    checkRosterCoverage(results, options.rosters);
    const std::uint64_t seed =
        options.seed
            ? *options.seed
            : (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^ std::random_device{}();
    if (options.walkForward) {
        return runWalkForwardFor(options, results, seed, inputs, out, err);
    }
    const RatingsChoice ratings = chooseRatings(
        options.ratings ? std::optional<std::filesystem::path>(*options.ratings) : std::nullopt,
        options.rosters);
    try {
        checkRatingCoverage(results, *ratings.table, ratings.source());
    } catch (const RatingCoverageError& error) {
        err << error.what() << "\nGive a ratings file that rates them with --ratings." << std::endl;
        return ExitPredictionFailed;
    }
    ProgressBar bar(err, standardErrorIsTerminal());
    const BacktestReport report =
        runBacktest(results, options.series, seed,
                    seriesBySeriesOdds(options.rosters, ratings.table, ratings.shootouts),
                    options.minEdge, gameCounter(bar));
    if (options.json) {
        nlohmann::ordered_json json = reportJson(report, options);
        json["ratings"] = ratings.source();
        addInputsJson(json, report, inputs, options);
        writeJsonStreaming(out, json, "rows", report.games.size(),
                           [&](std::size_t index) { return rowJson(report.games[index]); });
    } else {
        writeText(report, options.results, ratings.source(), out);
        out << '\n';
        writeInputsText(inputs, options, out);
        writeEdgeBands(report, out);
    }
    return reportStatus(out, err);
}

const char* const WalkForwardColumns[] = {"model", "home always", "coin", "Elo"};
constexpr int WalkForwardWidth = 20; // of each column of the walk-forward figures

// The rows of a walk-forward table: every game, the games with a winner, both accuracies
// and the two scores.
void writeWalkForwardRows(const std::vector<const ForecastFigures*>& columns, std::ostream& out) {
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
}

void writeWalkForwardText(const WalkForwardReport& report, const BacktestOptions& options,
                          std::ostream& out) {
    const BacktestReport& backtest = report.backtest;
    out << "Walk-forward backtest of " << backtest.games.size() << " games on " << report.gameDays
        << " days from '" << shownPath(options.results) << "': " << backtest.series
        << " series of 11 games each, base seed " << backtest.seed << "\n"
        << "Before each day the ratings are fitted to the season's games before it, from "
        << (options.prior ? "'" + shownPath(*options.prior) + "'"
                          : std::string("league-typical ratings"))
        << " weighted as " << decimal(options.priorGames, 1) << " games a club; goalies: "
        << (options.gaaFromResults
                ? "each starter relative to his club's usual goalie so far"
                : "GAA " + decimal(options.defaultGaa, 2) + " unless the file gives one")
        << ".\n";
    if (options.prior && !report.newClubs.empty()) {
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
    writeWalkForwardRows(columns, out);
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
        << " Elo: "
        << (report.eloCarried ? "each club's rating after last season, " + percent(elo.carried) +
                                    " of its distance from " + decimal(elo.start, 0) + " kept"
                              : "every club " + decimal(elo.start, 0) +
                                    " at the start (level: no --prior-results)")
        << ", K " << decimal(elo.k, 0) << " times 0.6686 ln(goal margin) + 0.8048, home advantage "
        << decimal(elo.homeAdvantage, 0) << " points, " << decimal(elo.scale, 0)
        << " points for 10 to 1)\n\n";
    writeCalibration(out, "Calibration of the model:", backtest.model);
}

nlohmann::ordered_json walkForwardJson(const WalkForwardReport& report,
                                       const BacktestOptions& options) {
    nlohmann::ordered_json json = reportJson(report.backtest, options);
    json["walk_forward"] = true;
    json["prior_ratings"] = options.prior ? nlohmann::ordered_json(*options.prior) : nullptr;
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

// The model, the baselines and the bookmaker over the games with odds, and the bets.
void writeWalkForwardMarket(const WalkForwardReport& report, std::ostream& out) {
    const BacktestReport& backtest = report.backtest;
    if (!backtest.bookmaker) {
        out << "No odds: the market is not scored (give --odds FILE or odds columns).\n";
        return;
    }
    out << "\nOn the " << backtest.gamesWithOdds << " games with odds:\n"
        << std::left << std::setw(LabelWidth) << "";
    for (const char* title : {"model", "home always", "coin", "Elo", "market"}) {
        out << ' ' << std::right << std::setw(WalkForwardWidth - 1) << title;
    }
    out << '\n';
    const std::vector<const ForecastFigures*> columns{
        &*backtest.modelWithOdds, &*backtest.homeAlwaysWithOdds, &*report.coinWithOdds,
        &*report.eloWithOdds, &*backtest.bookmaker};
    writeWalkForwardRows(columns, out);
    out << "(market: the bookmaker's two prices with their margin taken out in proportion)\n\n";
    writeCalibration(out, "Calibration of the market:", *backtest.bookmaker);
    if (backtest.flatStake) {
        const FlatStake& stake = *backtest.flatStake;
        out << "\nFlat stake of 1 on every side with a model edge above "
            << percent(backtest.minEdge) << ": " << stake.bets << " bets, " << stake.won << " won, "
            << stake.pushed << " pushed, profit " << decimal(stake.profit, 2) << ", return "
            << percent(stake.returnOnStake()) << '\n';
    }
    writeEdgeBands(backtest, out);
}

int runWalkForwardFor(const BacktestOptions& options, const std::vector<ResultRow>& results,
                      std::uint64_t seed, const BacktestInputs& given, std::ostream& out,
                      std::ostream& err) {
    BacktestInputs inputs = given;
    const std::map<std::string, TeamScoring> scoring =
        readTeamScoring(options.rosters, clubsOf(results));
    // A target that cannot be written is said before the walk-forward's minutes, not after.
    if (const auto problem =
            options.writeRatings ? ratingsFileTargetProblem(*options.writeRatings) : std::nullopt) {
        err << *problem << std::endl;
        return ExitPredictionFailed;
    }
    WalkForwardOptions walk;
    walk.series = options.series;
    walk.seed = seed;
    walk.gaaFromResults = options.gaaFromResults;
    walk.fit.priorGames = options.priorGames;
    walk.fit.defaultGaa = static_cast<Single>(options.defaultGaa);
    walk.minEdge = options.minEdge;
    if (options.prior) {
        walk.fit.prior =
            priorWithMovedClubs(readRatingsFile(*options.prior), results, inputs.moved);
    }
    if (options.priorResults) {
        const TeamCodeMap codes(options.extraCodes, inputs.kind);
        const ResultsFile prior =
            readResultsFile(*options.priorResults, codes, static_cast<Single>(options.defaultGaa));
        walk.eloStart = carriedElo(playElo(prior.games, walk.elo), walk.elo);
        eloWithMovedClubs(walk.eloStart, results, inputs.moved);
    }
    ProgressBar bar(err, standardErrorIsTerminal());
    const auto started = std::chrono::steady_clock::now();
    const WalkForwardReport report =
        runWalkForward(results, scoring, options.rosters, walk, ratedSeriesOdds(options.rosters),
                       gameCounter(bar));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::optional<WrittenFit> seasonFit;
    if (options.writeRatings) {
        // The whole season's fit, played back until every club's goals are its own.
        seasonFit =
            fitAndWriteRatings(results, options.rosters, walk.fit, options.gaaFromResults,
                               options.calibration, *options.writeRatings, gameCounter(bar));
    }
    if (options.writeSummary) {
        writeMarketSummary(marketSummaryOf(report), *options.writeSummary);
    }
    if (options.json) {
        nlohmann::ordered_json json = walkForwardJson(report, options);
        json["seconds"] = seconds;
        addInputsJson(json, report.backtest, inputs, options);
        json["prior_results"] =
            options.priorResults ? nlohmann::ordered_json(*options.priorResults) : nullptr;
        json["elo_carried"] = report.eloCarried;
        json["elo_parameters"]["carried"] = report.eloParameters.carried;
        json["coin_on_odds_games"] =
            report.coinWithOdds ? figuresJson(*report.coinWithOdds) : nullptr;
        json["elo_on_odds_games"] = report.eloWithOdds ? figuresJson(*report.eloWithOdds) : nullptr;
        writeJsonStreaming(out, json, "rows", report.backtest.games.size(), [&](std::size_t index) {
            nlohmann::ordered_json row = rowJson(report.backtest.games[index]);
            if (index < report.eloHomeProbabilities.size()) {
                row["elo_home_probability"] = report.eloHomeProbabilities[index];
            }
            return row;
        });
    } else {
        writeWalkForwardText(report, options, out);
        out << '\n';
        writeInputsText(inputs, options, out);
        writeWalkForwardMarket(report, out);
        out << "\nTime: " << decimal(seconds, 1) << " s\n";
        if (seasonFit) {
            out << "\nRatings of the whole season written to '"
                << shownPath(seasonFit->written.file) << "'";
            if (seasonFit->written.backup) {
                out << " (the old file is kept as '" << shownPath(*seasonFit->written.backup)
                    << "')";
            }
            out << ".\n";
            writeFitCheck(fitCheckTable(seasonFit->fit.check), out);
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
    addCountOption(app, "--series", options.series, 1, MostSeries,
                   "Series of 11 games played per game (default " + std::to_string(DefaultSeries) +
                       ")")
        ->type_name("K");
    addSeedOption(app, options.seed,
                  "Base seed (default: a random one, reported); repeats a backtest exactly");
    addDefaultGaaOption(app, options.defaultGaa, "GAA of a goalie the file gives none for");
    app.add_flag("--json", options.json,
                 "Write one JSON object with a row per game instead of text");
    app.add_option("--map", options.extraCodes,
                   "A team abbreviation of the file and the code to read it as, e.g. SEA=AVG")
        ->type_name("ABBR=CODE")
        ->check(CLI::Validator([](std::string& mapping) { return teamMappingProblem(mapping); },
                               "ABBR=CODE"));
    addCodesOption(app, options.codes,
                   "Read the results' teams as the program's codes or the league's (default: as "
                   "the roster files or ratings name the clubs, else the program's)");
    app.add_flag("--walk-forward", options.walkForward,
                 "Refit the ratings before each game day from the season's games before it, "
                 "and score the model against always-home, a coin and an Elo, all walk-forward");
    CLI::Option* ratingsOption =
        app.add_option("--ratings", options.ratings,
                       "Ratings file of every game (default: the roster folder's ratings.csv, "
                       "else the built-in table); with --walk-forward an older name of --prior")
            ->type_name("FILE");
    CLI::Option* priorOption =
        addPriorOption(app, options.prior,
                       "With --walk-forward: the ratings the fit starts from and shrinks toward, "
                       "e.g. last season's fit (default: league-typical ratings)");
    priorOption->excludes(ratingsOption);
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
    addCalibrationSeriesOption(app, options.calibration.seriesPerGame,
                               "Series a game in each playback of --write-ratings");
    addCalibrationRoundsOption(app, options.calibration.rounds,
                               "Playbacks of --write-ratings that correct the ratings");
    app.add_option("--odds", options.odds,
                   "Odds file joined to the games by day and clubs: an odds archive's sheet "
                   "saved as CSV (Date MMDD, VH, Team, Open, Close) or date, visitor, home, "
                   "visitor_odds, home_odds")
        ->type_name("FILE");
    app.add_option("--line", options.line, "The archive's line to score: close (default) or open")
        ->check(CLI::IsMember({"open", "close"}, CLI::ignore_case))
        ->type_name("open|close");
    app.add_option("--min-edge", options.minEdge,
                   "Least edge (expected return per unit, 0.03 for 3 %) the flat stake bets "
                   "(default 0: every positive edge)")
        ->check(CLI::Range(0.0, 10.0))
        ->type_name("P");
    app.add_option("--prior-results", options.priorResults,
                   "With --walk-forward: last season's results; the Elo plays them and carries "
                   "60 % of each club's rating into this season (without: every club starts level)")
        ->type_name("FILE");
    app.add_option("--write-summary", options.writeSummary,
                   "With --walk-forward: keep the summary (log losses of the model, Elo and "
                   "market, the edges that paid) in this season folder, for predictions")
        ->type_name("DIR");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsageError;
    }
    if (!options.walkForward && (options.writeRatings || options.gaaFromResults || options.prior)) {
        err << "--prior, --gaa-from-results and --write-ratings need --walk-forward." << std::endl;
        return ExitUsageError;
    }
    if (!options.walkForward && (options.priorResults || options.writeSummary)) {
        err << "--prior-results and --write-summary need --walk-forward." << std::endl;
        return ExitUsageError;
    }
    if (options.walkForward && options.ratings) {
        options.prior = std::move(options.ratings); // the older name of --prior
        options.ratings.reset();
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
