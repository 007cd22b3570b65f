#include "season/WalkForward.h"

#include "odds/ManySeries.h"
#include "season/SeriesOdds.h"
#include "support/SeasonRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace zelkor {
namespace {

const std::filesystem::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

TEST(WalkForward, EloChangeOfKnownResults) {
    struct Row {
        double home, visitor;
        int homeGoals, visitorGoals;
        double change;
    };
    EloParameters elo;
    elo.k = 6; // the values below were worked out with K 6
    for (const Row& row : {Row{1500, 1500, 3, 1, 3.4227262}, Row{1500, 1500, 2, 2, -0.3011961},
                           Row{1600, 1500, 1, 4, -6.3272058}}) {
        EXPECT_NEAR(eloHomeChange(row.home, row.visitor, row.homeGoals, row.visitorGoals, elo),
                    row.change, 1e-6);
    }
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
                             (day + game) % 4, (day * 3 + game) % 5, 2.8f, 2.8f, std::nullopt});
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

// Four clubs over two days, listed out of date order; every side gets its own numbers.
// Day 1: BOS at TOR 1-3 (home by two), MON at DET 2-2. Day 2: TOR at BOS 4-3 in overtime,
// DET at MON 0-2.
std::vector<ResultRow> twoDays() {
    using testing::gameRow;
    return {
        gameRow("2001-01-02", "TOR", "BOS", 4, 3, GameEnd::Overtime, 2.9f, 3.1f, 2),
        gameRow("2001-01-01", "BOS", "TOR", 1, 3, GameEnd::Regulation, 3.3f, 2.2f, 3),
        gameRow("2001-01-01", "MON", "DET", 2, 2, GameEnd::Tie, 2.4f, 2.6f, 4),
        gameRow("2001-01-02", "DET", "MON", 0, 2, GameEnd::Regulation, 3.4f, 2.1f, 5),
    };
}

struct AskedGame {
    OddsRequest request;
    bool rated = false;
};

// Counts that favour the home side 6 to 2, and every request kept by its pairing.
RatedOddsEngine recordingEngine(std::map<std::string, AskedGame>& asked) {
    return [&asked](const OddsRequest& request, const std::shared_ptr<const RatingTable>& table) {
        asked[request.visitor + "@" + request.home] = {request, table != nullptr};
        return GameCounts{2, 6, 2, 10};
    };
}

WalkForwardReport runTwoDays(const WalkForwardOptions& options,
                             std::map<std::string, AskedGame>& asked) {
    const auto scoring = readTeamScoring(SampleRosters, {"BOS", "TOR", "MON", "DET"});
    return runWalkForward(twoDays(), scoring, SampleRosters, options, recordingEngine(asked));
}

// Elo by hand: day 1 moves BOS and TOR by c1 = 6 x 1.2682 x (1 - 0.5502) and MON and DET
// by c2 = 6 x (0.5 - 0.5502), each club the opposite way of its opponent.
TEST(WalkForward, EloForecastsOfTheSecondDayAsWorkedOut) {
    WalkForwardOptions options;
    options.series = 1;
    options.seed = 11;
    options.elo.k = 6; // the step worked out above
    std::map<std::string, AskedGame> asked;
    const WalkForwardReport report = runTwoDays(options, asked);
    EXPECT_EQ(report.gameDays, 2);
    ASSERT_EQ(report.eloHomeProbabilities.size(), 4u);
    const double firstDay = 1 / (1 + std::pow(10.0, -35.0 / 400));
    EXPECT_NEAR(report.eloHomeProbabilities[1], firstDay, 1e-12);
    EXPECT_NEAR(report.eloHomeProbabilities[2], firstDay, 1e-12);
    // TOR at BOS: BOS 1500 - 3.4227, TOR 1500 + 3.4227.
    EXPECT_NEAR(report.eloHomeProbabilities[0], 0.540429194017346, 1e-9);
    // DET at MON: the draw cost the home club DET 0.3012, which MON gained.
    EXPECT_NEAR(report.eloHomeProbabilities[3], 0.5510573767653185, 1e-9);
    // Elo picks the home side of every game here; it was right on day 1's and day 2's
    // regulation home wins and wrong on TOR's overtime win.
    EXPECT_EQ(report.elo.shootoutsForWinner.counted, 3);
    EXPECT_EQ(report.elo.shootoutsForWinner.correct, 2);
    EXPECT_FALSE(report.eloCarried);

    // Carried ratings start the Elo where they left it; a club without one starts level.
    options.eloStart = {{"BOS", 1560}};
    const WalkForwardReport carried = runTwoDays(options, asked);
    EXPECT_TRUE(carried.eloCarried);
    // BOS at TOR: 1 / (1 + 10^(-(1500 + 35 - 1560) / 400)).
    EXPECT_NEAR(carried.eloHomeProbabilities[1], 1 / (1 + std::pow(10.0, 25.0 / 400)), 1e-12);
    EXPECT_NEAR(carried.eloHomeProbabilities[2], firstDay, 1e-12);
}

