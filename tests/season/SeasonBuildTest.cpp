#include "season/SeasonBuild.h"

#include "teamdata/RatingsFile.h"
#include "teamdata/SeasonRatings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// A folder of its own for a build's inputs and its season folder.
class BuildFolder {
public:
    BuildFolder()
        : path_(fs::temp_directory_path() /
                ("zelkor-build-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
        std::string skaters = "skaterFullName,teamAbbrevs,positionCode,gamesPlayed,goals,assists\n";
        for (const char* team : {"TOR", "NSH"}) {
            for (int k = 0; k < 18; ++k) {
                skaters += std::string(team) + " Skater " + std::to_string(k) + "," + team + "," +
                           (k < 12 ? 'C' : 'D') + ",82," + std::to_string(30 - k) + ",20\n";
            }
        }
        write("skaters.csv", skaters);
    }
    ~BuildFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    BuildFolder(const BuildFolder&) = delete;
    BuildFolder& operator=(const BuildFolder&) = delete;

    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream file(path_ / "season" / name, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    SeasonBuildRequest request() const {
        SeasonBuildRequest request;
        request.skaters = path_ / "skaters.csv";
        request.results = path_ / "results.csv";
        request.folder = path_ / "season";
        request.series = 1;
        return request;
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

const std::string Games = "date,visitor,home,visitor_goals,home_goals,result\n"
                          "2001-01-02,TOR,NSH,3,2,REG\n"
                          "2001-01-05,NSH,TOR,1,4,REG\n"
                          "2001-01-09,TOR,NSH,2,2,T\n";

TEST(SeasonBuildLibrary, WritesRostersAndRatingsAndShootoutsOnlyForASeasonWithThem) {
    BuildFolder folder;
    folder.write("results.csv", Games);
    std::vector<SeasonBuildStep> steps;
    const auto report = buildSeason(folder.request(), {},
                                    [&](const SeasonBuildStep& step) { steps.push_back(step); });
    ASSERT_TRUE(report);
    const fs::path season = folder.path() / "season";
    for (const char* file : {"TOR", "NSH", "ratings.csv"}) {
        EXPECT_TRUE(fs::is_regular_file(season / file)) << file;
    }
    EXPECT_FALSE(fs::exists(season / ShootoutsFileName));
    const RatingTable table = readRatingsFile(season / RatingsFileName);
    for (const char* code : {"TOR", "NSH"}) {
        EXPECT_TRUE(table.canVisit(code) && table.canHost(code)) << code;
    }
    ASSERT_EQ(report->check.size(), 2u);
    EXPECT_EQ(report->rosters.size(), 2u);
    ASSERT_FALSE(steps.empty());
    EXPECT_DOUBLE_EQ(steps.front().done, 0);
    EXPECT_DOUBLE_EQ(steps.back().done, 1);
    for (std::size_t k = 1; k < steps.size(); ++k) {
        EXPECT_GE(steps[k].done, steps[k - 1].done) << steps[k].stage;
    }

    // One shootout turns them on; without team totals every club stands even.
    BuildFolder shootouts;
    shootouts.write("results.csv", Games + "2001-01-12,NSH,TOR,3,2,SO\n");
    ASSERT_TRUE(buildSeason(shootouts.request(), {}));
    EXPECT_EQ(shootouts.read(ShootoutsFileName), "code,wins,losses\n");
}

// A stop asked for before the writing writes nothing; a date that is no day, or no game
// before it, is refused before anything is read or written.
TEST(SeasonBuildLibrary, StoppedOrRefusedBuildsWriteNothing) {
    BuildFolder folder;
    folder.write("results.csv", Games);
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(buildSeason(folder.request(), stop.get_token()));
    EXPECT_FALSE(fs::exists(folder.path() / "season"));

    SeasonBuildRequest request = folder.request();
    for (const char* day : {"2001-02-30", "tomorrow", "2001-1-9"}) {
        request.before = day;
        try {
            buildSeason(request, {});
            ADD_FAILURE() << day << " was taken";
        } catch (const SeasonBuildError& error) {
            EXPECT_NE(std::string(error.what()).find(day), std::string::npos) << error.what();
        }
    }
    request.before = "2001-01-02";
    try {
        buildSeason(request, {});
        ADD_FAILURE() << "a build without games was made";
    } catch (const SeasonBuildError& error) {
        EXPECT_NE(std::string(error.what()).find("no game before 2001-01-02"), std::string::npos)
            << error.what();
    }
    EXPECT_FALSE(fs::exists(folder.path() / "season"));
    // The day itself is left out: the build of the games before the 5th has one game.
    request.before = "2001-01-05";
    const auto report = buildSeason(request, {});
    ASSERT_TRUE(report);
    for (const TeamFitCheck& check : report->check) {
        EXPECT_EQ(check.road.games + check.home.games, 1) << check.code;
    }
}

} // namespace
} // namespace zelkor
