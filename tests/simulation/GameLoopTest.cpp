#include "simulation/GameLoop.h"

#include "SimulationFixtures.h"
#include "core/Errors.h"
#include "simulation/SeriesSummary.h"
#include "support/RecordingWindow.h"
#include "support/ScriptedDraws.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace zelkor {
namespace {

using testing::fullRosterState;
using testing::MinuteScriptDraws;
using testing::RecordingWindow;
using testing::ScriptedDraws;
using testing::traceState;

// Draws that land in one interval of the trace teams' thresholds
// (BOS: 0, 943.03, 1414.55, 1415.55, ...; TOR: 0, 1815.61, 2496.46, ...).
constexpr Single HitsRowOne = 0.005f;       // 501
constexpr Single HitsBostonRowTwo = 0.012f; // 1201
constexpr Single HitsTorontoRowTwo = 0.02f; // 2001
constexpr Single Quiet = 0.99f;             // 99001, above every threshold

const std::vector<std::string>& finalScoresOfQuietGames() {
    static const std::vector<std::string> lines(GamesPerSeries, "BOS - 0  TOR - 0");
    return lines;
}

struct SeriesRun {
    PredictionState state;
    RecordingWindow window;
};

// Plays one series of the trace teams with draws scripted by minute.
template <typename Script> void playScripted(SeriesRun& run, Script script) {
    MinuteScriptDraws draws(run.state);
    script(draws);
    FixedSeed seeds(1);
    Gameplay(run.state, run.window, draws, seeds);
}

TEST(GameLoop, ReproducesTheWorkedMinute) {
    PredictionState state = traceState();
    RecordingWindow window;
    // 22 quiet minutes (59 to 38) of two draws each plus two for the penalty model.
    std::vector<Single> script(22 * 4, Quiet);
    script.push_back(0.012f);
    script.push_back(0.5f);
    ScriptedDraws draws(script, Quiet);
    FixedSeed seeds(77);
    Gameplay(state, window, draws, seeds);

    ASSERT_GE(window.log.size(), 36u);
    EXPECT_EQ(window.log.substr(0, 35), "BOS score! by Winger at minute 37\r\n");
    const std::vector<std::string> lines = window.logLines();
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[1], "BOS - 1  TOR - 0");
    EXPECT_EQ(lines[2], "BOS - 0  TOR - 0");
    EXPECT_EQ(draws.reseeds, 1);
    EXPECT_EQ(draws.lastSeed, 77u);

    const Single inverseScale = static_cast<Single>(1 / 1.4);
    EXPECT_EQ(inverseScale, 0.71428573f);
    EXPECT_EQ(state.GaaFactorx, static_cast<Single>((2.776 / 2.5) * inverseScale));
    EXPECT_NEAR(state.GaaFactorx, 0.793143, 1e-6);
    EXPECT_NEAR(state.GaaFactory, 0.660952, 1e-6);
    EXPECT_NEAR(state.Finishx, 1.10300, 1e-5);
    EXPECT_NEAR(state.Finishy, 0.933311, 1e-6);
    EXPECT_NEAR(state.Cumx[1], 943.030, 1e-3);
    EXPECT_NEAR(state.Cumx[18], 1430.55, 1e-2);
    EXPECT_NEAR(state.Cumy[18], 2512.46, 1e-2);

    // Game 1 won 1-0 in regulation: 55 minutes of 4 draws, minutes 4 to 2 of 6, minutes 1
    // and 0 with a one-goal lead of 10. Games 2 to 11 level after regulation add the level
    // minutes 1 and 0 (10 each), overtime 4 to 2 (6 each) and overtime 1 and 0 (14 each).
    constexpr std::size_t wonInRegulation = 55 * 4 + 3 * 6 + 2 * 10;
    constexpr std::size_t levelWithOvertime = 55 * 4 + 3 * 6 + 2 * 10 + 3 * 6 + 2 * 14;
    EXPECT_EQ(draws.taken, wonInRegulation + 10 * levelWithOvertime);
    EXPECT_EQ(window.moneyLine, "BOS  1.83");
}

TEST(GameLoop, GoalieFactorUsesTheSingleInverseOfTheScale) {
    const double inverseScale = static_cast<Single>(1 / 1.4);
    for (int hundredths = 200; hundredths <= 400; ++hundredths) {
        const Single gaa = static_cast<Single>(hundredths / 100.0);
        SeriesRun run;
        run.state = traceState();
        run.state.GAAH = gaa;
        playScripted(run, [](MinuteScriptDraws&) {});
        ASSERT_EQ(run.state.GaaFactorx, static_cast<Single>(2.776 / gaa * inverseScale)) << gaa;
    }
}

