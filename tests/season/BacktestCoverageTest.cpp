#include "season/BacktestCoverage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

const fs::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

ResultRow game(int line, const char* visitor, const char* home) {
    ResultRow row;
    row.line = line;
    row.visitor = visitor;
    row.home = home;
    return row;
}

TeamRating rating() {
    return {1, 0.2f, 1, 1, 1};
}

// BOS is rated at both venues, TOR on the road only, MON at home only.
RatingTable partialTable() {
    return RatingTable({{"BOS", rating()}, {"TOR", rating()}},
                       {{"BOS", rating()}, {"MON", rating()}});
}

TEST(BacktestCoverage, EachClubIsCheckedAtTheVenueItPlays) {
    const std::vector<ResultRow> results = {game(2, "TOR", "BOS"), game(3, "BOS", "TOR"),
                                            game(4, "MON", "BOS"), game(5, "BOS", "TOR"),
                                            game(6, "TOR", "MON"), game(7, "BOS", "TOR")};
    const std::vector<UnratedClub> clubs = unratedClubs(results, partialTable());
    // TOR visits and MON hosts as rated; TOR at home and MON on the road are not.
    ASSERT_EQ(clubs.size(), 2U);
    EXPECT_EQ(clubs[0].code, "MON");
    EXPECT_FALSE(clubs[0].home);
    EXPECT_EQ(clubs[0].firstLine, 4);
    EXPECT_EQ(clubs[0].otherGames, 0);
    EXPECT_EQ(clubs[1].code, "TOR");
    EXPECT_TRUE(clubs[1].home);
    EXPECT_EQ(clubs[1].firstLine, 3);
    EXPECT_EQ(clubs[1].otherGames, 2);
}

TEST(BacktestCoverage, AnUnratedClubIsRefusedWithItsVenueAndLinesAndNoOption) {
    try {
        checkRatingCoverage({game(3, "BOS", "TOR"), game(9, "BOS", "TOR")}, partialTable(),
                            "ratings.csv");
        FAIL() << "TOR at home was taken";
    } catch (const RatingCoverageError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message, "The ratings in use (ratings.csv) have no row for these teams of the "
                           "results:\n  TOR at home (line 3 and 1 more)");
    }
    EXPECT_NO_THROW(checkRatingCoverage({game(2, "TOR", "BOS")}, partialTable(), "ratings.csv"));
}

class RosterFolder {
public:
    RosterFolder()
        : path_(fs::temp_directory_path() /
                ("zelkor-coverage-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~RosterFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(BacktestCoverage, EveryClubWithoutAUsableRosterIsNamedAtOnce) {
    const RosterFolder folder;
    fs::copy_file(SampleRosters / "BOS", folder.path() / "BOS");
    const std::vector<ResultRow> results = {game(2, "BOS", "TOR"), game(3, "MON", "BOS")};
    try {
        checkRosterCoverage(results, folder.path());
        FAIL() << "the missing rosters were taken";
    } catch (const InputDataError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("MON"), std::string::npos) << message;
        EXPECT_NE(message.find("TOR"), std::string::npos) << message;
        EXPECT_EQ(message.find("BOS"), std::string::npos) << message;
    }
    EXPECT_NO_THROW(checkRosterCoverage({game(2, "BOS", "BOS")}, folder.path()));
}

} // namespace
} // namespace zelkor
