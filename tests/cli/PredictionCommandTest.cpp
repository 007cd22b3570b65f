#include "cli/CliProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace zelkor::test {
namespace {

const std::string SampleRosters = ZELKOR_SAMPLE_ROSTERS;

std::vector<std::string> seriesOf(const std::string& folder, bool shootout) {
    std::vector<std::string> words = {
        "BOS",      "TOR", "--gaa-visitor", "2.5", "--gaa-home", "3.1", "--rosters", folder,
        "--series", "40",  "--seed",        "5",   "--json"};
    if (shootout) {
        words.push_back("--shootout");
    }
    return words;
}

// --shootout decides every level game even where the folder holds no shootouts.csv.
TEST(PredictionCommand, ShootoutOptionWithoutAShootoutsFile) {
    TempFolder folder;
    folder.write("BOS", sampleRoster("BOS"));
    folder.write("TOR", sampleRoster("TOR"));
    const CliResult level = runCli(seriesOf(folder.path().string(), false));
    ASSERT_EQ(level.exitStatus, 0) << level.err;
    EXPECT_GT(nlohmann::json::parse(level.out)["ties"].get<int>(), 0);
    const CliResult decided = runCli(seriesOf(folder.path().string(), true));
    ASSERT_EQ(decided.exitStatus, 0) << decided.err;
    const nlohmann::json report = nlohmann::json::parse(decided.out);
    EXPECT_EQ(report["ties"], 0);
    EXPECT_EQ(report["games"], 440);
}

// Each side's scorers come from its own roster file.
TEST(PredictionCommand, EachSidesScorersAreItsOwnPlayers) {
    const CliResult run = runCli(seriesOf(SampleRosters, false));
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    const std::string boston = sampleRoster("BOS");
    const std::string toronto = sampleRoster("TOR");
    ASSERT_FALSE(report["visitor_players"].empty());
    ASSERT_FALSE(report["home_players"].empty());
    for (const auto& player : report["visitor_players"]) {
        const std::string name = player["name"];
        EXPECT_NE(boston.find(name), std::string::npos) << name;
        EXPECT_EQ(toronto.find(name), std::string::npos) << name;
    }
    for (const auto& player : report["home_players"]) {
        const std::string name = player["name"];
        EXPECT_NE(toronto.find(name), std::string::npos) << name;
        EXPECT_EQ(boston.find(name), std::string::npos) << name;
    }
}

// Counts are grouped in threes from the right: never a separator in front.
TEST(PredictionCommand, CountsAreGroupedFromTheRight) {
    std::vector<std::string> words = seriesOf(SampleRosters, false);
    words.pop_back(); // text
    words[9] = "100";
    const CliResult hundred = runCli(words);
    ASSERT_EQ(hundred.exitStatus, 0) << hundred.err;
    EXPECT_NE(hundred.out.find(": 100 series, 1,100 games"), std::string::npos)
        << hundred.out.substr(0, 120);
    words[9] = "9091";
    const CliResult many = runCli(words);
    ASSERT_EQ(many.exitStatus, 0) << many.err;
    EXPECT_NE(many.out.find(": 9,091 series, 100,001 games"), std::string::npos)
        << many.out.substr(0, 120);
}

// A season folder's shootout records reach a many-series run, each club's its own: BOS's
// record of 40-2 against TOR's 2-40 wins BOS the shootouts that the reverse loses.
TEST(PredictionCommand, ShootoutRecordsOfTheFolderWeighEachSide) {
    TempFolder folder;
    folder.write("BOS", sampleRoster("BOS"));
    folder.write("TOR", sampleRoster("TOR"));
    const auto visitorWins = [&](const char* records) {
        folder.write("shootouts.csv", std::string("code,wins,losses\n") + records);
        std::vector<std::string> words = seriesOf(folder.path().string(), false);
        words[9] = "400";
        const CliResult run = runCli(words);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        const nlohmann::json report = nlohmann::json::parse(run.out);
        EXPECT_EQ(report["ties"], 0);
        return report["visitor_wins_regulation"].get<int>() +
               report["visitor_wins_overtime"].get<int>() -
               (report["home_wins_regulation"].get<int>() +
                report["home_wins_overtime"].get<int>());
    };
    const int strongVisitors = visitorWins("BOS,40,2\nTOR,2,40\n");
    const int strongHosts = visitorWins("TOR,40,2\nBOS,2,40\n");
    EXPECT_GT(strongVisitors - strongHosts, 400);
}

// One series of 11 games with shootouts: every game has a winner, counted in the summary.
TEST(PredictionCommand, ShootoutWinsCountInTheSeriesSummary) {
    for (const char* seed : {"4", "5", "6"}) {
        std::vector<std::string> words = {"BOS",        "TOR", "--gaa-visitor", "2.5",
                                          "--gaa-home", "3.1", "--rosters",     SampleRosters,
                                          "--seed",     seed,  "--json"};
        const nlohmann::json level = nlohmann::json::parse(runCli(words).out);
        EXPECT_GT(level["ties"].get<int>(), 0) << seed;
        words.push_back("--shootout");
        const CliResult run = runCli(words);
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        const nlohmann::json report = nlohmann::json::parse(run.out);
        EXPECT_EQ(report["ties"], 0) << seed;
        EXPECT_EQ(report["wins_visitor"].get<int>() + report["wins_home"].get<int>(), 11) << seed;
        EXPECT_NE(report["money_line"], "EVEN, NO BET") << seed;
    }
}
} // namespace
} // namespace zelkor::test
