#include "season/SeasonFit.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(SeasonFit, OptionsPlayEveryGoalieAtTheDefault) {
    const std::vector<ResultRow> games = {
        {2, "2014-10-08", "BOS", "TOR", 2, 3, "REG", 2.75f, 2.75f, std::nullopt},
        {3, "2014-10-09", "TOR", "BOS", 4, 3, "SO", 2.75f, 2.75f, std::nullopt}};
    TeamTotals boston;
    boston.code = "BOS";
    boston.games = 82;
    boston.goalsAgainst = 177; // 2.16 a game: the club's goaltending, kept in its defence
    boston.timesShortHanded = 263;
    boston.powerPlayGoals = 50;
    boston.powerPlayChances = 230;
    boston.shortHandedGoalsFor = 9;
    TeamTotals toronto = boston;
    toronto.code = "TOR";
    toronto.goalsAgainst = 256;
    const FitOptions options =
        seasonFitOptions(SeasonBuildRequest{}, games, {{"BOS", boston}, {"TOR", toronto}});
    EXPECT_TRUE(options.gaa.empty());
    EXPECT_EQ(options.defaultGaa, games.front().homeGaa);
    EXPECT_TRUE(options.shootout);
    ASSERT_EQ(options.specialTeams.count("TOR"), 1U);
    EXPECT_EQ(options.specialTeams.at("TOR").powerPlayGoals, 50);
}

} // namespace
} // namespace zelkor
