#include "cli/CliProcess.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zelkor::test {
namespace {

const char* const Clubs[] = {"BOS", "TOR", "MON", "OTT", "BUF"};

// A season folder of five sample clubs in one division, four of whom reach the playoffs,
// with the built-in ratings; a schedule with games played and games without a score.
void writeSeason(const TempFolder& folder, const std::string& divisions) {
    for (const char* club : Clubs) {
        folder.write(club, sampleRoster(club));
    }
    folder.write("divisions.csv", divisions);
    folder.write("playoffs.txt", "division-top-four\n");
    folder.write("schedule.csv", "date,visitor,home,visitor_goals,home_goals,result\n"
                                 "2001-01-02,BOS,TOR,3,1,REG\n"
                                 "2001-01-02,MON,OTT,2,3,OT\n"
                                 "2001-01-03,BUF,BOS,2,1,SO\n"
                                 "2001-01-05,TOR,BOS,,,\n" // postponed to the 10th
                                 "2001-01-08,BUF,TOR,4,0,REG\n"
                                 "2001-01-10,TOR,BOS,,,\n"
                                 "2001-01-10,OTT,MON,,,\n"
                                 "2001-01-11,BOS,BUF,,,\n"
                                 "2001-01-13,MON,BOS,,,\n");
}

const std::string Division = "code,conference,division\n"
                             "BOS,East,Northeast\nTOR,East,Northeast\nMON,East,Northeast\n"
                             "OTT,East,Northeast\nBUF,East,Northeast\n";

std::vector<std::string> outlook(const TempFolder& folder, std::vector<std::string> more) {
    std::vector<std::string> arguments{"season", "outlook", folder.path().string(), "--schedule",
                                       (folder.path() / "schedule.csv").string()};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

// The JSON holds every club and player with the keys a script reads; the same seed gives
// the same object on one thread and on two; --as-of turns a played game back into one to
// play.
TEST(Outlook, JsonIsTheSeedsOnAnyThreadsAndAsOfReplaysGames) {
    TempFolder folder;
    writeSeason(folder, Division);
    const CliResult one =
        runCli(outlook(folder, {"--seasons", "40", "--seed", "5", "--json", "--threads", "1"}));
    ASSERT_EQ(one.exitStatus, 0) << one.err;
    const CliResult two =
        runCli(outlook(folder, {"--seasons", "40", "--seed", "5", "--json", "--threads", "2"}));
    EXPECT_EQ(one.out, two.out);
    const auto report = nlohmann::json::parse(one.out);
    EXPECT_EQ(report["seasons"], 40);
    EXPECT_EQ(report["seed"], 5);
    EXPECT_EQ(report["games_played"], 4);
    EXPECT_EQ(report["games_left"], 4);
    EXPECT_EQ(report["postponed_skipped"], 1);
    ASSERT_EQ(report["clubs"].size(), 5u);
    double playoffs = 0;
    for (const auto& club : report["clubs"]) {
        for (const char* key : {"code", "points", "playoffs", "division_title", "most_points",
                                "fewest_points", "conference_place"}) {
            EXPECT_TRUE(club.contains(key)) << key;
        }
        EXPECT_LE(club["projected_points"]["p5"].get<int>(),
                  club["projected_points"]["p95"].get<int>());
        EXPECT_EQ(club["conference_place"].size(), 5u);
        playoffs += club["playoffs"].get<double>();
        if (club["code"] == "BUF") { // a shootout win and a regulation win
            EXPECT_EQ(club["points"], 4);
            EXPECT_EQ(club["games"], 2);
        }
        if (club["code"] == "BOS") { // a win and a shootout loss
            EXPECT_EQ(club["points"], 3);
            EXPECT_EQ(club["overtime_losses"], 1);
        }
    }
    EXPECT_NEAR(playoffs, 4.0, 1e-9);
    ASSERT_EQ(report["players"].size(), 90u);
    for (const char* key : {"code", "name", "goals", "projected_goals", "goal_leader"}) {
        EXPECT_TRUE(report["players"][0].contains(key)) << key;
    }

    const CliResult replay = runCli(
        outlook(folder, {"--seasons", "10", "--seed", "5", "--json", "--as-of", "2001-01-03"}));
    ASSERT_EQ(replay.exitStatus, 0) << replay.err;
    const auto replayed = nlohmann::json::parse(replay.out);
    EXPECT_EQ(replayed["games_played"], 2);
    EXPECT_EQ(replayed["games_left"], 6);
    EXPECT_EQ(replayed["as_of"], "2001-01-03");
}

TEST(Outlook, TextNamesItsInputsAndEveryDivision) {
    TempFolder folder;
    writeSeason(folder, Division);
    const CliResult text = runCli(outlook(folder, {"--seasons", "20", "--seed", "9"}));
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    for (const char* part :
         {"Season outlook: 20 seasons, base seed 9", "ratings: built-in",
          "4 games played, 4 to play, 1 postponed listings skipped", "playoffs: division-top-four",
          "East / Northeast", "Final place in the East conference", "The goal race"}) {
        EXPECT_NE(text.out.find(part), std::string::npos) << part << "\n" << text.out;
    }
}

// Problems of the divisions file and of the schedule in one message, exit 1, nothing run;
// then a club of the schedule without a division and one of the divisions without games.
TEST(Outlook, BadInputIsNamedAllAtOnce) {
    TempFolder folder;
    writeSeason(folder, Division + "BOS,East,Northeast\n");
    folder.write("schedule.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                 "2001-01-02,BOS,TOR,3,1\n"
                                 "2001-01-02,TOR,MON,,\n");
    const CliResult both = runCli(outlook(folder, {"--seasons", "5"}));
    EXPECT_EQ(both.exitStatus, 1);
    EXPECT_NE(both.err.find("TOR plays 2 games on 2001-01-02 (lines 2 3)"), std::string::npos)
        << both.err;
    EXPECT_NE(both.err.find("line 7: BOS is listed twice"), std::string::npos) << both.err;
    EXPECT_EQ(both.out, "");

    folder.write("divisions.csv", Division);
    folder.write("schedule.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                 "2001-01-02,BOS,TOR,3,1\n"
                                 "2001-01-04,NYR,MON,,\n");
    const CliResult clubs = runCli(outlook(folder, {"--seasons", "5"}));
    EXPECT_EQ(clubs.exitStatus, 1);
    EXPECT_NE(clubs.err.find("without a division: NYR."), std::string::npos) << clubs.err;
    EXPECT_NE(clubs.err.find("without a game in the schedule: BUF, OTT."), std::string::npos)
        << clubs.err;

    // No divisions file, and a season the program has no alignment of.
    std::filesystem::remove(folder.path() / "divisions.csv");
    folder.write("schedule.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                 "2005-11-02,BOS,TOR,,\n");
    const CliResult unaligned = runCli(outlook(folder, {"--seasons", "5"}));
    EXPECT_EQ(unaligned.exitStatus, 1);
    EXPECT_NE(unaligned.err.find("no divisions.csv, and the program knows no alignment of the "
                                 "2005-06 season"),
              std::string::npos)
        << unaligned.err;

    // A day that is no date is refused with the options, as every command refuses it.
    const CliResult badDay = runCli(outlook(folder, {"--as-of", "2001-02-30"}));
    EXPECT_EQ(badDay.exitStatus, 2); // a usage error, as for every date option
    EXPECT_NE(badDay.err.find("'2001-02-30' is not a date of the form"), std::string::npos)
        << badDay.err;
    EXPECT_EQ(runCli(outlook(folder, {"--seasons", "0"})).exitStatus, 2);
}

// season build writes the league's alignment of the season it builds: 2000-01 here, by the
// dates of its games, with the league's codes of the files.
TEST(Outlook, SeasonBuildWritesTheSeasonsAlignment) {
    TempFolder data;
    std::string skaters = "skaterFullName,teamAbbrevs,positionCode,gamesPlayed,goals,assists\n";
    for (const char* team : {"TOR", "NSH"}) {
        for (int k = 0; k < 18; ++k) {
            skaters += std::string(team) + " Skater " + std::to_string(k) + "," + team + "," +
                       (k < 12 ? 'C' : 'D') + ",82," + std::to_string(30 - k) + ",20\n";
        }
    }
    data.write("skaters.csv", skaters);
    data.write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                              "2000-10-12,TOR,NSH,3,2\n2000-11-05,NSH,TOR,1,4\n");
    const std::filesystem::path season = data.path() / "season";
    const CliResult built =
        runCli({"season", "build", "--skaters", (data.path() / "skaters.csv").string(), "--results",
                (data.path() / "results.csv").string(), "--to", season.string(), "--series", "2"});
    ASSERT_EQ(built.exitStatus, 0) << built.err;
    EXPECT_NE(built.out.find("divisions.csv"), std::string::npos) << built.out;
    std::ifstream divisions(season / "divisions.csv");
    std::string all((std::istreambuf_iterator<char>(divisions)), std::istreambuf_iterator<char>());
    EXPECT_EQ(all.rfind("code,conference,division\n", 0), 0u) << all;
    EXPECT_NE(all.find("NSH,Western,Central\n"), std::string::npos) << all;
    EXPECT_NE(all.find("MTL,Eastern,Northeast\n"), std::string::npos) << all;
    std::ifstream playoffs(season / "playoffs.txt");
    std::string format;
    std::getline(playoffs, format);
    EXPECT_EQ(format, "conference-top-eight");
}

} // namespace
} // namespace zelkor::test
