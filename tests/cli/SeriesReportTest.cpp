#include "cli/CliProcess.h"
#include "odds/ManySeries.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace zelkor::test {
namespace {

using nlohmann::json;

const std::string SampleRosters = ZELKOR_SAMPLE_ROSTERS;

constexpr int GamesPerSeries = 11; // games in every series

std::vector<std::string> arguments(const std::string& visitor, const std::string& home,
                                   const std::string& seed, bool asJson) {
    std::vector<std::string> words = {visitor,      home,   "--gaa-visitor", "2.75",
                                      "--gaa-home", "3.10", "--rosters",     SampleRosters};
    if (!seed.empty()) {
        words.insert(words.end(), {"--seed", seed});
    }
    if (asJson) {
        words.push_back("--json");
    }
    return words;
}

json runJson(const std::string& visitor, const std::string& home, const std::string& seed) {
    const CliResult result = runCli(arguments(visitor, home, seed, true));
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    return json::parse(result.out);
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The favourite's odds for its series points, as a bookmaker rounds 22 / points.
const std::map<int, std::string> OddsForPoints = {
    {12, "1.83"}, {13, "1.69"}, {14, "1.57"}, {15, "1.47"}, {16, "1.38"}, {17, "1.29"},
    {18, "1.22"}, {19, "1.16"}, {20, "1.1"},  {21, "1.05"}, {22, "1"},
};

struct Matchup {
    const char* visitor;
    const char* home;
    const char* seed;
};

class SeriesConsistency : public testing::TestWithParam<Matchup> {};

// Recounts the series from its log and checks every number of the JSON object against it.
TEST_P(SeriesConsistency, JsonAgreesWithItsLog) {
    const Matchup& matchup = GetParam();
    const json report = runJson(matchup.visitor, matchup.home, matchup.seed);

    const std::vector<std::string> keys = {
        "visitor",       "home",       "seed",         "log",       "visitor_average",
        "home_average",  "money_line", "wins_visitor", "wins_home", "ties",
        "goals_visitor", "goals_home", "ratings",      "games"};
    ASSERT_TRUE(report.is_object());
    EXPECT_EQ(report.size(), keys.size());
    for (const std::string& key : keys) {
        EXPECT_TRUE(report.contains(key)) << key;
    }
    EXPECT_EQ(report["visitor"], matchup.visitor);
    EXPECT_EQ(report["home"], matchup.home);
    EXPECT_EQ(report["seed"].get<std::uint64_t>(), std::stoull(matchup.seed));
    ASSERT_TRUE(report["log"].is_array());

    const std::string visitor = matchup.visitor;
    const std::string home = matchup.home;
    const std::regex finalScore("^" + visitor + " - (\\d+)  " + home + " - (\\d+)$");
    const std::regex goal("^(" + visitor + "|" + home + ") score! by .+ at minute (\\d+)$");

    int games = 0, winsVisitor = 0, winsHome = 0, ties = 0, goalsVisitor = 0, goalsHome = 0;
    int gameGoalsVisitor = 0, gameGoalsHome = 0;
    std::string lastLine;
    // The games key holds what the log says, as numbers.
    ASSERT_EQ(report["games"].size(), static_cast<std::size_t>(GamesPerSeries));
    const auto gameOf = [&report, &games]() -> const json& { return report["games"][games]; };
    for (const json& entry : report["log"]) {
        const std::string line = entry.get<std::string>();
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        std::smatch match;
        if (std::regex_match(line, match, goal)) {
            EXPECT_LE(std::stoi(match[2]), 59) << line;
            const json& scored = gameOf()["goals"][gameGoalsVisitor + gameGoalsHome];
            EXPECT_EQ(scored["team"], match[1] == visitor ? "visitor" : "home") << line;
            EXPECT_EQ(scored["minute"], std::stoi(match[2])) << line;
            (match[1] == visitor ? gameGoalsVisitor : gameGoalsHome) += 1;
        } else if (std::regex_match(line, match, finalScore)) {
            const int visitorScore = std::stoi(match[1]);
            const int homeScore = std::stoi(match[2]);
            EXPECT_EQ(visitorScore, gameGoalsVisitor) << "game " << games + 1;
            EXPECT_EQ(homeScore, gameGoalsHome) << "game " << games + 1;
            EXPECT_EQ(gameOf()["visitor_score"], visitorScore);
            EXPECT_EQ(gameOf()["home_score"], homeScore);
            EXPECT_EQ(gameOf()["goals"].size(), std::size_t(visitorScore + homeScore));
            ++games;
            winsVisitor += visitorScore > homeScore;
            winsHome += homeScore > visitorScore;
            ties += visitorScore == homeScore;
            goalsVisitor += visitorScore;
            goalsHome += homeScore;
            gameGoalsVisitor = gameGoalsHome = 0;
        } else {
            ADD_FAILURE() << "unexpected log line: " << line;
        }
        lastLine = line;
    }
    EXPECT_EQ(games, GamesPerSeries);
    EXPECT_TRUE(std::regex_match(lastLine, finalScore)) << lastLine;

    EXPECT_EQ(report["wins_visitor"], winsVisitor);
    EXPECT_EQ(report["wins_home"], winsHome);
    EXPECT_EQ(report["ties"], ties);
    EXPECT_EQ(winsVisitor + winsHome + ties, GamesPerSeries);
    EXPECT_EQ(report["goals_visitor"], goalsVisitor);
    EXPECT_EQ(report["goals_home"], goalsHome);

    // With 11 games no average falls on a half, so any rounding to nearest will do.
    ASSERT_TRUE(report["visitor_average"].is_number_integer());
    ASSERT_TRUE(report["home_average"].is_number_integer());
    EXPECT_EQ(report["visitor_average"], std::lround(goalsVisitor / double(GamesPerSeries)));
    EXPECT_EQ(report["home_average"], std::lround(goalsHome / double(GamesPerSeries)));

    // The money line goes by standings points, not by goals.
    const int pointsVisitor = 2 * winsVisitor + ties;
    const int pointsHome = 2 * winsHome + ties;
    std::string expectedMoneyLine = "EVEN, NO BET";
    if (pointsVisitor > pointsHome) {
        expectedMoneyLine = visitor + "  " + OddsForPoints.at(pointsVisitor);
    } else if (pointsHome > pointsVisitor) {
        expectedMoneyLine = home + "  " + OddsForPoints.at(pointsHome);
    }
    EXPECT_EQ(report["money_line"], expectedMoneyLine);
}

INSTANTIATE_TEST_SUITE_P(
    SampleRosters, SeriesConsistency,
    testing::Values(Matchup{"BOS", "TOR", "42"}, Matchup{"NAT", "WAT", "7"},
                    Matchup{"AVG", "MIN", "0"}, Matchup{"PIT", "NYR", "18446744073709551615"},
                    Matchup{"CAL", "NYI", "20240611"}, Matchup{"TBL", "DET", "3"},
                    Matchup{"MON", "VAN", "123456789"}, Matchup{"WAS", "SJS", "99"}),
    [](const testing::TestParamInfo<Matchup>& info) {
        return std::string(info.param.visitor) + "At" + info.param.home;
    });

TEST(SeriesSeed, SameSeedGivesTheSameSeries) {
    const CliResult first = runCli(arguments("BOS", "TOR", "42", false));
    const CliResult second = runCli(arguments("BOS", "TOR", "42", false));
    EXPECT_EQ(first.exitStatus, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_EQ(first.err, second.err);

    EXPECT_EQ(runJson("BOS", "TOR", "42"), runJson("BOS", "TOR", "42"));
}

TEST(SeriesSeed, DifferentSeedsGiveDifferentSeries) {
    EXPECT_NE(runJson("BOS", "TOR", "42")["log"], runJson("BOS", "TOR", "43")["log"]);
}

// A clock-seeded series reports the seed it used, and that seed plays it again.
TEST(SeriesSeed, ReportedClockSeedReplaysTheSeries) {
    const CliResult clocked = runCli(arguments("BOS", "TOR", "", true));
    ASSERT_EQ(clocked.exitStatus, 0) << clocked.err;
    const json report = json::parse(clocked.out);
    ASSERT_TRUE(report["seed"].is_number_unsigned());
    const std::string seed = std::to_string(report["seed"].get<std::uint64_t>());
    EXPECT_EQ(runJson("BOS", "TOR", seed), report);

    const CliResult text = runCli(arguments("BOS", "TOR", "", false));
    EXPECT_TRUE(std::regex_match(text.err, std::regex("Seed: \\d+\n"))) << text.err;
}

// Many series: the counts add up, and each series is the single one its seed plays.
TEST(OddsReport, CountsAddUpAndEachSeriesReplaysWithItsSeed) {
    std::vector<std::string> words = arguments("BOS", "TOR", "5", true);
    words.insert(words.end(), {"--series", "30", "--threads", "2", "--offered-home", "-150"});
    const CliResult result = runCli(words);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const json report = json::parse(result.out);
    EXPECT_EQ(report["series"], 30);
    EXPECT_EQ(report["games"], 30 * GamesPerSeries);
    EXPECT_EQ(report["seed"], 5);
    std::uint64_t outcomes = 0;
    for (const char* key : {"visitor_wins_regulation", "visitor_wins_overtime",
                            "home_wins_regulation", "home_wins_overtime", "ties"}) {
        outcomes += report[key].get<std::uint64_t>();
    }
    EXPECT_EQ(outcomes, 30u * GamesPerSeries);
    std::uint64_t scored = 0;
    for (const auto& [score, games] : report["scores"].items()) {
        scored += games.get<std::uint64_t>();
    }
    EXPECT_EQ(scored, 30u * GamesPerSeries);
    EXPECT_TRUE(report["edges"]["home"].is_number());
    EXPECT_TRUE(report["edges"]["visitor"].is_null());

    // The third series alone, from its seed: its money line and goals are among the run's.
    const json third = runJson("BOS", "TOR", std::to_string(seriesSeed(5, 2)));
    EXPECT_TRUE(report["money_lines"].contains(third["money_line"].get<std::string>()));
    EXPECT_LE(third["goals_visitor"].get<std::uint64_t>(),
              report["goals_visitor"].get<std::uint64_t>());

    words.back() = "x";
    EXPECT_EQ(runCli(words).exitStatus, 2);
}

// Text mode prints the same series as JSON: the log, then four labelled result lines;
// only the seed goes to stderr.
TEST(TextReport, MatchesTheJsonReport) {
    const CliResult text = runCli(arguments("BOS", "TOR", "42", false));
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_EQ(text.err, "Seed: 42\n");
    EXPECT_EQ(text.out.find('\r'), std::string::npos);

    const json report = runJson("BOS", "TOR", "42");
    std::vector<std::string> expected = report["log"].get<std::vector<std::string>>();
    expected.push_back("BOS average score: " + report["visitor_average"].dump());
    expected.push_back("TOR average score: " + report["home_average"].dump());
    expected.push_back("Money line: " + report["money_line"].get<std::string>());
    expected.push_back("Ratings: " + report["ratings"].get<std::string>());
    EXPECT_EQ(report["ratings"], "built-in");
    EXPECT_EQ(splitLines(text.out), expected);
}

TEST(TextReport, RosterFolderDefaultsToTheWorkingDirectory) {
    const CliResult result =
        runCli({"NAT", "WAT", "--gaa-visitor", "2.5", "--gaa-home", "2.5"}, SampleRosters);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("Money line: "), std::string::npos);
}

// A roster saved in a Windows code page has names that are not UTF-8; the JSON output
// must still be valid.
TEST(JsonReport, NamesThatAreNotUtf8StayValidJson) {
    TempFolder folder;
    std::string roster;
    for (const std::string& line : splitLines(sampleRoster("BOS"))) {
        roster += "J\xF6rg" + line + "\r\n"; // o-umlaut in Latin-1
    }
    folder.write("BOS", roster);
    folder.write("TOR", sampleRoster("TOR"));

    const CliResult result =
        runCli({"BOS", "TOR", "--gaa-visitor", "2.75", "--gaa-home", "3.10", "--rosters",
                folder.path().string(), "--seed", "42", "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    ASSERT_TRUE(json::accept(result.out)) << result.out;
    const json report = json::parse(result.out);
    ASSERT_GT(report["goals_visitor"].get<int>(), 0);
    bool nameSeen = false;
    for (const json& line : report["log"]) {
        nameSeen |= line.get<std::string>().find("J\xEF\xBF\xBDrg") != std::string::npos;
    }
    EXPECT_TRUE(nameSeen);
}

} // namespace
} // namespace zelkor::test