TEST(GameLoop, QuietSeriesGoesToOvertimeEveryGameAndEndsLevel) {
    SeriesRun run{traceState(), {}};
    playScripted(run, [](MinuteScriptDraws&) {});
    EXPECT_EQ(run.window.logLines(), finalScoresOfQuietGames());
    EXPECT_EQ(run.state.Tiesx, 11);
    EXPECT_EQ(run.state.Tiesy, 11);
    EXPECT_EQ(run.state.Winsx + run.state.Winsy, 0);
    EXPECT_EQ(run.window.moneyLine, "EVEN, NO BET");
    EXPECT_EQ(run.window.visitorAverage, "0");
}

TEST(GameLoop, PenaltyDrawsPerMinuteFollowTheLateGameRules) {
    SeriesRun run{traceState(), {}};
    run.state.PENH = 0.5f; // a late draw of 0 (0.15) penalises the home team
    MinuteScriptDraws draws(run.state);
    draws.goals(2, false, 30, HitsBostonRowTwo, Quiet);
    for (int minute : {50, 40, 30}) {
        draws.goals(3, false, minute, HitsBostonRowTwo, Quiet);
    }
    draws.goals(4, false, 30, HitsBostonRowTwo, Quiet);
    draws.penaltyDraw(4, false, 1, 0.0f);
    draws.goals(5, false, 30, HitsBostonRowTwo, Quiet);
    FixedSeed seeds(1);
    Gameplay(run.state, run.window, draws, seeds);

    struct Row {
        const char* situation;
        int game;
        bool overtime;
        int minute;
        int penaltyDraws;
    };
    const Row rows[] = {
        {"regular minute", 1, false, 59, 2},
        {"minute 5 keeps plain draws", 1, false, 5, 2},
        {"minute 4 narrows", 1, false, 4, 4},
        {"minute 2 has no late-game rules", 1, false, 2, 4},
        {"level at minute 1", 1, false, 1, 8},
        {"level at minute 0", 1, false, 0, 8},
        {"overtime minute 4", 1, true, 4, 4},
        {"overtime minute 2", 1, true, 2, 4},
        {"overtime minute 1", 1, true, 1, 12},
        {"overtime minute 0", 1, true, 0, 12},
        {"lead of one", 2, false, 1, 8},
        {"decided game has no overtime", 2, true, 4, -1},
        {"lead of three", 3, false, 0, 12},
        {"penalty at minute 1 of a lead", 4, false, 1, 8},
        {"flag from minute 1 adds a call at 0", 4, false, 0, 12},
        {"next game starts with the flag down", 5, false, 0, 8},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(draws.penaltyDrawsTaken(row.game, row.overtime, row.minute), row.penaltyDraws)
            << row.situation;
    }
}

TEST(GameLoop, OvertimeGoalByLowerRowWinsAndEndsTheGame) {
    struct Case {
        const char* name;
        Single visitorDraw, homeDraw;
        const char* goalLine;
        const char* finalLine;
    };
    const Case cases[] = {
        {"home scorer on a lower row", HitsBostonRowTwo, HitsRowOne,
         "TOR score! by Captain at minute 4", "BOS - 0  TOR - 1"},
        {"same row: visitors first", HitsRowOne, HitsRowOne, "BOS score! by Sniper at minute 4",
         "BOS - 1  TOR - 0"},
        {"visiting scorer on a lower row", HitsRowOne, HitsTorontoRowTwo,
         "BOS score! by Sniper at minute 4", "BOS - 1  TOR - 0"},
    };
    for (const Case& c : cases) {
        SeriesRun run{traceState(), {}};
        MinuteScriptDraws draws(run.state);
        draws.goals(1, true, 4, c.visitorDraw, c.homeDraw);
        FixedSeed seeds(1);
        Gameplay(run.state, run.window, draws, seeds);
        const std::vector<std::string> lines = run.window.logLines();
        ASSERT_EQ(lines.size(), 12u) << c.name;
        EXPECT_EQ(lines[0], c.goalLine) << c.name;
        EXPECT_EQ(lines[1], c.finalLine) << c.name;
        EXPECT_EQ(draws.penaltyDrawsTaken(1, true, 3), -1) << c.name << ": game went on";
        EXPECT_EQ(draws.penaltyDrawsTaken(2, false, 59), 2) << c.name;
    }
}

