#include "cli/CliProcess.h"
#include "teamdata/RatingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zelkor::test {
namespace {

namespace fs = std::filesystem;

// The league's export of two teams of 18 skaters and one team it has no code for.
std::string skaters() {
    std::string text = "skaterFullName,teamAbbrevs,positionCode,gamesPlayed,goals,assists\n";
    for (const char* team : {"TOR", "NSH", "QQQ"}) {
        for (int k = 0; k < 18; ++k) {
            text += std::string(team) + " Skater " + std::to_string(k) + "," + team + "," +
                    (k < 12 ? 'C' : 'D') + ",82," + std::to_string(30 - k) + ",20\n";
        }
    }
    return text;
}

std::string results(const std::string& extraGames) {
    return "date,visitor,home,visitor_goals,home_goals\n"
           "2001-01-02,TOR,NSH,3,2\n"
           "2001-01-05,NSH,TOR,1,4\n"
           "2001-01-09,TOR,NSH,2,2\n"
           "2001-01-12,NSH,TOR,3,3\n" +
           extraGames;
}

std::vector<std::string> build(const TempFolder& data, const fs::path& season,
                               std::vector<std::string> more = {}) {
    std::vector<std::string> arguments{"season",    "build",
                                       "--skaters", (data.path() / "skaters.csv").string(),
                                       "--results", (data.path() / "results.csv").string(),
                                       "--to",      season.string()};
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

TEST(SeasonBuild, WritesRostersAndRatingsOnlyWhenEverythingCanBeWritten) {
    TempFolder data;
    data.write("skaters.csv", skaters());
    const fs::path season = data.path() / "season";

    // Teams of the results without rosters are named together; nothing is written.
    data.write("results.csv", results("2001-01-15,BOS,TOR,1,2\n2001-01-16,TOR,CHI,1,2\n"));
    CliResult refused = runCli(build(data, season));
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("BOS, CHI"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("Nothing was written"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(season));

    // Games from the date on are left out, those teams with them.
    const CliResult built = runCli(build(data, season, {"--before", "2001-01-15"}));
    ASSERT_EQ(built.exitStatus, 0) << built.err;
    EXPECT_NE(built.out.find("Wrote " + (season / "NSH").string()), std::string::npos);
    EXPECT_NE(built.out.find("Skipped the skaters of teams without a league code: QQQ"),
              std::string::npos)
        << built.out;
    const RatingTable table = readRatingsFile(season / RatingsFileName);
    EXPECT_TRUE(table.canVisit("TOR") && table.canHost("NSH"));
    EXPECT_FALSE(table.canVisit("BOS"));

    // A second build replaces nothing without --force, then keeps the old files.
    refused = runCli(build(data, season, {"--before", "2001-01-15"}));
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("exists already"), std::string::npos) << refused.err;
    // The library says the file exists; the command line names its own option.
    EXPECT_NE(refused.err.find("Add --force to replace"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(season / "TOR.bak"));
    const CliResult forced = runCli(build(data, season, {"--before", "2001-01-15", "--force"}));
    ASSERT_EQ(forced.exitStatus, 0) << forced.err;
    EXPECT_TRUE(fs::exists(season / "TOR.bak") && fs::exists(season / "ratings.csv.bak"));

    // While an import holds the folder, a build writes nothing there.
    const auto backupTime = fs::last_write_time(season / "TOR.bak");
    const int lock = ::open((season / ".zelkor-import.lock").c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    refused = runCli(build(data, season, {"--before", "2001-01-15", "--force"}));
    ::close(lock);
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("Another import or season build"), std::string::npos) << refused.err;
    EXPECT_EQ(fs::last_write_time(season / "TOR.bak"), backupTime);
}

// The databank's team table of two years: --season picks one; its shootout records, not the
// games', go into the folder of a season whose games had shootouts.
TEST(SeasonBuild, TakesSpecialTeamsAndShootoutRecordsFromTheChosenYearsTotals) {
    TempFolder data;
    data.write("skaters.csv", skaters());
    data.write("results.csv", "date,visitor,home,visitor_goals,home_goals,result\n"
                              "2001-01-02,TOR,NSH,3,2,REG\n2001-01-05,NSH,TOR,2,3,SO\n");
    data.write("teams.csv", "year,tmID,G,GA,PPG,PPC,PKC,SHF,SoW,SoL,name\n"
                            "1999,TOR,82,200,50,300,310,5,0,0,Toronto Maple Leafs\n"
                            "1999,NAS,82,250,40,290,300,4,0,0,Nashville Predators\n"
                            "2000,TOR,82,210,60,320,280,6,7,2,Toronto Maple Leafs\n"
                            "2000,NAS,82,240,45,300,330,3,2,7,Nashville Predators\n");
    const fs::path season = data.path() / "season";
    const std::vector<std::string> teams{"--team-stats", (data.path() / "teams.csv").string()};

    const CliResult refused = runCli(build(data, season, teams));
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("holds 2 years"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(season));

    std::vector<std::string> chosen = teams;
    chosen.insert(chosen.end(), {"--season", "2000-01"});
    const CliResult built = runCli(build(data, season, chosen));
    ASSERT_EQ(built.exitStatus, 0) << built.err;
    std::ifstream shootouts(season / "shootouts.csv");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(shootouts), {}),
              "code,wins,losses\nNSH,2,7\nTOR,7,2\n");
    const RatingTable table = readRatingsFile(season / RatingsFileName);
    // The chosen year's shootouts above; its special teams give way to the league's.
    EXPECT_EQ(table.roadRating("NSH")->penalty, table.roadRating("TOR")->penalty);
}

} // namespace
} // namespace zelkor::test
