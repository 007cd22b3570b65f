#include "season/Backtest.h"
#include "cli/CliProcess.h"
#include "cli/JsonText.h"
#include "odds/ManySeries.h"
#include "season/BacktestMetrics.h"
#include "season/DataErrors.h"
#include "season/SeriesOdds.h"
#include "teamdata/RatingsFile.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace zelkor::test {
namespace {

const std::string SampleRosters = ZELKOR_SAMPLE_ROSTERS;

const std::vector<GameOutcome> FourGames = {
    {Side::Home, false}, {Side::Visitor, false}, {Side::Home, false}, {Side::Visitor, false}};

struct KnownScores {
    const char* label;
    std::vector<Forecast> forecasts;
    double accuracy;
    double logLoss;
    double brier;
};

TEST(BacktestMetrics, PerfectWrongAndUniformPredictionsScoreAsWorkedOut) {
    const std::vector<KnownScores> cases = {
        {"perfect",
         {{1, Side::Home}, {0, Side::Visitor}, {1, Side::Home}, {0, Side::Visitor}},
         1.0,
         0.0,
         0.0},
        {"maximally wrong",
         {{0, Side::Visitor}, {1, Side::Home}, {0, Side::Visitor}, {1, Side::Home}},
         0.0,
         -std::log(SmallestChance),
         1.0},
        {"uniform", std::vector<Forecast>(4, {0.5, Side::None}), 0.0, std::log(2.0), 0.25},
    };
    for (const KnownScores& known : cases) {
        SCOPED_TRACE(known.label);
        const ForecastFigures figures = scoreForecasts(known.forecasts, FourGames);
        EXPECT_EQ(figures.games, 4);
        EXPECT_EQ(figures.decidedGames, 4);
        EXPECT_NEAR(*figures.logLoss, known.logLoss, 1e-12);
        EXPECT_NEAR(*figures.brier, known.brier, 1e-12);
        if (known.forecasts[0].pick == Side::None) {
            // No pick is a push: no accuracy at all.
            EXPECT_EQ(figures.levelAndShootoutPushes.pushes, 4);
            EXPECT_FALSE(figures.levelAndShootoutPushes.rate());
            // At exactly one half the home side stands as favourite: it won 2 of 4.
            EXPECT_EQ(figures.calibration[0].games, 4);
            EXPECT_DOUBLE_EQ(figures.calibration[0].observed, 0.5);
        } else {
            EXPECT_DOUBLE_EQ(*figures.levelAndShootoutPushes.rate(), known.accuracy);
            // Every favourite had a chance of 1: the last bin, which is closed.
            EXPECT_EQ(figures.calibration[CalibrationBins - 1].games, 4);
            EXPECT_DOUBLE_EQ(figures.calibration[CalibrationBins - 1].predicted, 1.0);
            EXPECT_DOUBLE_EQ(figures.calibration[CalibrationBins - 1].observed, known.accuracy);
        }
    }
}

TEST(BacktestMetrics, ShootoutsPushOrCountAndLevelGamesAlwaysPush) {
    const std::vector<Forecast> forecasts = {
        {0.7, Side::Home}, {0.7, Side::Home}, {0.7, Side::Home}, {0.3, Side::Visitor}};
    const std::vector<GameOutcome> outcomes = {
        {Side::Home, false}, {Side::Home, true}, {Side::Visitor, true}, {Side::None, false}};
    const ForecastFigures figures = scoreForecasts(forecasts, outcomes);
    EXPECT_EQ(figures.levelAndShootoutPushes.counted, 1);
    EXPECT_EQ(figures.levelAndShootoutPushes.correct, 1);
    EXPECT_EQ(figures.levelAndShootoutPushes.pushes, 3);
    EXPECT_EQ(figures.shootoutsForWinner.counted, 3);
    EXPECT_EQ(figures.shootoutsForWinner.correct, 2);
    EXPECT_EQ(figures.decidedGames, 3);
    EXPECT_NEAR(*figures.logLoss, -(2 * std::log(0.7) + std::log(0.3)) / 3, 1e-12);
    EXPECT_NEAR(*figures.brier, (0.09 + 0.09 + 0.49) / 3, 1e-12);
    EXPECT_EQ(figures.calibration[4].games, 3); // 0.70 lies in [0.70, 0.75)
}

// How each way a game ends counts: an overtime winner is a winner for both accuracies, a
// shootout's only when it counts for the winner, a tie never.
TEST(BacktestMetrics, OvertimeWinsCountAsWinsAndShootoutsAsTheirMarkSays) {
    const auto row = [](int visitorGoals, int homeGoals, GameEnd end) {
        ResultRow game;
        game.visitorGoals = visitorGoals;
        game.homeGoals = homeGoals;
        game.end = end;
        return game;
    };
    const std::vector<ResultRow> games = {row(3, 2, GameEnd::Overtime),
                                          row(2, 3, GameEnd::Shootout), row(2, 2, GameEnd::Tie)};
    std::vector<GameOutcome> outcomes;
    for (const ResultRow& game : games) {
        outcomes.push_back(outcomeOf(game));
    }
    const std::vector<Forecast> forecasts(3, Forecast{0.4, Side::Visitor});
    const ForecastFigures figures = scoreForecasts(forecasts, outcomes);
    EXPECT_EQ(figures.levelAndShootoutPushes.counted, 1);
    EXPECT_EQ(figures.levelAndShootoutPushes.correct, 1);
    EXPECT_EQ(figures.shootoutsForWinner.counted, 2);
    EXPECT_EQ(figures.shootoutsForWinner.correct, 1);
    EXPECT_EQ(figures.decidedGames, 2);
}

TEST(BacktestMetrics, BookmakerOddsAndFlatStakes) {
    EXPECT_NEAR(devigHomeProbability(2.10, 1.80), (1 / 1.8) / (1 / 1.8 + 1 / 2.1), 1e-12);
    EXPECT_DOUBLE_EQ(devigHomeProbability(1.9, 1.9), 0.5);

    // Edges: home 0.6 x 1.8 = 1.08 (bet, won +0.8); visitor 0.5 x 2.5 = 1.25 (bet, lost);
    // no odds (no bet); home 0.55 x 2.0 = 1.1 on a level game (pushed).
    const std::vector<Forecast> forecasts = {
        {0.6, Side::Home}, {0.5, Side::None}, {0.9, Side::Home}, {0.55, Side::Home}};
    const std::vector<GameOutcome> outcomes = {
        {Side::Home, false}, {Side::Home, false}, {Side::Home, false}, {Side::None, false}};
    const FlatStake stake =
        flatStakeReturn(forecasts, outcomes,
                        {GameOdds{2.1, 1.8}, GameOdds{2.5, 1.5}, std::nullopt, GameOdds{1.9, 2.0}});
    EXPECT_EQ(stake.bets, 3);
    EXPECT_EQ(stake.won, 1);
    EXPECT_EQ(stake.pushed, 1);
    EXPECT_NEAR(stake.profit, 0.8 - 1.0, 1e-12);
    EXPECT_NEAR(*stake.returnOnStake(), -0.2 / 3, 1e-12);
}

// A season whose results the model drew itself: level games go to a fair shootout, as
// the model's two-way chances assume. Its predictions must then be calibrated.
TEST(Backtest, UnusableResultsNameTheLineAndTheColumn) {
    const std::string header = "date,visitor,home,visitor_goals,home_goals,result,visitor_gaa,"
                               "visitor_odds,home_odds\n";
    const struct {
        const char* row;
        const char* message;
    } cases[] = {
        {"d,SEA,TOR,3,2,REG,2.5,,", "line 2, visitor: 'SEA' is not a team code"},
        {"d,BOS,WAT2,3,2,REG,2.5,,", "line 2, home: 'WAT2' is not a team code"},
        {"d,BOS,TOR,3.5,2,REG,2.5,,", "line 2, visitor_goals: '3.5' is not a whole number"},
        {"d,BOS,TOR,3,2,PEN,2.5,,", "line 2, result: 'PEN' is none of REG, OT, SO and T"},
        {"d,BOS,TOR,3,2,REG,-1,,", "line 2, visitor_gaa: '-1' is not above 0"},
        {"d,BOS,TOR,3,2,REG,2.5,1.9,+50", "line 2: the odds '1.9' and '+50' are not both"},
    };
    for (const auto& c : cases) {
        try {
            readResults(parseCsv(header + c.row + "\n", "F"), "F", TeamCodeMap(), 2.8f);
            ADD_FAILURE() << c.row << " was read";
        } catch (const InputDataError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    // The site's abbreviations and the user's own map are read as the program's codes.
    const auto rows = readResults(parseCsv(header + "2024-10-09,T.B,SEA,1,0,OT,,,\n", "F"), "F",
                                  TeamCodeMap({"SEA=AVG"}), 2.8f)
                          .games;
    ASSERT_EQ(rows.size(), 1U);
    EXPECT_EQ(rows[0].visitor, "TBL");
    EXPECT_EQ(rows[0].home, "AVG");
    EXPECT_EQ(rows[0].visitorGaa, 2.8f);
}

// A game's odds are those of a many-series run with the game's seed as its base seed, so
// that any game of a backtest can be looked into with zelkor-cli --series --seed.
TEST(Backtest, GameOddsAreTheManySeriesRunOfTheGamesSeed) {
    const GameCounts counts = seriesBySeriesOdds(SampleRosters)({"BOS", "TOR", 2.8f, 2.6f, 30, 77});
    const ManySeriesRequest run{"BOS", "TOR", {"2.8", 2.8f}, {"2.6", 2.6f}, SampleRosters, 30, 77};
    const OddsTally tally = *playManySeries(run, std::stop_token{});
    EXPECT_EQ(counts.games, 330);
    EXPECT_EQ(counts.visitorWins, tally.visitorWinsRegulation + tally.visitorWinsOvertime);
    EXPECT_EQ(counts.homeWins, tally.homeWinsRegulation + tally.homeWinsOvertime);
    EXPECT_EQ(counts.level, tally.ties);
}

TEST(Backtest, SeasonTheModelDrewIsCalibrated) {
    const GameOddsEngine engine = seriesBySeriesOdds(SampleRosters);
    // The pairings furthest apart and the average team: chances from 0.3 to 0.7.
    const std::vector<std::string> codes = {"MIN", "MON", "NAS", "NYI", "TBL", "AVG"};
    constexpr int DrawnSeries = 4; // 44 results per pairing
    constexpr int BacktestSeries = 16;
    std::mt19937 coin(5);
    std::vector<ResultRow> season;
    for (const std::string& visitor : codes) {
        for (const std::string& home : codes) {
            if (visitor == home) {
                continue;
            }
            const GameCounts drawn = engine({visitor, home, 2.8f, 2.8f, DrawnSeries, 99});
            ResultRow row{0, "",   visitor, home,         0,
                          0, 2.8f, 2.8f,    std::nullopt, GameEnd::Regulation};
            for (int game = 0; game < drawn.games; ++game) {
                const bool level = game >= drawn.visitorWins + drawn.homeWins;
                const bool homeWon = level ? coin() % 2 == 0 : game >= drawn.visitorWins;
                row.end = level ? GameEnd::Shootout : GameEnd::Regulation;
                row.visitorGoals = homeWon ? 2 : 3;
                row.homeGoals = homeWon ? 3 : 2;
                season.push_back(row);
            }
        }
    }
    // The model's chances of a pairing do not depend on the game's seed: one for each.
    std::map<std::pair<std::string, std::string>, GameCounts> known;
    const GameOddsEngine remembered = [&](const OddsRequest& request) {
        const auto key = std::make_pair(request.visitor, request.home);
        if (!known.contains(key)) {
            known[key] = engine({request.visitor, request.home, request.visitorGaa, request.homeGaa,
                                 request.series, 7});
        }
        return known[key];
    };
    const BacktestReport report = runBacktest(season, BacktestSeries, 1, remembered);
    ASSERT_EQ(report.model.decidedGames, static_cast<int>(season.size()));
    double predicted = 0;
    double observed = 0;
    for (const CalibrationBin& bin : report.model.calibration) {
        predicted += bin.predicted * bin.games / static_cast<double>(season.size());
        observed += bin.observed * bin.games / static_cast<double>(season.size());
        if (bin.games >= 100) {
            // Three standard errors of the observed share, and a little for the noise of
            // the chances themselves.
            const double spread = std::sqrt(bin.predicted * (1 - bin.predicted) / bin.games);
            EXPECT_NEAR(bin.observed, bin.predicted, 3 * spread + 0.02) << "bin " << bin.low;
        }
    }
    EXPECT_NEAR(observed, predicted, 0.03);
    // The drawn season's figures beat the home-always baseline.
    EXPECT_LT(*report.model.brier, *report.homeAlways.brier);
}

// The text report and the JSON rows, from which anyone can recompute the figures.
TEST(Backtest, CommandReportsFiguresAndOneRowPerGame) {
    TempFolder folder;
    folder.write("results.csv",
                 "home,visitor,date,visitor_goals,home_goals,result,visitor_odds,home_odds\n"
                 "TOR,MTL,2024-10-09,3,2,SO,2.45,1.58\n"
                 "DAL,NSH,2024-10-10,1,2,OT,,\n"
                 "CGY,EDM,2024-10-11,4,1,REG,-150,+130\n");
    const std::vector<std::string> arguments = {
        "backtest",  (folder.path() / "results.csv").string(),
        "--rosters", SampleRosters,
        "--series",  "5",
        "--seed",    "3"};
    const CliResult text = runCli(arguments);
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_NE(text.out.find("Backtest of 3 games"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("base seed 3"), std::string::npos);
    EXPECT_NE(text.out.find("bookmaker"), std::string::npos);
    EXPECT_NE(text.out.find("Flat stake"), std::string::npos);

    std::vector<std::string> asJson = arguments;
    asJson.push_back("--json");
    const nlohmann::json report = nlohmann::json::parse(runCli(asJson).out);
    ASSERT_EQ(report["rows"].size(), 3u);
    EXPECT_EQ(report["rows"][0]["visitor"], "MON");
    EXPECT_EQ(report["rows"][0]["winner"], "visitor");
    EXPECT_EQ(report["rows"][0]["shootout"], true);
    EXPECT_EQ(report["rows"][0]["model"]["games"], 55);
    EXPECT_EQ(report["games_with_odds"], 2);
    double brier = 0;
    for (const auto& row : report["rows"]) {
        const double home = row["model"]["home_probability"];
        brier += std::pow(home - (row["winner"] == "home" ? 1.0 : 0.0), 2) / 3;
    }
    EXPECT_NEAR(report["model"]["brier"].get<double>(), brier, 1e-12);
    // The same seed gives the same backtest.
    EXPECT_EQ(nlohmann::json::parse(runCli(asJson).out), report);

    folder.write("bad.csv", "date,visitor,home,visitor_goals,home_goals\nx,BOS,SEA,1,2\n");
    const CliResult bad =
        runCli({"backtest", (folder.path() / "bad.csv").string(), "--rosters", SampleRosters});
    EXPECT_EQ(bad.exitStatus, 1);
    EXPECT_NE(bad.err.find("line 2, home: 'SEA' is not a team code"), std::string::npos) << bad.err;

    // Ratings without a team of the results, and rosters missing: each named, nothing run.
    folder.write("ratings.csv", "code,venue,offence,penalty,power_play,short_handed,defence\n"
                                "MON,road,1,0.2,1,1,1\nTOR,home,1,0.2,1,1,1\n");
    const CliResult unrated =
        runCli({"backtest", (folder.path() / "results.csv").string(), "--rosters", SampleRosters,
                "--ratings", (folder.path() / "ratings.csv").string()});
    EXPECT_EQ(unrated.exitStatus, 1);
    for (const char* team : {"CAL at home", "DAL at home", "EDM on the road", "NAS on the road"}) {
        EXPECT_NE(unrated.err.find(team), std::string::npos) << team << unrated.err;
    }
    folder.write("TOR", sampleRoster("TOR"));
    const CliResult rosterless =
        runCli({"backtest", (folder.path() / "results.csv").string(), "--rosters",
                folder.path().string(), "--ratings", (folder.path() / "ratings.csv").string()});
    EXPECT_EQ(rosterless.exitStatus, 1);
    for (const char* team : {"'CAL'", "'DAL'", "'NAS'", "'MON'"}) {
        EXPECT_NE(rosterless.err.find(team), std::string::npos) << team << rosterless.err;
    }
}

// Reports of many rows are written a row at a time, in the very bytes of the whole object.
TEST(Backtest, StreamedJsonIsTheWholeObjectsText) {
    const auto element = [](std::size_t index) {
        return nlohmann::ordered_json{
            {"index", index},
            {"nested", {{"list", {index, "not UTF-8 \xff", "\"rows\": []"}}, {"none", {}}}},
            {"empty", nlohmann::ordered_json::array()}};
    };
    for (const std::size_t count : {0u, 1u, 3u}) {
        SCOPED_TRACE(count);
        nlohmann::ordered_json object{{"first", "rows"},
                                      {"rows", nlohmann::ordered_json::array()},
                                      {"after", {{"rows", nlohmann::ordered_json::array()}}}};
        std::ostringstream streamed;
        writeJsonStreaming(streamed, object, "rows", count, element);
        for (std::size_t index = 0; index < count; ++index) {
            object["rows"].push_back(element(index));
        }
        EXPECT_EQ(streamed.str(), jsonText(object));
    }
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    int made = 0;
    writeJsonStreaming(failed, {{"rows", nlohmann::ordered_json::array()}}, "rows", 1000,
                       [&](std::size_t) { return nlohmann::ordered_json(++made); });
    EXPECT_EQ(made, 0);
}

} // namespace
} // namespace zelkor::test

namespace zelkor::test {
namespace {

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The walk-forward's season fit goes through the library's fit and writer: the file reads
// back, an old one is kept beside it, nothing else stays in the folder, and the older name
// --ratings still gives the walk-forward its prior.
TEST(Backtest, WalkForwardWritesTheSeasonsRatingsWholeAndKeepsTheOldFile) {
    TempFolder folder;
    const std::string results = (folder.path() / "results.csv").string();
    const std::string fit = (folder.path() / "fit.csv").string();
    folder.write("results.csv", "date,visitor,home,visitor_goals,home_goals,result\n"
                                "2001-01-02,BOS,TOR,3,2,SO\n"
                                "2001-01-03,TOR,BOS,1,4,REG\n"
                                "2001-01-04,BOS,TOR,2,3,OT\n"
                                "2001-01-05,TOR,BOS,2,2,T\n");
    folder.write("fit.csv", "old");
    const std::vector<std::string> arguments = {"backtest",
                                                results,
                                                "--rosters",
                                                SampleRosters,
                                                "--walk-forward",
                                                "--series",
                                                "2",
                                                "--seed",
                                                "1",
                                                "--write-ratings",
                                                fit,
                                                "--calibration-series",
                                                "1",
                                                "--calibration-rounds",
                                                "0"};
    const CliResult written = runCli(arguments);
    ASSERT_EQ(written.exitStatus, 0) << written.err;
    EXPECT_NE(
        written.out.find("written to '" + fit + "' (the old file is kept as '" + fit + ".bak')"),
        std::string::npos)
        << written.out;
    EXPECT_NE(written.out.find("of 2 clubs within 3 % at both venues"), std::string::npos)
        << written.out;
    EXPECT_EQ(fileText(fit + ".bak"), "old");
    const RatingTable table = readRatingsFile(fit);
    for (const char* code : {"BOS", "TOR"}) {
        EXPECT_TRUE(table.canVisit(code) && table.canHost(code)) << code;
    }
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"fit.csv", "fit.csv.bak", "results.csv"}));

    // The result text of each row comes from how the game ended.
    const nlohmann::json report =
        nlohmann::json::parse(runCli({"backtest", results, "--rosters", SampleRosters, "--series",
                                      "2", "--seed", "1", "--json"})
                                  .out);
    ASSERT_EQ(report["rows"].size(), 4U);
    EXPECT_EQ(report["rows"][0]["result"], "SO");
    EXPECT_EQ(report["rows"][1]["result"], "REG");
    EXPECT_EQ(report["rows"][2]["result"], "OT");
    EXPECT_EQ(report["rows"][3]["result"], "T");

    const CliResult older =
        runCli({"backtest", results, "--rosters", SampleRosters, "--walk-forward", "--series", "2",
                "--seed", "1", "--ratings", fit});
    ASSERT_EQ(older.exitStatus, 0) << older.err;
    EXPECT_NE(older.out.find("from '" + fit + "' weighted as"), std::string::npos) << older.out;

    // A target the writer may not replace is named and left as it was: no "written".
    const std::filesystem::path taken = folder.path() / "taken";
    std::filesystem::create_directory(taken);
    std::vector<std::string> intoFolder = arguments;
    intoFolder[10] = taken.string();
    const CliResult refused = runCli(intoFolder);
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.out.find("written to"), std::string::npos) << refused.out;
    EXPECT_NE(refused.err.find("not a plain file"), std::string::npos) << refused.err;
    EXPECT_TRUE(std::filesystem::is_directory(taken));
}

} // namespace
} // namespace zelkor::test
