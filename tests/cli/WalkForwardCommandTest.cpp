#include "cli/CliProcess.h"
#include "odds/ManySeries.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zelkor::test {
namespace {

const std::string SampleRosters = ZELKOR_SAMPLE_ROSTERS;

// Two game days of four clubs, each side with its own score, and a postponed game.
const std::string TwoDays = "date,visitor,home,visitor_goals,home_goals,result\n"
                            "2001-01-01,BOS,TOR,1,3,REG\n"
                            "2001-01-01,MON,DET,2,2,T\n"
                            "2001-01-02,TOR,BOS,4,3,OT\n"
                            "2001-01-02,DET,MON,0,2,REG\n"
                            "2001-01-03,BOS,MON,,,\n";

// The same days with each game's starters.
const std::string TwoDaysWithGoalies =
    "date,visitor,home,visitor_goals,home_goals,result,visitor_gaa,home_gaa\n"
    "2001-01-01,BOS,TOR,1,3,REG,3.3,2.2\n"
    "2001-01-01,MON,DET,2,2,T,2.4,2.6\n"
    "2001-01-02,TOR,BOS,4,3,OT,2.9,3.1\n"
    "2001-01-02,DET,MON,0,2,REG,3.4,2.1\n"
    "2001-01-03,BOS,MON,,,,,\n";

std::vector<std::string> walkForward(const TempFolder& folder,
                                     std::vector<std::string> extra = {}) {
    std::vector<std::string> words = {"backtest",      (folder.path() / "results.csv").string(),
                                      "--rosters",     SampleRosters,
                                      "--series",      "2",
                                      "--seed",        "4",
                                      "--walk-forward"};
    words.insert(words.end(), extra.begin(), extra.end());
    return words;
}

std::string fileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Worked by hand: on day 1 every club's usual goalie is the default 2.8, so each starter
// plays at his own average. After it BOS's usual goalie is (3.3 + 5.6) / 3 and TOR's
// (2.2 + 5.6) / 3 = 2.6, so on day 2 TOR's 2.9 plays at 2.8 * 2.9 / 2.6 and BOS's 3.1 at
// 2.8 * 3.1 * 3 / 8.9; the Elo (K 8) moved TOR up and BOS down by 4.5637.
TEST(WalkForwardCommand, EachGameWithItsOwnGoaliesEloAndSeed) {
    TempFolder folder;
    folder.write("results.csv", TwoDaysWithGoalies);
    const CliResult run = runCli(walkForward(folder, {"--gaa-from-results", "--json"}));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.err.find("Skipped 1 game without a score (postponed)."), std::string::npos)
        << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["game_days"], 2);
    EXPECT_EQ(report["gaa_from_results"], true);
    ASSERT_EQ(report["rows"].size(), 4u);
    const nlohmann::json& day2 = report["rows"][2];
    EXPECT_EQ(day2["visitor"], "TOR");
    EXPECT_EQ(day2["home"], "BOS");
    EXPECT_NEAR(day2["visitor_gaa"].get<double>(), 2.8 * 2.9 / 2.6, 1e-5);
    EXPECT_NEAR(day2["home_gaa"].get<double>(), 2.8 * 3.1 * 3 / 8.9, 1e-5);
    EXPECT_NEAR(day2["elo_home_probability"].get<double>(), 0.537165178053091, 1e-9);
    EXPECT_NEAR(report["rows"][0]["visitor_gaa"].get<double>(), 3.3, 1e-5);
    EXPECT_NEAR(report["rows"][0]["home_gaa"].get<double>(), 2.2, 1e-5);
    for (std::size_t index = 0; index < 4; ++index) {
        EXPECT_EQ(report["rows"][index]["seed"].get<std::uint64_t>(), seriesSeed(4, index));
        EXPECT_EQ(report["rows"][index]["model"]["games"], 22);
    }
    // Without --gaa-from-results and without averages every goalie has the default.
    folder.write("results.csv", TwoDays);
    const nlohmann::json plain =
        nlohmann::json::parse(runCli(walkForward(folder, {"--json", "--default-gaa", "3.2"})).out);
    EXPECT_NEAR(plain["rows"][2]["visitor_gaa"].get<double>(), 3.2, 1e-6);
    EXPECT_NEAR(plain["rows"][2]["home_gaa"].get<double>(), 3.2, 1e-6);
}

