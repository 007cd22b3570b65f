#include "cli/CliProcess.h"
#include "season/CsvFile.h"
#include "season/Elo.h"
#include "season/MarketSummary.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include <cmath>
#include <fstream>
#include <sstream>

namespace zelkor::test {
namespace {

const std::string SampleRosters = ZELKOR_SAMPLE_ROSTERS;

// A season folder of league codes, as an import with --codes league writes it: Arizona's
// roster and no Utah one, as on the opening night of Utah's first season.
void writeLeagueRosters(const TempFolder& folder) {
    folder.write("MTL", sampleRoster("MON"));
    folder.write("TOR", sampleRoster("TOR"));
    folder.write("ARI", sampleRoster("PHO"));
}

// Three games with the clubs' full names, the season before, and the archive's lines.
void writeSeason(const TempFolder& folder) {
    folder.write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                "2024-10-09,Montreal Canadiens,Toronto Maple Leafs,3,2\n"
                                "2024-10-10,Utah Hockey Club,Toronto Maple Leafs,1,4\n"
                                "2024-10-11,Montreal Canadiens,Utah Hockey Club,2,5\n");
    folder.write("prior.csv", "date,visitor,home,visitor_goals,home_goals\n"
                              "2024-04-01,Arizona Coyotes,Montreal Canadiens,4,1\n"
                              "2024-04-02,Toronto Maple Leafs,Arizona Coyotes,2,3\n");
    folder.write("odds.csv", "Date,Rot,VH,Team,1st,2nd,3rd,Final,Open,Close\n"
                             "1009,1,V,Montreal,0,0,0,3,140,150\n"
                             "1009,2,H,Toronto,0,0,0,2,-160,-170\n"
                             "1010,3,V,Utah,0,0,0,1,190,200\n"
                             "1010,4,H,Toronto,0,0,0,4,-230,-240\n"
                             "1011,5,V,Montreal,0,0,0,2,105,110\n"
                             "1011,6,H,Utah,0,0,0,5,-125,-130\n"
                             "1101,7,V,Boston,0,0,0,2,105,110\n"
                             "1101,8,H,Utah,0,0,0,5,-125,-130\n");
}

// The de-vigged home chance of two American lines, +visitor and -home.
double devigged(double visitor, double home) {
    const double visitorShare = 100 / (visitor + 100); // 1 / (1 + visitor / 100)
    const double homeShare = home / (home + 100);      // 1 / (1 + 100 / home)
    return homeShare / (homeShare + visitorShare);
}

TEST(BacktestMarket, AWalkForwardScoresTheArchivesClosingLineAndCarriesTheElo) {
    TempFolder rosters;
    writeLeagueRosters(rosters);
    TempFolder files;
    writeSeason(files);
    TempFolder season;
    const CliResult result =
        runCli({"backtest", (files.path() / "results.csv").string(), "--rosters",
                rosters.path().string(), "--walk-forward", "--series", "2", "--seed", "5", "--odds",
                (files.path() / "odds.csv").string(), "--prior-results",
                (files.path() / "prior.csv").string(), "--write-summary", season.path().string(),
                "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    const nlohmann::json report = nlohmann::json::parse(result.out);
    // No --codes league: the roster folder's codes tell.
    EXPECT_EQ(report["codes"], "league");
    for (const char* key : {"model", "bookmaker", "flat_stake", "games_with_odds", "elo",
                            "home_always", "coin", "model_on_odds_games", "elo_on_odds_games"}) {
        EXPECT_TRUE(report.contains(key) && !report[key].is_null()) << key;
    }
    EXPECT_EQ(report["games_with_odds"], 3);
    EXPECT_EQ(report["unmatched_odds_games"], 1); // Boston at Utah in November
    // Montreal won the first game away, the home clubs the other two.
    const double logLoss = -(std::log(1 - devigged(150, 170)) + std::log(devigged(200, 240)) +
                             std::log(devigged(110, 130))) /
                           3;
    EXPECT_NEAR(report["bookmaker"]["log_loss"].get<double>(), logLoss, 1e-12);
    // Utah played with Arizona's roster, prior and Elo, and the report says so.
    ASSERT_EQ(report["moved_clubs"].size(), 1u);
    EXPECT_EQ(report["moved_clubs"][0]["club"], "UTA");
    EXPECT_EQ(report["moved_clubs"][0]["predecessor"], "ARI");
    EXPECT_EQ(report["rows"][1]["visitor"], "ARI");
    // The Elo carried last season, worked by hand: Arizona won 4-1 at Montreal (MTL
    // -6.7755 to 1493.2245) and 3-2 over Toronto (TOR -2.8340 to 1497.1660); 60 % carried,
    // MTL 1495.9347 and TOR 1498.2996, so Toronto's chance at home on opening night is
    // 1 / (1 + 10^(-(1498.2996 + 35 - 1495.9347) / 400)).
    EXPECT_TRUE(report["elo_carried"].get<bool>());
    EXPECT_NEAR(report["rows"][0]["elo_home_probability"].get<double>(), 0.553566, 1e-6);

    std::ifstream summaryFile(season.path() / "summary.csv");
    std::stringstream summary;
    summary << summaryFile.rdbuf();
    EXPECT_NE(summary.str().find("season,2024-25\ngames,3\n"), std::string::npos) << summary.str();
    EXPECT_NE(summary.str().find("games_with_odds,3\n"), std::string::npos);
}

TEST(BacktestMarket, WithoutPriorResultsTheReportSaysTheEloStartsLevel) {
    TempFolder rosters;
    writeLeagueRosters(rosters);
    TempFolder files;
    writeSeason(files);
    const CliResult result =
        runCli({"backtest", (files.path() / "results.csv").string(), "--rosters",
                rosters.path().string(), "--walk-forward", "--series", "2", "--seed", "5", "--odds",
                (files.path() / "odds.csv").string(), "--line", "open"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("at the start (level: no --prior-results)"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Odds (opening line)"), std::string::npos);
    EXPECT_NE(result.out.find("3 games matched, 0 games of the results without odds, 1 games "
                              "of the odds file matching no game"),
              std::string::npos);
    EXPECT_NE(result.out.find("Moved club: UTA (from ARI in 2024)"), std::string::npos);
    EXPECT_NE(result.out.find("On the 3 games with odds"), std::string::npos);
}

TEST(BacktestMarket, ABadOddsFileStopsTheBacktestWithItsLine) {
    TempFolder rosters;
    writeLeagueRosters(rosters);
    TempFolder files;
    writeSeason(files);
    files.write("bad.csv", "Date,Rot,VH,Team,1st,2nd,3rd,Final,Open,Close\n"
                           "1009,1,V,Montreal,0,0,0,3,140,150\n"
                           "1009,2,H,Toronto,0,0,0,2,-160,-99\n");
    const CliResult result =
        runCli({"backtest", (files.path() / "results.csv").string(), "--rosters",
                rosters.path().string(), "--odds", (files.path() / "bad.csv").string()});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("line 3, Close: '-99' is not a money line"), std::string::npos)
        << result.err;
    EXPECT_TRUE(result.out.empty()) << result.out;
}

TEST(BacktestMarket, APlainBacktestKeepsItsColumnsApartAtAnyWidth) {
    TempFolder files;
    std::string results = "date,visitor,home,visitor_goals,home_goals,visitor_odds,home_odds\n";
    // Over a thousand games, one a day, make each accuracy cell as wide as its column.
    int game = 0;
    for (int year = 2024; year <= 2027; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 28; ++day, ++game) {
                char date[11];
                std::snprintf(date, sizeof date, "%04d-%02d-%02d", year, month, day);
                results += std::string(date) + (game % 2 == 0 ? ",MON,TOR," : ",TOR,MON,") +
                           std::to_string(game % 4) + "," + std::to_string(game % 3) +
                           ",2.10,1.80\n";
            }
        }
    }
    files.write("results.csv", results);
    const CliResult result = runCli({"backtest", (files.path() / "results.csv").string(),
                                     "--rosters", SampleRosters, "--series", "1", "--seed", "1"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("accuracy")) {
            EXPECT_EQ(line.find(")5"), std::string::npos) << line;
            EXPECT_EQ(line.find(")-"), std::string::npos) << line;
        }
    }
}

TEST(BacktestMarket, TheOddsOfASeriesSayWhetherTheSeasonWasTested) {
    TempFolder folder;
    for (const char* code : {"BOS", "TOR"}) {
        folder.write(code, sampleRoster(code));
    }
    std::vector<std::string> words = {"BOS", "TOR", "--rosters", folder.path().string()};
    words.insert(words.end(),
                 {"--gaa-visitor", "2.75", "--gaa-home", "3.10", "--series", "3", "--seed", "1",
                  "--offered-home", "+150", "--offered-visitor", "+150"});
    const CliResult untested = runCli(words);
    ASSERT_EQ(untested.exitStatus, 0) << untested.err;
    EXPECT_NE(untested.out.find("has not been tested"), std::string::npos) << untested.out;

    folder.write("summary.csv", "key,value\nseason,2024-25\ngames,1312\nmodel_log_loss,0.671\n"
                                "elo_log_loss,0.667\nelo_carried,1\ngames_with_odds,1310\n"
                                "model_log_loss_with_odds,0.671\nmarket_log_loss,0.659\n"
                                "bets,900\nreturn_on_stake,-0.02\npaying_edge,0.99\n");
    const CliResult tested = runCli(words);
    ASSERT_EQ(tested.exitStatus, 0) << tested.err;
    EXPECT_NE(tested.out.find("In 2024-25 this model's log loss was 0.671"), std::string::npos)
        << tested.out;
    EXPECT_NE(tested.out.find("edges under 99 % did not pay"), std::string::npos);
    // At +150 each, one side at least has an edge, and none reaches 99 %: it is marked.
    EXPECT_NE(tested.out.find(" %*"), std::string::npos) << tested.out;
}

// Two clubs of 18 skaters, in the league's export.
std::string twoClubsSkaters() {
    std::string text = "skaterFullName,teamAbbrevs,positionCode,gamesPlayed,goals,assists\n";
    for (const char* team : {"TOR", "NSH"}) {
        for (int k = 0; k < 18; ++k) {
            text += std::string(team) + " Skater " + std::to_string(k) + "," + team + "," +
                    (k < 12 ? 'C' : 'D') + ",82," + std::to_string(30 - k) + ",20\n";
        }
    }
    return text;
}

// Worked by hand (K 8, 35 at home). Last season TOR beat NSH 4-1 at home: +5.5391, carried
// at 60 %: TOR 1503.3235, NSH 1496.6765. This season TOR wins 3-2 at NSH, then 4-1 at home.
TEST(SeasonBuildElo, TheFolderKeepsEachClubsEloAfterTheSeasonCarriedFromTheLastOne) {
    TempFolder data;
    data.write("skaters.csv", twoClubsSkaters());
    data.write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                              "2001-01-02,TOR,NSH,3,2\n2001-01-05,NSH,TOR,1,4\n");
    data.write("prior.csv", "date,visitor,home,visitor_goals,home_goals\n"
                            "2000-03-02,NSH,TOR,1,4\n");
    const auto build = [&](const std::string& folder, std::vector<std::string> more) {
        std::vector<std::string> words{"season",    "build",
                                       "--skaters", (data.path() / "skaters.csv").string(),
                                       "--results", (data.path() / "results.csv").string(),
                                       "--series",  "1",
                                       "--to",      (data.path() / folder).string()};
        words.insert(words.end(), more.begin(), more.end());
        const CliResult result = runCli(words);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        return parseEloFile(readCsvFile(data.path() / folder / EloFileName, "elo"), "elo");
    };
    const EloRatings carried =
        build("carried", {"--prior-results", (data.path() / "prior.csv").string()});
    EXPECT_NEAR(carried.at("TOR"), 1512.1062, 1e-4);
    EXPECT_NEAR(carried.at("NSH"), 1487.8938, 1e-4);
    const EloRatings level = build("level", {});
    EXPECT_NEAR(level.at("TOR"), 1508.9575, 1e-4);
    EXPECT_NEAR(level.at("NSH"), 1491.0425, 1e-4);
}

TEST(SeasonBuildElo, WithOddsTheBuildKeepsTheSeasonsSummaryAndABadFileStopsIt) {
    TempFolder data;
    data.write("skaters.csv", twoClubsSkaters());
    data.write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                              "2001-01-02,TOR,NSH,3,2\n2001-01-05,NSH,TOR,1,4\n");
    data.write("odds.csv", "date,visitor,home,visitor_odds,home_odds\n"
                           "2001-01-02,TOR,NSH,2.20,1.75\n2001-01-06,NSH,TOR,3.10,1.40\n");
    const auto build = [&](const std::string& odds, const std::string& folder) {
        return runCli({"season", "build", "--skaters", (data.path() / "skaters.csv").string(),
                       "--results", (data.path() / "results.csv").string(), "--series", "1",
                       "--odds", (data.path() / odds).string(), "--to",
                       (data.path() / folder).string()});
    };
    const CliResult built = build("odds.csv", "season");
    ASSERT_EQ(built.exitStatus, 0) << built.err;
    EXPECT_NE(built.out.find("In 2000-01 this model's log loss was"), std::string::npos)
        << built.out;
    const MarketSummary summary =
        parseMarketSummary(readCsvFile(data.path() / "season" / MarketSummaryFileName, "s"), "s");
    EXPECT_EQ(summary.games, 2);
    EXPECT_EQ(summary.gamesWithOdds, 1); // the second line is a day late
    // The market over its one game: TOR won away at de-vigged (1 / 2.2) / (1 / 2.2 + 1 / 1.75).
    EXPECT_NEAR(*summary.marketLogLoss, -std::log(1.75 / (2.2 + 1.75)), 1e-9);

    data.write("bad.csv", "date,visitor,home,visitor_odds,home_odds\n2001-01-02,TOR,NSH,0,1.75\n");
    const CliResult refused = build("bad.csv", "other");
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("line 2, visitor_odds: '0'"), std::string::npos) << refused.err;
    EXPECT_FALSE(std::filesystem::exists(data.path() / "other"));
}

} // namespace
} // namespace zelkor::test
