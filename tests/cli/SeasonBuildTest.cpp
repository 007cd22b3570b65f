#include "cli/CliProcess.h"
#include "teamdata/RatingsFile.h"

#include <gtest/gtest.h>

#include <filesystem>
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

} // namespace
} // namespace zelkor::test