TEST(WalkForwardCommand, ItsOptionsAreRefusedWithoutIt) {
    TempFolder folder;
    folder.write("results.csv", TwoDays);
    for (const std::vector<std::string>& extra :
         {std::vector<std::string>{"--gaa-from-results"},
          std::vector<std::string>{"--write-ratings", (folder.path() / "r.csv").string()}}) {
        std::vector<std::string> words = {"backtest",  (folder.path() / "results.csv").string(),
                                          "--rosters", SampleRosters,
                                          "--series",  "1"};
        words.insert(words.end(), extra.begin(), extra.end());
        const CliResult run = runCli(words);
        EXPECT_EQ(run.exitStatus, 2) << extra[0];
        EXPECT_NE(run.err.find("need --walk-forward"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "r.csv"));
}

// The season's fit replaces what the file held, whole; a run again writes the same.
TEST(WalkForwardCommand, WriteRatingsReplacesTheFileWithTheWholeSeasonsFit) {
    TempFolder folder;
    folder.write("results.csv", TwoDays);
    const std::filesystem::path ratings = folder.path() / "ratings.csv";
    folder.write("ratings.csv", std::string(5000, 'x') + "\n");
    const std::vector<std::string> words =
        walkForward(folder, {"--write-ratings", ratings.string(), "--calibration-series", "1",
                             "--calibration-rounds", "1"});
    const CliResult run = runCli(words);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("written to"), std::string::npos) << run.out;
    const std::string written = fileText(ratings);
    EXPECT_TRUE(written.starts_with("code,venue,offence,penalty,power_play,short_handed,defence\n"))
        << written.substr(0, 80);
    EXPECT_EQ(written.find('x'), std::string::npos);
    for (const char* row : {"BOS,road,", "BOS,home,", "TOR,road,", "TOR,home,", "MON,road,",
                            "MON,home,", "DET,road,", "DET,home,"}) {
        EXPECT_NE(written.find(row), std::string::npos) << row;
    }
    const CliResult check = runCli({"ratings", ratings.string()});
    EXPECT_EQ(check.exitStatus, 0) << check.err;
    ASSERT_EQ(runCli(words).exitStatus, 0);
    EXPECT_EQ(fileText(ratings), written);

    // A place that cannot take the file fails the command, and says nothing was written.
    folder.write("plain-file", "not a folder\n");
    const std::filesystem::path nowhere = folder.path() / "plain-file" / "ratings.csv";
    const CliResult failed =
        runCli(walkForward(folder, {"--write-ratings", nowhere.string(), "--calibration-series",
                                    "1", "--calibration-rounds", "0"}));
    EXPECT_NE(failed.exitStatus, 0);
    EXPECT_EQ(failed.out.find("written to"), std::string::npos) << failed.out;
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST(WalkForwardCommand, ResultsWithoutAPlayedGameFail) {
    TempFolder folder;
    for (const std::string& text :
         {std::string("date,visitor,home,visitor_goals,home_goals\n"),
          std::string("date,visitor,home,visitor_goals,home_goals\n2001-01-03,BOS,MON,,\n")}) {
        folder.write("results.csv", text);
        for (const bool forward : {false, true}) {
            std::vector<std::string> words = {"backtest",  (folder.path() / "results.csv").string(),
                                              "--rosters", SampleRosters,
                                              "--series",  "1"};
            if (forward) {
                words.push_back("--walk-forward");
            }
            const CliResult run = runCli(words);
            EXPECT_EQ(run.exitStatus, 1) << text << forward;
            EXPECT_NE(run.err.find("holds no game"), std::string::npos) << run.err;
        }
    }
}

// The ratings a backtest is given must rate each visitor on the road and each home club at
// home, and no more.
TEST(WalkForwardCommand, BacktestChecksEachClubAtTheVenueItPlays) {
    TempFolder folder;
    folder.write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                "2001-01-01,MON,TOR,1,3\n");
    const std::string header = "code,venue,offence,penalty,power_play,short_handed,defence\n";
    folder.write("venues.csv", header + "MON,road,0.7,0.2,1,1,1\nTOR,home,1,0.2,1,1,1\n");
    folder.write("swapped.csv", header + "MON,home,0.7,0.2,1,1,1\nTOR,road,1,0.2,1,1,1\n");
    const auto backtest = [&](const char* ratings) {
        return runCli({"backtest", (folder.path() / "results.csv").string(), "--rosters",
                       SampleRosters, "--series", "1", "--seed", "1", "--ratings",
                       (folder.path() / ratings).string()});
    };
    const CliResult rated = backtest("venues.csv");
    EXPECT_EQ(rated.exitStatus, 0) << rated.err;
    const CliResult unrated = backtest("swapped.csv");
    EXPECT_EQ(unrated.exitStatus, 1);
    EXPECT_NE(unrated.err.find("MON on the road (line 2)"), std::string::npos) << unrated.err;
    EXPECT_NE(unrated.err.find("TOR at home (line 2)"), std::string::npos) << unrated.err;
}

// ratings --fit fits the games before the day named, not that day's: MON and DET play
// only on it.
TEST(RatingsFitCommand, FitsOnlyTheGamesBeforeTheDate) {
    TempFolder folder;
    folder.write("results.csv", "date,visitor,home,visitor_goals,home_goals,result\n"
                                "2001-01-01,BOS,TOR,1,3,REG\n"
                                "2001-01-02,MON,DET,2,1,REG\n");
    const CliResult fit =
        runCli({"ratings", "--fit", (folder.path() / "results.csv").string(), "--rosters",
                SampleRosters, "--before", "2001-01-02", "--check-series", "1"});
    ASSERT_EQ(fit.exitStatus, 0) << fit.err;
    for (const char* row : {"BOS,road,", "BOS,home,", "TOR,road,", "TOR,home,"}) {
        EXPECT_NE(fit.out.find(row), std::string::npos) << row << fit.out;
    }
    EXPECT_EQ(fit.out.find("MON,"), std::string::npos) << fit.out;
    EXPECT_EQ(fit.out.find("DET,"), std::string::npos) << fit.out;
}

TEST(RatingsFitCommand, NoGameBeforeTheDateIsRefused) {
    TempFolder folder;
    folder.write("results.csv", TwoDays);
    const CliResult none =
        runCli({"ratings", "--fit", (folder.path() / "results.csv").string(), "--rosters",
                SampleRosters, "--before", "2001-01-01", "--check-series", "1"});
    EXPECT_NE(none.exitStatus, 0) << none.out;
    EXPECT_EQ(none.out, "");
}

TEST(RatingsFitCommand, BeforeThatIsNotADateIsRefused) {
    TempFolder folder;
    folder.write("results.csv", TwoDays);
    for (const char* before : {"tomorrow", "2001-02-30", "2001-1-2"}) {
        const CliResult run =
            runCli({"ratings", "--fit", (folder.path() / "results.csv").string(), "--rosters",
                    SampleRosters, "--before", before, "--check-series", "1"});
        EXPECT_NE(run.exitStatus, 0) << before;
        EXPECT_NE(run.err.find(before), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

} // namespace
} // namespace zelkor::test
