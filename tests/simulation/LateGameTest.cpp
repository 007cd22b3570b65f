#include "simulation/LateGame.h"

#include "support/ScriptedDraws.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelkor {
namespace {

using testing::ScriptedDraws;

constexpr std::size_t DrawsPerLateCall = 4;

// Minute 1 at even strength; a late draw of 0 (narrowed to 0.15) penalises the home team,
// the fallback 0.99 penalises nobody.
PredictionState lateMinute(int overtime, int scorex, int scorey, int flag) {
    PredictionState state;
    state.Minute = 1;
    state.OVERTIME = overtime;
    state.Scorex = scorex;
    state.Scorey = scorey;
    state.PENALFLAG = flag;
    state.PENH = 0.5f;
    state.PENR = 0.3f;
    state.PPR = 0.95f;
    state.PPH = 0.95f;
    state.SHR = 0.5f;
    state.SHH = 0.5f;
    state.powerplayx = 1;
    state.powerplayy = 1;
    state.shorthandx = 1;
    state.shorthandy = 1;
    return state;
}

TEST(LateGame, ExtraPenaltyCallsBySituation) {
    struct Case {
        const char* name;
        int overtime, scorex, scorey, flag;
        bool firstCallPenalises;
        std::size_t extraCalls; // besides the call the game loop always makes
    };
    const Case cases[] = {
        {"overtime", 1, 2, 2, 0, false, 2},
        {"level in regulation", 0, 1, 1, 0, false, 1},
        {"visitors lead by one", 0, 2, 1, 0, false, 1},
        {"visitors lead by one with the flag up", 0, 2, 1, 1, false, 2},
        {"visitors lead 4 to 2, no lead call", 0, 4, 2, 0, false, 1},
        {"visitors lead 5 to 2, lead call", 0, 5, 2, 0, false, 2},
        {"home leads 3 to 0, lead call", 0, 0, 3, 0, false, 2},
        {"home leads 3 to 0, lead call raises the flag", 0, 0, 3, 0, true, 3},
        {"visitors lead 5 to 2, lead call raises the flag", 0, 5, 2, 0, true, 3},
        {"a penalty in a level game adds nothing", 0, 0, 0, 0, true, 1},
    };
    for (const Case& c : cases) {
        PredictionState state = lateMinute(c.overtime, c.scorex, c.scorey, c.flag);
        std::vector<Single> script;
        if (c.firstCallPenalises) {
            script = {0.9f, 0.9f, 0.0f, 0.9f};
        }
        ScriptedDraws draws(script);
        LATEGAME(state, draws);
        EXPECT_EQ(draws.taken, c.extraCalls * DrawsPerLateCall) << c.name;
        EXPECT_EQ(state.Scorex, c.scorex) << c.name;
        EXPECT_EQ(state.Scorey, c.scorey) << c.name;
    }
}

TEST(LateGame, VisitorLeadCancelsHomePowerPlayButKeepsHomePenalty) {
    PredictionState state = lateMinute(0, 2, 1, 1);
    // The flag call penalises both teams; the last call penalises nobody.
    ScriptedDraws draws({0.9f, 0.9f, 0.0f, 0.0f});
    VISITWIN(state, draws);
    EXPECT_EQ(draws.taken, 2 * DrawsPerLateCall);
    EXPECT_EQ(state.powerplayy, 1);
    EXPECT_EQ(state.shorthandx, 1);
    EXPECT_EQ(state.powerplayx, 2);
    EXPECT_EQ(state.shorthandy, 0);
}

TEST(LateGame, HomeLeadCancelsVisitingPowerPlayButKeepsVisitingPenalty) {
    PredictionState state = lateMinute(0, 1, 2, 1);
    ScriptedDraws draws({0.9f, 0.9f, 0.0f, 0.0f});
    HOMEWIN(state, draws);
    EXPECT_EQ(draws.taken, 2 * DrawsPerLateCall);
    EXPECT_EQ(state.powerplayx, 1);
    EXPECT_EQ(state.shorthandy, 1);
    EXPECT_EQ(state.powerplayy, 2);
    EXPECT_EQ(state.shorthandx, 0);
}

TEST(LateGame, FinalCallOfLeadingRoutineMayPenaliseTheLeader) {
    PredictionState state = lateMinute(0, 3, 1, 0);
    // No flag and a lead of two: the only call is the last one, and it penalises BOS.
    ScriptedDraws draws({0.9f, 0.9f, 0.9f, 0.0f});
    VISITWIN(state, draws);
    EXPECT_EQ(state.powerplayy, 2);
    EXPECT_EQ(state.shorthandx, 0);
    EXPECT_EQ(state.PENALFLAG, 1);

    // The same for a home lead: the last call penalises TOR, and that stays.
    state = lateMinute(0, 1, 3, 0);
    ScriptedDraws homeDraws({0.9f, 0.9f, 0.0f, 0.9f});
    HOMEWIN(state, homeDraws);
    EXPECT_EQ(state.powerplayx, 2);
    EXPECT_EQ(state.shorthandy, 0);
    EXPECT_EQ(state.PENALFLAG, 1);
}

} // namespace
} // namespace zelkor