TEST(GameLoop, BothTeamsScoreInARegulationMinuteInRowOrder) {
    SeriesRun run{traceState(), {}};
    playScripted(run, [](MinuteScriptDraws& draws) {
        draws.goals(1, false, 20, HitsBostonRowTwo, HitsRowOne);
    });
    const std::vector<std::string> lines = run.window.logLines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "TOR score! by Captain at minute 20");
    EXPECT_EQ(lines[1], "BOS score! by Winger at minute 20");
    EXPECT_EQ(lines[2], "BOS - 1  TOR - 1");
}

TEST(GameLoop, GoalsAreLoggedWithTheCountdownMinute) {
    SeriesRun run{traceState(), {}};
    MinuteScriptDraws draws(run.state);
    draws.goals(1, false, 59, HitsRowOne, Quiet);
    draws.goals(2, false, 0, Quiet, HitsTorontoRowTwo);
    draws.goals(3, true, 4, HitsBostonRowTwo, Quiet);
    FixedSeed seeds(1);
    Gameplay(run.state, run.window, draws, seeds);
    const std::vector<std::string> lines = run.window.logLines();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], "BOS score! by Sniper at minute 59");
    EXPECT_EQ(lines[1], "BOS - 1  TOR - 0");
    EXPECT_EQ(lines[2], "TOR score! by Grinder at minute 0");
    EXPECT_EQ(lines[3], "BOS - 0  TOR - 1");
    EXPECT_EQ(lines[4], "BOS score! by Winger at minute 4");
    EXPECT_EQ(lines[5], "BOS - 1  TOR - 0");
    EXPECT_EQ(draws.penaltyDrawsTaken(2, true, 4), -1) << "a late winner needs no overtime";
    EXPECT_EQ(run.state.Winsx, 2);
    EXPECT_EQ(run.state.Winsy, 1);
    EXPECT_EQ(run.state.Tiesx, 8);
    EXPECT_EQ(run.window.moneyLine, "BOS  1.83");
}

TEST(GameLoop, DrawOnAThresholdScoresForNobody) {
    SeriesRun run{traceState(), {}};
    // Sixteen BOS players without goals have rate 1, so their thresholds are 1, 2, ..., 16.
    for (int row = 1; row <= 16; ++row) {
        run.state.GOALX[row] = 0;
    }
    run.state.GOALX[17] = 30;
    const Single onThreshold = 2e-5f;
    const Single betweenThresholds = 2.5e-5f;
    ASSERT_EQ(static_cast<Single>(static_cast<double>(onThreshold) * 100000 + 1), 3.0f);
    playScripted(run, [&](MinuteScriptDraws& draws) {
        draws.goals(1, false, 50, onThreshold, Quiet);
        draws.goals(1, false, 45, 0.0f, Quiet); // a draw of 1 lies on the first threshold
        draws.goals(1, false, 40, betweenThresholds, Quiet);
    });
    const std::vector<std::string> lines = run.window.logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "BOS score! by Visitor 4 at minute 40");
    EXPECT_EQ(lines[1], "BOS - 1  TOR - 0");
}

// The score lines of a log, checked against its goal lines game by game.
struct LogTally {
    int visitorGoalLines = 0;
    int homeGoalLines = 0;
    int finalScoreLines = 0;
    bool blocksMatch = true;
};

LogTally tallyLog(const RecordingWindow& window, const std::string& visitor,
                  const std::string& home) {
    LogTally tally;
    int visitorInGame = 0;
    int homeInGame = 0;
    for (const std::string& line : window.logLines()) {
        if (line.starts_with(visitor + " score! by ")) {
            ++visitorInGame;
        } else if (line.starts_with(home + " score! by ")) {
            ++homeInGame;
        } else {
            ++tally.finalScoreLines;
            const std::string expected = visitor + " - " + std::to_string(visitorInGame) + "  " +
                                         home + " - " + std::to_string(homeInGame);
            tally.blocksMatch = tally.blocksMatch && line == expected;
            tally.visitorGoalLines += visitorInGame;
            tally.homeGoalLines += homeInGame;
            visitorInGame = homeInGame = 0;
        }
    }
    return tally;
}

