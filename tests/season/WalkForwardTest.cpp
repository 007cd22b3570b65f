#include "season/WalkForward.h"

#include "season/SeriesOdds.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

const std::filesystem::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

TEST(WalkForward, EloChangeOfKnownResults) {
    struct Row {
        double home, visitor;
        int homeGoals, visitorGoals;
        double change;
    };
    const EloParameters elo;
    for (const Row& row : {Row{1500, 1500, 3, 1, 3.4227262}, Row{1500, 1500, 2, 2, -0.3011961},
                           Row{1600, 1500, 1, 4, -6.3272058}}) {
        EXPECT_NEAR(eloHomeChange(row.home, row.visitor, row.homeGoals, row.visitorGoals, elo),
                    row.change, 1e-6);
    }
}

TEST(WalkForward, UsualGoalieIsTheMeanOfTheClubsStartersSoFar) {
    std::vector<ResultRow> games = {
        {2, "2001-01-01", "BOS", "TOR", 2, 3, "", 2.0f, 3.2f, std::nullopt},
        {3, "2001-01-02", "TOR", "BOS", 1, 4, "", 2.4f, 3.0f, std::nullopt}};
    const std::map<std::string, TeamScoring> scoring = {{"BOS", {}}, {"TOR", {}}, {"MON", {}}};
    const auto gaa = usualGaaSoFar(games, scoring, 2.8);
    // Boston's starters 2.0 and 3.0 with two games at 2.8: 10.6 / 4.
    EXPECT_NEAR(gaa.at("BOS"), 2.65, 1e-6);
    // Toronto's 3.2 and 2.4: 11.2 / 4.
    EXPECT_NEAR(gaa.at("TOR"), 2.8, 1e-6);
    EXPECT_NEAR(gaa.at("MON"), 2.8, 1e-6);
    // Results without averages give every club the default: its starters play at it.
    for (ResultRow& row : games) {
        row.visitorGaa = row.homeGaa = 2.8f;
    }
    EXPECT_NEAR(usualGaaSoFar(games, scoring, 2.8).at("BOS"), 2.8, 1e-6);
}

// Three clubs, two games a day for six days.
std::vector<ResultRow> tinySeason() {
    const char* pairs[][2] = {{"BOS", "TOR"}, {"TOR", "MON"}, {"MON", "BOS"},
                              {"TOR", "BOS"}, {"MON", "TOR"}, {"BOS", "MON"}};
    std::vector<ResultRow> games;
    for (int day = 0; day < 6; ++day) {
        for (int game = 0; game < 2; ++game) {
            const auto& pair = pairs[(day * 2 + game) % 6];
            const int line = static_cast<int>(games.size()) + 2;
            games.push_back({line, "2001-01-0" + std::to_string(day + 1), pair[0], pair[1],
                             (day + game) % 4, (day * 3 + game) % 5, "", 2.8f, 2.8f, std::nullopt});
        }
    }
    return games;
}

TEST(WalkForward, AForecastIgnoresTheGamesAfterItsDay) {
    WalkForwardOptions options;
    options.series = 3;
    options.seed = 7;
    options.gaaFromResults = true;
    const auto scoring = readTeamScoring(SampleRosters, {"BOS", "TOR", "MON"});
    const auto run = [&](const std::vector<ResultRow>& games) {
        return runWalkForward(games, scoring, SampleRosters, options,
                              ratedSeriesOdds(SampleRosters));
    };
    std::vector<ResultRow> games = tinySeason();
    const WalkForwardReport first = run(games);
    ASSERT_EQ(first.backtest.games.size(), games.size());
    EXPECT_EQ(first.gameDays, 6);
    EXPECT_EQ(first.backtest.model.games, 12);
    games[10].homeGoals += 6; // the last day
    games[11].visitorGoals += 6;
    const WalkForwardReport second = run(games);
    for (std::size_t index = 0; index < 10; ++index) {
        EXPECT_EQ(first.backtest.games[index].counts.homeWins,
                  second.backtest.games[index].counts.homeWins)
            << index;
        EXPECT_EQ(first.eloHomeProbabilities[index], second.eloHomeProbabilities[index]);
    }
}

} // namespace
} // namespace zelkor
