#include "odds/ManySeries.h"

#include "engine/InputChecks.h"
#include "engine/Predictor.h"
#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"
#include "support/RecordingWindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>

namespace zelkor {
namespace {

const std::filesystem::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

ManySeriesRequest bostonAtToronto(std::uint64_t series, unsigned threads) {
    ManySeriesRequest request;
    request.visitor = "BOS";
    request.home = "TOR";
    request.visitorGaa = {"2.8", 2.8f};
    request.homeGaa = {"2.6", 2.6f};
    request.rosterFolder = SampleRosters;
    request.series = series;
    request.baseSeed = 20261207;
    request.threads = threads;
    return request;
}

OddsTally play(const ManySeriesRequest& request) {
    const auto tally = playManySeries(request, {});
    EXPECT_TRUE(tally.has_value());
    return tally.value_or(OddsTally{});
}

// Everything a tally counts, as one comparable text.
std::string countsOf(const OddsTally& t) {
    std::string text =
        std::to_string(t.series) + " " + std::to_string(t.games) + " " +
        std::to_string(t.visitorWinsRegulation) + " " + std::to_string(t.visitorWinsOvertime) +
        " " + std::to_string(t.homeWinsRegulation) + " " + std::to_string(t.homeWinsOvertime) +
        " " + std::to_string(t.ties) + " " + std::to_string(t.overtimeGames) + " " +
        std::to_string(t.goalsVisitor) + " " + std::to_string(t.goalsHome) + "|";
    for (const auto& [score, count] : t.scores()) {
        text += std::to_string(score.first) + "-" + std::to_string(score.second) + ":" +
                std::to_string(count) + " ";
    }
    for (const auto& [caption, count] : t.moneyLineCaptions()) {
        text += caption + ":" + std::to_string(count) + " ";
    }
    for (const auto* players : {&t.visitorPlayers, &t.homePlayers}) {
        for (const PlayerTally& player : *players) {
            text += player.name + ":" + std::to_string(player.goals) + "/" +
                    std::to_string(player.gamesWithGoal) + " ";
        }
    }
    return text;
}

// Each series of a run is the face-off with its seed: played one by one through the
// predictor, their logs and money lines add up to the run's counts; also in a season
// with shootouts, where no game ends level. The log cannot tell an overtime win, so the
// split of wins comes from the same series played quietly.
TEST(ManySeries, EverySeriesIsTheFaceOffWithItsSeed) {
    for (const bool shootout : {false, true}) {
        ManySeriesRequest request = bostonAtToronto(40, 3);
        request.shootout = shootout;
        const OddsTally tally = play(request);

        std::map<std::string, std::uint64_t> captions;
        std::map<std::pair<int, int>, std::uint64_t> scores;
        std::uint64_t goalsVisitor = 0;
        std::uint64_t scorerGoals = 0;
        std::uint64_t visitorWinsOvertime = 0;
        std::uint64_t visitorWins = 0;
        std::map<std::string, std::uint64_t> homeGamesWithGoal;
        const std::regex finalScore(R"(BOS - (\d+)  TOR - (\d+))");
        const std::regex homeGoal(R"(TOR score! by (.*) at minute \d+)");
        for (std::uint64_t index = 0; index < request.series; ++index) {
            Predictor predictor(SampleRosters,
                                std::make_unique<FixedSeed>(seriesSeed(request.baseSeed, index)));
            predictor.useShootouts({shootout, {}});
            predictor.state().VISITOR = "BOS";
            predictor.state().HOME = "TOR";
            predictor.state().GAAV = request.visitorGaa.value;
            predictor.state().GAAH = request.homeGaa.value;
            testing::RecordingWindow window;
            window.visitorGaa = request.visitorGaa.text;
            window.homeGaa = request.homeGaa.text;
            ASSERT_EQ(predictor.faceOff(window).outcome, FaceOffOutcome::Completed);
            ++captions[window.moneyLine];
            goalsVisitor += static_cast<std::uint64_t>(predictor.state().Goalsx);
            std::set<std::string> homeScorersOfGame;
            for (const std::string& line : window.logLines()) {
                std::smatch match;
                if (std::regex_match(line, match, finalScore)) {
                    ++scores[{std::stoi(match[1]), std::stoi(match[2])}];
                    visitorWins += std::stoi(match[1]) > std::stoi(match[2]) ? 1 : 0;
                    for (const std::string& name : homeScorersOfGame) {
                        ++homeGamesWithGoal[name];
                    }
                    homeScorersOfGame.clear();
                } else if (std::regex_match(line, match, homeGoal)) {
                    homeScorersOfGame.insert(match[1]);
                } else if (line.starts_with("BOS score! by " + tally.visitorPlayers[0].name +
                                            " ")) {
                    ++scorerGoals;
                }
            }
            PredictionState quiet = predictor.state();
            quiet.match = 1;
            Xoshiro256StarStar draws;
            FixedSeed seed(seriesSeed(request.baseSeed, index));
            SeriesOutcome outcome;
            playQuietSeries(quiet, draws, seed, outcome);
            for (const GameResult& game : outcome.games) {
                visitorWinsOvertime += game.overtime && game.visitorGoals > game.homeGoals ? 1 : 0;
            }
        }
        EXPECT_EQ(tally.series, 40u);
        EXPECT_EQ(tally.games, 440u);
        EXPECT_EQ(tally.moneyLineCaptions(), captions);
        EXPECT_EQ(tally.scores(), scores);
        EXPECT_EQ(tally.goalsVisitor, goalsVisitor);
        EXPECT_EQ(tally.visitorPlayers[0].goals, scorerGoals);
        EXPECT_EQ(tally.visitorWinsOvertime, visitorWinsOvertime);
        EXPECT_EQ(tally.visitorWinsRegulation, visitorWins - visitorWinsOvertime);
        for (const PlayerTally& player : tally.homePlayers) {
            EXPECT_EQ(player.gamesWithGoal, homeGamesWithGoal[player.name]) << player.name;
        }
        EXPECT_EQ(tally.ties == 0, shootout);
    }
}

// 3000 series are many chunks of a thread and a part of one.
TEST(ManySeries, ThreadsDoNotChangeTheCounts) {
    const OddsTally tally = play(bostonAtToronto(3000, 1));
    EXPECT_EQ(tally.series, 3000U);
    EXPECT_EQ(tally.games, 33000U);
    const std::string oneThread = countsOf(tally);
    EXPECT_EQ(countsOf(play(bostonAtToronto(3000, 2))), oneThread);
    EXPECT_EQ(countsOf(play(bostonAtToronto(3000, 7))), oneThread);
}

// BOS's first player scores so much that a BOS power play overflows the rates, which
// every series meets sooner or later: the run names its first series, whatever the
// threads, and how to replay it.
TEST(ManySeries, TheLowestFailingSeriesEndsTheRun) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / "zelkor-many-series-test";
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(SampleRosters / "TOR", folder / "TOR",
                               std::filesystem::copy_options::overwrite_existing);
    {
        std::ifstream sample(SampleRosters / "BOS");
        std::ofstream roster(folder / "BOS");
        std::string line;
        std::getline(sample, line);
        roster << "Huge Scorer,1,1.8e35,1.8e35\n";
        while (std::getline(sample, line)) {
            roster << line << "\n";
        }
    }
    ManySeriesRequest request = bostonAtToronto(2000, 1);
    request.visitor = "TOR";
    request.home = "BOS";
    request.rosterFolder = folder;
    const std::string expected = "Series 1 of 2000 (seed " +
                                 std::to_string(seriesSeed(request.baseSeed, 0)) +
                                 ") failed: Cannot compute the scoring rate of BOS player 1 "
                                 "(Huge Scorer)";
    for (const unsigned threads : {1U, 4U}) {
        request.threads = threads;
        try {
            playManySeries(request, {});
            ADD_FAILURE() << "no series failed";
        } catch (const SeriesFailedError& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with(expected)) << error.what();
        }
    }
    std::filesystem::remove_all(folder);
}