TEST(GameLoop, SeededSeriesKeepTheirInvariants) {
    for (std::uint64_t seed = 1; seed <= 200; ++seed) {
        PredictionState state = fullRosterState();
        RecordingWindow window;
        Xoshiro256StarStar draws;
        FixedSeed seeds(seed);
        Gameplay(state, window, draws, seeds);
        const LogTally tally = tallyLog(window, state.VISITOR, state.HOME);
        SCOPED_TRACE("seed " + std::to_string(seed));
        ASSERT_EQ(state.Winsx + state.Winsy + state.Tiesx, GamesPerSeries);
        ASSERT_EQ(state.Tiesx, state.Tiesy);
        ASSERT_EQ(tally.finalScoreLines, GamesPerSeries);
        ASSERT_TRUE(tally.blocksMatch);
        ASSERT_EQ(tally.visitorGoalLines, state.Goalsx);
        ASSERT_EQ(tally.homeGoalLines, state.Goalsy);
        ASSERT_EQ(state.match, 12);
        ASSERT_EQ(state.Scorex + state.Scorey + state.OVERTIME, 0);
        ASSERT_EQ(state.Winx + state.Tiex + state.Winy + state.Tiey, 0);
        ASSERT_EQ(state.Cumx[0] + state.Cumy[0], 0);
    }
}

TEST(GameLoop, SeriesStartsCleanWhateverCameBefore) {
    auto play = [](PredictionState& state, std::uint64_t seed) {
        RecordingWindow window;
        Xoshiro256StarStar draws;
        FixedSeed seeds(seed);
        Gameplay(state, window, draws, seeds);
        return window.log + window.visitorAverage + "|" + window.homeAverage + "|" +
               window.moneyLine;
    };
    PredictionState fresh = fullRosterState();
    const std::string expected = play(fresh, 42);

    PredictionState reused = fullRosterState();
    play(reused, 7);
    EXPECT_EQ(play(reused, 42), expected) << "after a completed series";
    EXPECT_EQ(reused.Winsx, fresh.Winsx);
    EXPECT_EQ(reused.Goalsy, fresh.Goalsy);

    // What a series ended by an error mid-game leaves behind.
    PredictionState aborted = fullRosterState();
    aborted.Scorex = 5;
    aborted.OVERTIME = 1;
    aborted.Winx = 1;
    aborted.match = 4;
    EXPECT_EQ(play(aborted, 42), expected) << "after a series ended by an error";
}

std::uint64_t fnv1a(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 0x100000001b3;
    }
    return hash;
}

// The signature of a fixed seeded series. A change here must be deliberate: it means the
// simulation plays differently.
TEST(GameLoop, GoldenSeriesSignature) {
    PredictionState state = fullRosterState();
    RecordingWindow window;
    Xoshiro256StarStar draws;
    FixedSeed seeds(20240611);
    Gameplay(state, window, draws, seeds);
    const std::string summary =
        window.visitorAverage + " " + window.homeAverage + " " + window.moneyLine;
    EXPECT_EQ(summary, "6 7 MON  1.57");
    EXPECT_EQ(window.log.size(), 5523u);
    EXPECT_EQ(fnv1a(window.log), 11465016957599319892u);
}

// Many seeded series over varied ratings, goalie averages and rosters, some of them
// extreme enough that an arithmetic fault ends the series part-way: everything each one
// shows (log, averages, money line, or the error's message) goes into one signature. A
// change here must be deliberate: it means the simulation plays differently.
TEST(GameLoop, ManySeriesSignature) {
    std::uint64_t mix = 0x5eed;
    // A value in [low, high) from a fixed sequence, the same on every machine.
    auto next = [&mix](double low, double high) {
        mix = mix * 6364136223846793005u + 1442695040888963407u;
        return static_cast<Single>(low + (high - low) * static_cast<double>(mix >> 11) * 0x1p-53);
    };
    std::string shown;
    int failed = 0;
    int failedAfterAGoal = 0;
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        PredictionState state = fullRosterState();
        for (Single* rating : {&state.OFFR, &state.DEFR, &state.OFFH, &state.DEFH}) {
            *rating = next(0.7, 1.3);
        }
        for (Single* rating : {&state.PPR, &state.PPH, &state.SHR, &state.SHH}) {
            *rating = next(0.2, 3.0);
        }
        state.PENR = next(0.05, 0.6);
        state.PENH = next(0.05, 0.6);
        state.GAAV = next(0.5, 6.0);
        state.GAAH = next(0.5, 6.0);
        if (seed % 25 == 0) {
            // Near the single range: only a power play's multiplied rate overflows, in
            // whatever minute the first visiting penalty falls.
            state.DEFR = 1;
            state.OFFH = 1;
            state.GAAV = 1.983f;
            state.PPH = 2.5f;
            state.GOALY[3] = 6e34f;
            state.Gamey[3] = 1;
        }
        if (seed % 40 == 0) {
            state.GAAV = 1e-30f;
        }
        RecordingWindow window;
        Xoshiro256StarStar draws;
        FixedSeed seeds(seed);
        try {
            Gameplay(state, window, draws, seeds);
        } catch (const ArithmeticError& error) {
            ++failed;
            failedAfterAGoal += window.log.empty() ? 0 : 1;
            shown += error.what();
        }
        shown += window.log + window.visitorAverage + "|" + window.homeAverage + "|" +
                 window.moneyLine + "\n";
    }
    EXPECT_EQ(failed, 11);
    EXPECT_GT(failedAfterAGoal, 2);
    EXPECT_EQ(shown.size(), 2468151u);
    EXPECT_EQ(fnv1a(shown), 16119677151903070633u);
}

