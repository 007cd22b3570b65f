#include "season/SeasonRatingsFit.h"

#include "core/Errors.h"
#include "teamdata/RatingsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

const fs::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

class Folder {
public:
    Folder()
        : path_(fs::temp_directory_path() /
                ("zelkor-fitwrite-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

RatingTable smallTable(Single bostonOffence) {
    return RatingTable({{"BOS", {bostonOffence, 0.21f, 0.9f, 1.1f, 0.8f}}},
                       {{"BOS", {1.25f, 0.19f, 1.05f, 1.0f, 1.1f}}});
}

TEST(SeasonRatingsFit, TheFitsDefaultsAreTheLibrarysOnes) {
    // Every command and the window fit with these unless told otherwise.
    EXPECT_FLOAT_EQ(FitOptions{}.defaultGaa, 2.8f);
    EXPECT_EQ(FitOptions{}.priorGames, 50);
    EXPECT_EQ(FitOptions{}.priorCarry, 0.7);
    EXPECT_EQ(FitOptions{}.venueGames, 5);
    EXPECT_EQ(FitOptions{}.recencyHalfLife, 0);
    EXPECT_EQ(CalibrationRun{}.rounds, CalibrationRounds);
    EXPECT_EQ(CalibrationRun{}.seriesPerGame, CalibrationSeries);
    EXPECT_EQ(CalibrationRounds, 5);
    EXPECT_EQ(CalibrationSeries, 20);
}

TEST(SeasonRatingsFit, WrittenRatingsReadBackAndTheOldFileIsKept) {
    const Folder folder;
    const fs::path file = folder.path() / "fit.csv";
    const RosterWrite first = writeRatingsFile(smallTable(0.7f), file);
    EXPECT_EQ(first.file, file);
    EXPECT_FALSE(first.backup);
    const std::string firstText = contentOf(file);
    EXPECT_EQ(readRatingsFile(file).roadRating("BOS")->offence, 0.7f);

    const RosterWrite second = writeRatingsFile(smallTable(0.9f), file);
    ASSERT_TRUE(second.backup);
    EXPECT_EQ(contentOf(*second.backup), firstText);
    EXPECT_EQ(readRatingsFile(file).roadRating("BOS")->offence, 0.9f);
    EXPECT_EQ(readRatingsFile(file).homeRating("BOS")->offence, 1.25f);
    // No temporary file stays beside them.
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"fit.csv", "fit.csv.bak"}));
}

TEST(SeasonRatingsFit, ATargetThatIsNoPlainFileIsLeftAlone) {
    const Folder folder;
    const fs::path target = folder.path() / "ratings.csv";
    fs::create_directory(target);
    EXPECT_THROW(writeRatingsFile(smallTable(0.7f), target), RosterWriteError);
    EXPECT_TRUE(fs::is_directory(target));
    EXPECT_EQ(namesIn(folder.path()), (std::vector<std::string>{"ratings.csv"}));
}

TEST(SeasonRatingsFit, ATableThatWouldNotReadBackIsNotWritten) {
    const Folder folder;
    const fs::path file = folder.path() / "ratings.csv";
    {
        std::ofstream old(file);
        old << "kept";
    }
    // A penalty chance above 1 is refused by the reader, so the writer refuses it first.
    const RatingTable bad({{"BOS", {1, 1.5f, 1, 1, 1}}}, {{"BOS", {1, 0.2f, 1, 1, 1}}});
    EXPECT_THROW(writeRatingsFile(bad, file), ZelkorError);
    EXPECT_EQ(contentOf(file), "kept");
}

// Without a prior or team totals, the special teams are the built-in average club's, each
// venue its own row.
TEST(SeasonRatingsFit, SpecialTeamsStartFromTheEnginesAverageRows) {
    std::vector<ResultRow> games;
    for (int day = 0; day < 4; ++day) {
        ResultRow row;
        row.date = "2001-01-0" + std::to_string(day + 1);
        row.visitor = day % 2 == 0 ? "BOS" : "TOR";
        row.home = day % 2 == 0 ? "TOR" : "BOS";
        row.visitorGoals = 2 + day % 3;
        row.homeGoals = 3 - day % 2;
        row.end = GameEnd::Regulation;
        row.visitorGaa = row.homeGaa = 2.8f;
        games.push_back(row);
    }
    const std::optional<RatingsFit> fit =
        fitSeasonRatings(games, SampleRosters, FitOptions{}, CalibrationRun{0, 1});
    ASSERT_TRUE(fit);
    const RatingTable& builtin = *RatingTable::builtin();
    for (const char* code : {"BOS", "TOR"}) {
        SCOPED_TRACE(code);
        const TeamRating& road = *fit->table.roadRating(code);
        const TeamRating& home = *fit->table.homeRating(code);
        EXPECT_EQ(road.powerPlay, builtin.roadRating("AVG")->powerPlay);
        EXPECT_EQ(road.shortHanded, builtin.roadRating("AVG")->shortHanded);
        EXPECT_EQ(home.powerPlay, builtin.homeRating("AVG")->powerPlay);
        EXPECT_EQ(home.shortHanded, builtin.homeRating("AVG")->shortHanded);
        EXPECT_EQ(road.penalty, builtin.roadRating("AVG")->penalty);
    }
    // The playback's check covers both clubs.
    ASSERT_EQ(fit->check.size(), 2U);
}

} // namespace
} // namespace zelkor