// Game i plays with seriesSeed(seed, i) whatever its day; each side keeps its own GAA.
TEST(WalkForward, AsksTheEngineAboutEachGameWithItsSeedAndItsSidesGoalies) {
    WalkForwardOptions options;
    options.series = 4;
    options.seed = 29;
    std::map<std::string, AskedGame> asked;
    const WalkForwardReport report = runTwoDays(options, asked);
    const std::vector<ResultRow> games = twoDays();
    ASSERT_EQ(asked.size(), 4u);
    for (std::size_t index = 0; index < games.size(); ++index) {
        const ResultRow& game = games[index];
        const AskedGame& question = asked.at(game.visitor + "@" + game.home);
        EXPECT_EQ(question.request.seed, seriesSeed(29, index)) << index;
        EXPECT_EQ(question.request.series, 4);
        EXPECT_EQ(question.request.visitorGaa, game.visitorGaa) << index;
        EXPECT_EQ(question.request.homeGaa, game.homeGaa) << index;
        EXPECT_TRUE(question.rated);
        EXPECT_EQ(report.backtest.games[index].seed, seriesSeed(29, index));
        EXPECT_EQ(report.backtest.games[index].result.line, game.line);
    }
    // The model's 0.7 for the home side of every game, scored against the results.
    EXPECT_NEAR(*report.backtest.model.brier, (0.49 + 0.09 + 0.09) / 3, 1e-12);
}

// Each club's goals against so far, with two games at the default 2.5 added: after day 1
// BOS let in 3 (8/3), TOR 1 (2), MON and DET 2 (7/3). Day 1 has every club at 2.5.
// Each starter plays at the default times his average over his club's usual goalie so far
// (its starters with two at the default 2.5). Day 1 has no games before it: every club's
// usual goalie is 2.5, so each starter plays at his own average. Before day 2: BOS
// (3.3 + 5) / 3 = 8.3 / 3, TOR (2.2 + 5) / 3 = 2.4, MON (2.4 + 5) / 3 = 7.4 / 3, DET
// (2.6 + 5) / 3 = 7.6 / 3; the goals let in count for nothing.
TEST(WalkForward, GaaFromResultsPlaysEachStarterRelativeToHisClubsUsualGoalie) {
    WalkForwardOptions options;
    options.series = 1;
    options.seed = 3;
    options.gaaFromResults = true;
    options.fit.defaultGaa = 2.5f;
    std::map<std::string, AskedGame> asked;
    const WalkForwardReport report = runTwoDays(options, asked);
    const auto gaa = [&](const char* pairing) {
        const OddsRequest& request = asked.at(pairing).request;
        return std::pair{request.visitorGaa, request.homeGaa};
    };
    EXPECT_FLOAT_EQ(gaa("BOS@TOR").first, 3.3f);
    EXPECT_FLOAT_EQ(gaa("BOS@TOR").second, 2.2f);
    EXPECT_FLOAT_EQ(gaa("MON@DET").first, 2.4f);
    EXPECT_FLOAT_EQ(gaa("MON@DET").second, 2.6f);
    EXPECT_FLOAT_EQ(gaa("TOR@BOS").first, 2.5f * 2.9f / 2.4f);      // 3.0208
    EXPECT_FLOAT_EQ(gaa("TOR@BOS").second, 2.5f * 3.1f * 3 / 8.3f); // 2.8012
    EXPECT_FLOAT_EQ(gaa("DET@MON").first, 2.5f * 3.4f * 3 / 7.6f);  // 3.3553
    EXPECT_FLOAT_EQ(gaa("DET@MON").second, 2.5f * 2.1f * 3 / 7.4f); // 2.1284
    // The report shows the averages used.
    EXPECT_FLOAT_EQ(report.backtest.games[0].result.visitorGaa, 2.5f * 2.9f / 2.4f);
    EXPECT_FLOAT_EQ(report.backtest.games[0].result.homeGaa, 2.5f * 3.1f * 3 / 8.3f);
}

// Always-home before each day: the home wins so far with ten games at one half added,
// level games left out. Day 1 at 0.5, day 2 at (1 + 5) / (1 + 10).
TEST(WalkForward, HomeShareOfEachDayLeavesLevelGamesOut) {
    WalkForwardOptions options;
    options.series = 1;
    std::map<std::string, AskedGame> asked;
    const WalkForwardReport report = runTwoDays(options, asked);
    const double second = 6.0 / 11;
    // Decided: TOR at BOS (visitors, day 2), BOS at TOR (home, day 1), DET at MON (home, day 2).
    const double brier = (second * second + 0.25 + (1 - second) * (1 - second)) / 3;
    EXPECT_NEAR(*report.backtest.homeAlways.brier, brier, 1e-12);
    EXPECT_NEAR(report.backtest.homeShare, 2.0 / 3, 1e-12);
    EXPECT_NEAR(*report.coin.logLoss, std::log(2.0), 1e-12);
    EXPECT_EQ(report.coin.levelAndShootoutPushes.counted, 0);
}

// A club the prior lacks is new; the last fit rates every club of the scoring.
TEST(WalkForward, NamesTheClubsThePriorLacks) {
    WalkForwardOptions options;
    options.series = 1;
    const TeamRating road{0.7f, 0.2f, 0.9f, 1.0f, 0.9f};
    const TeamRating home{1.0f, 0.2f, 1.0f, 1.0f, 1.0f};
    options.fit.prior = std::make_shared<const RatingTable>(
        RatingTable({{"BOS", road}, {"TOR", road}, {"MON", road}},
                    {{"BOS", home}, {"TOR", home}, {"MON", home}}));
    std::map<std::string, AskedGame> asked;
    const WalkForwardReport report = runTwoDays(options, asked);
    EXPECT_EQ(report.newClubs, std::vector<std::string>{"DET"});
    for (const char* code : {"BOS", "TOR", "MON", "DET"}) {
        EXPECT_NE(report.lastFit.table.roadRating(code), nullptr) << code;
        EXPECT_NE(report.lastFit.table.homeRating(code), nullptr) << code;
    }
}

} // namespace
} // namespace zelkor