// The log a quiet series' outcome stands for, line by line as Gameplay writes it.
std::string logOf(const PredictionState& state, const SeriesOutcome& outcome) {
    std::string log;
    auto goal = outcome.goals.begin();
    for (int game = 1; game <= GamesPerSeries; ++game) {
        for (; goal != outcome.goals.end() && goal->game == game; ++goal) {
            const RosterTable& roster = goal->visiting ? state.RosterX : state.RosterY;
            log += (goal->visiting ? state.VISITOR : state.HOME) + " score! by " +
                   roster.at(goal->row, NameColumn) + " at minute " + std::to_string(goal->minute) +
                   "\r\n";
        }
        const GameResult& result = outcome.games[game - 1];
        log += state.VISITOR + " - " + std::to_string(result.visitorGoals) + "  " + state.HOME +
               " - " + std::to_string(result.homeGoals) + "\r\n";
    }
    return log;
}

TEST(GameLoop, QuietSeriesPlaysExactlyTheLoggedOne) {
    SeriesOutcome outcome;
    RateCache runRates; // kept from series to series, as a many-series run keeps it
    int overtimes = 0;
    for (std::uint64_t seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        PredictionState logged = fullRosterState();
        logged.PENR = logged.PENH = 0.4f; // many power plays
        PredictionState quiet = logged;
        RecordingWindow window;
        Xoshiro256StarStar draws;
        FixedSeed seeds(seed);
        Gameplay(logged, window, draws, seeds);
        playQuietSeries(quiet, draws, seeds, outcome, runRates);

        ASSERT_EQ(logOf(quiet, outcome), window.log);
        const SeriesFacts facts = summarizeSeries(quiet);
        EXPECT_EQ(std::to_string(facts.visitorAverage), window.visitorAverage);
        EXPECT_EQ(std::to_string(facts.homeAverage), window.homeAverage);
        EXPECT_EQ(moneyLineCaption(facts, quiet.VISITOR, quiet.HOME, "."), window.moneyLine);
        EXPECT_EQ(quiet.Winsx, logged.Winsx);
        EXPECT_EQ(quiet.Winsy, logged.Winsy);
        EXPECT_EQ(quiet.Tiesx, logged.Tiesx);
        for (const GameResult& game : outcome.games) {
            overtimes += game.overtime ? 1 : 0;
        }
        // Regulation games are never level; overtime ends on its one goal, or level.
        std::array<int, GamesPerSeries> overtimeGoals{};
        for (const ScoredGoal& goal : outcome.goals) {
            overtimeGoals[goal.game - 1] += goal.overtime ? 1 : 0;
        }
        for (int game = 0; game < GamesPerSeries; ++game) {
            const GameResult& result = outcome.games[game];
            const int margin = std::abs(result.visitorGoals - result.homeGoals);
            EXPECT_EQ(overtimeGoals[game], result.overtime ? margin : 0) << "game " << game + 1;
            EXPECT_TRUE(result.overtime ? margin <= 1 : margin > 0) << "game " << game + 1;
        }
    }
    EXPECT_GT(overtimes, 100);
}

// The generator's draws through the plain draw source, which a series compares as floats.
class FloatDraws final : public DrawSource {
public:
    void reseed(std::uint64_t seed) override { generator_.reseed(seed); }
    Single nextDraw() override { return generator_.nextDraw(); }

private:
    Xoshiro256StarStar generator_;
};