// SplitMix64's outputs, worked out apart from the program (0 gives 0xE220A8397B1DCDAF).
TEST(ManySeries, SeriesSeedsAreSplitMix64Outputs) {
    const struct {
        std::uint64_t base, index, seed;
    } rows[] = {
        {0, 0, 16294208416658607535ULL},       {20261207, 0, 5136735609204658477ULL},
        {20261207, 1, 1869922193014852869ULL}, {7, 999999, 9750091035894632073ULL},
        {~0ULL, 5, 15212506146343009075ULL},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(seriesSeed(row.base, row.index), row.seed) << row.base << " " << row.index;
    }
}

TEST(ManySeries, RefusesWhatTheFaceOffRefusesAndStopsWhenAsked) {
    ManySeriesRequest request = bostonAtToronto(10, 1);
    request.home = "XYZ";
    EXPECT_THROW(playManySeries(request, {}), InputRefusedError);

    std::stop_source stop;
    int reports = 0;
    const auto stopAtFirstReport = [&](const OddsTally&) {
        ++reports;
        stop.request_stop();
    };
    EXPECT_FALSE(
        playManySeries(bostonAtToronto(10'000'000, 2), stop.get_token(), stopAtFirstReport));
    EXPECT_EQ(reports, 1);
}

// The visitors win a shootout with their own chance: at 0.9 they take most of the games
// left level after overtime, at 0.1 the home side does. Every game is counted once.
TEST(ManySeries, ShootoutChanceIsTheVisitorsAndEveryGameIsCountedOnce) {
    const auto played = [](Single chance, unsigned threads) {
        ManySeriesRequest request = bostonAtToronto(400, threads);
        request.shootout = true;
        request.shootoutVisitorChance = chance;
        return play(request);
    };
    const OddsTally likely = played(0.9f, 1);
    const OddsTally unlikely = played(0.1f, 1);
    for (const OddsTally* tally : {&likely, &unlikely}) {
        EXPECT_EQ(tally->ties, 0u);
        EXPECT_EQ(tally->games, 4400u);
        EXPECT_EQ(tally->visitorWinsRegulation + tally->visitorWinsOvertime +
                      tally->homeWinsRegulation + tally->homeWinsOvertime,
                  tally->games);
        EXPECT_GE(tally->overtimeGames, tally->visitorWinsOvertime + tally->homeWinsOvertime);
    }
    const auto visitorWins = [](const OddsTally& t) {
        return static_cast<double>(t.visitorWinsRegulation + t.visitorWinsOvertime);
    };
    EXPECT_GT(visitorWins(likely) - visitorWins(unlikely), 0.3 * likely.overtimeGames);
    EXPECT_EQ(countsOf(played(0.9f, 3)), countsOf(likely));
}

} // namespace
} // namespace zelkor
