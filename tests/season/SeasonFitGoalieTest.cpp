#include "season/SeasonFit.h"

#include "support/SeasonRows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace zelkor {
namespace {

namespace fs = std::filesystem;
using testing::gameRow;

// The season build fits every game's goalies at the league-typical average, whatever the
// team table says the clubs let in: the defences then hold each club's goaltending.
TEST(SeasonFitGoalie, OptionsPlayEveryGoalieAtTheDefault) {
    const std::vector<ResultRow> games = {
        gameRow("2014-10-08", "BOS", "TOR", 2, 3),
        gameRow("2014-10-09", "TOR", "BOS", 4, 3, GameEnd::Shootout)};
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
    toronto.powerPlayGoals = 41;
    const FitOptions options =
        seasonFitOptions(SeasonBuildRequest{}, games, {{"BOS", boston}, {"TOR", toronto}});
    EXPECT_TRUE(options.gaa.empty());
    EXPECT_FLOAT_EQ(options.defaultGaa, static_cast<Single>(DefaultGaa));
    EXPECT_TRUE(options.shootout);
    ASSERT_EQ(options.specialTeams.count("TOR"), 1U);
    EXPECT_EQ(options.specialTeams.at("TOR").powerPlayGoals, 41);
    EXPECT_EQ(options.specialTeams.at("BOS").powerPlayGoals, 50);
}

// A results file without averages gives each goalie the default the fit plays a club's
// usual goalie at, so that such a goalie counts as neither better nor worse than usual.
TEST(SeasonFitGoalie, GamesWithoutAveragesHaveTheFitsDefault) {
    const fs::path folder =
        fs::temp_directory_path() / ("zelkor-goalie-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
    {
        std::ofstream file(folder / "results.csv");
        file << "date,visitor,home,visitor_goals,home_goals,result\n"
                "2014-10-08,BOS,TOR,2,3,REG\n"
                "2014-10-09,TOR,BOS,5,1,REG\n";
    }
    SeasonBuildRequest request;
    request.results = folder / "results.csv";
    request.folder = folder / "season";
    const std::vector<ResultRow> games = readSeasonGames(request);
    const FitOptions options = seasonFitOptions(request, games, {});
    fs::remove_all(folder);
    ASSERT_EQ(games.size(), 2u);
    for (const ResultRow& row : games) {
        EXPECT_FLOAT_EQ(row.visitorGaa, options.defaultGaa);
        EXPECT_FLOAT_EQ(row.homeGaa, options.defaultGaa);
        EXPECT_FLOAT_EQ(goalieGaa(options, row.home, row.homeGaa), options.defaultGaa);
    }
}

} // namespace
} // namespace zelkor