// A series on the generator compares its draws' bits; on any other source, the floats.
TEST(GameLoop, GeneratorBitsPlayAsItsFloatDraws) {
    SeriesOutcome bitsOutcome;
    SeriesOutcome floatOutcome;
    int failed = 0;
    for (std::uint64_t seed = 1; seed <= 120; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        PredictionState bits = fullRosterState();
        bits.PENR = bits.PENH = 0.1f + 0.005f * static_cast<Single>(seed);
        if (seed % 10 == 0) {
            // A power play's rate overflows in the minute of the first visiting penalty.
            bits.DEFR = bits.OFFH = 1;
            bits.GAAV = 1.983f;
            bits.PPH = 2.5f;
            bits.GOALY[3] = 6e34f;
            bits.Gamey[3] = 1;
        }
        PredictionState floats = bits;
        RateCache bitsRates; // one per set of inputs
        RateCache floatRates;
        Xoshiro256StarStar generator;
        FloatDraws floatDraws;
        FixedSeed seeds(seed);
        std::string bitsError;
        std::string floatError;
        try {
            playQuietSeries(bits, generator, seeds, bitsOutcome, bitsRates);
        } catch (const ArithmeticError& error) {
            bitsError = error.what();
            ++failed;
        }
        try {
            playQuietSeries(floats, floatDraws, seeds, floatOutcome, floatRates);
        } catch (const ArithmeticError& error) {
            floatError = error.what();
        }
        ASSERT_EQ(bitsError, floatError);
        ASSERT_EQ(logOf(bits, bitsOutcome), logOf(floats, floatOutcome));
        // The state shows the last minute's draws and rates, however the series ended.
        for (auto field : {&PredictionState::Rndx, &PredictionState::Rndy,
                           &PredictionState::penaltyx, &PredictionState::penaltyy}) {
            ASSERT_EQ(bits.*field, floats.*field);
        }
        for (int index = 0; index <= PlayersPerTeam; ++index) {
            ASSERT_EQ(bits.Cumx[index], floats.Cumx[index]);
            ASSERT_EQ(bits.Ratey[index], floats.Ratey[index]);
        }
        ASSERT_EQ(int(bits.powerplayy), int(floats.powerplayy));
        ASSERT_EQ(int(bits.shorthandx), int(floats.shorthandx));
        ASSERT_EQ(int(bits.Minute), int(floats.Minute));
        ASSERT_EQ(int(bits.match), int(floats.match));
    }
    EXPECT_EQ(failed, 12);
}

TEST(GameLoop, ArithmeticFaultsEndTheSeriesInTheFirstMinute) {
    struct Case {
        const char* name;
        void (*spoil)(PredictionState&);
        const char* message;
        std::size_t drawsTaken;
    };
    const Case cases[] = {
        {"player without games",
         [](PredictionState& s) {
             s.Gamex[5] = 0;
             s.RosterX.at(5, NameColumn) = "Orrin Falkbeck";
         },
         "Cannot compute the scoring rate of BOS player 5 (Orrin Falkbeck): games played is 0.", 4},
        {"home team without goals", [](PredictionState& s) { s.Ratioy = 0; },
         "Cannot compute the scoring rate of TOR player 1 (Captain): the team's finishing "
         "factor is 0 (its roster has no goals).",
         4},
        {"home goalie average 0", [](PredictionState& s) { s.GAAH = 0; },
         "Cannot compute the goalie factor of the home goalie (TOR): the goals-against "
         "average is 0.",
         2},
        {"visiting goalie average 0", [](PredictionState& s) { s.GAAV = 0; },
         "Cannot compute the goalie factor of the visiting goalie (BOS): the goals-against "
         "average is 0.",
         2},
    };
    for (const Case& c : cases) {
        PredictionState state = traceState();
        c.spoil(state);
        RecordingWindow window;
        window.moneyLine = "earlier result";
        ScriptedDraws draws({}, Quiet);
        FixedSeed seeds(1);
        try {
            Gameplay(state, window, draws, seeds);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ArithmeticError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
        EXPECT_EQ(draws.taken, c.drawsTaken) << c.name;
        EXPECT_EQ(window.log, "") << c.name;
        EXPECT_EQ(window.moneyLine, "earlier result") << c.name;
    }
}

} // namespace
} // namespace zelkor
