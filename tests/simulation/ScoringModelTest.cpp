#include "simulation/ScoringModel.h"

#include "SimulationFixtures.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <random>

namespace zelkor {
namespace {

using testing::traceState;

// The trace teams with the factors of the worked minute, as the game loop computes them
// (0.793143, 0.660952, 1.10300, 0.933311), and even strength.
PredictionState traceMinute() {
    PredictionState state = traceState();
    const double inverseScale = static_cast<Single>(1 / 1.4);
    state.GaaFactorx = static_cast<Single>(2.776 / 2.5 * inverseScale);
    state.GaaFactory = static_cast<Single>(2.776 / 3.0 * inverseScale);
    state.Finishx = static_cast<Single>(0.65f / static_cast<double>(0.5893f));
    state.Finishy = static_cast<Single>(0.55f / static_cast<double>(0.5893f));
    state.powerplayx = 1;
    state.powerplayy = 1;
    state.shorthandx = 1;
    state.shorthandy = 1;
    return state;
}

TEST(ScoringModel, ReproducesTheWorkedRates) {
    PredictionState state = traceMinute();
    SCORERATE(state);
    EXPECT_NEAR(state.Ratex[1], 943.030, 0.001);
    EXPECT_NEAR(state.Ratex[2], 471.515, 0.001);
    EXPECT_NEAR(state.Ratey[1], 1815.61, 0.01);
    EXPECT_NEAR(state.Ratey[2], 680.852, 0.001);
    EXPECT_NEAR(state.Cumx[2], 1414.55, 0.01);
    EXPECT_NEAR(state.Cumx[18], 1430.55, 0.01);
    EXPECT_NEAR(state.Cumy[18], 2512.46, 0.01);
}

TEST(ScoringModel, PowerPlayOfTwoDoublesEveryRateBeforeTheFloor) {
    PredictionState state = traceMinute();
    state.powerplayx = 2;
    SCORERATE(state);
    EXPECT_NEAR(state.Ratex[1], 1886.06, 0.01);
    EXPECT_NEAR(state.Ratex[2], 943.030, 0.001);
    EXPECT_EQ(state.Ratex[3], 1.0f) << "a zero rate is floored after the multiplier";
}

TEST(ScoringModel, ZeroRatesBecomeOneAndSmallRatesStay) {
    PredictionState state = traceMinute();
    state.GOALY[3] = 0.0001f;
    SCORERATE(state);
    EXPECT_EQ(state.Ratex[3], 1.0f);
    EXPECT_GT(state.Ratey[3], 0.0f);
    EXPECT_LT(state.Ratey[3], 1.0f);
}

TEST(ScoringModel, ShortHandedTeamHasWholeNumberThresholds) {
    PredictionState state = traceMinute();
    state.shorthandy = 0;
    SCORERATE(state);
    for (int row = 0; row <= PlayersPerTeam; ++row) {
        EXPECT_EQ(state.Cumy[row], static_cast<Single>(row)) << "row " << row;
    }
    EXPECT_EQ(state.Cumx[0], 0.0f);
}

TEST(ScoringModel, ThresholdsAreRunningSumsRoundedAtEachStep) {
    PredictionState state = traceMinute();
    SCORERATE(state);
    Single sum = 0;
    for (int row = 1; row <= PlayersPerTeam; ++row) {
        sum = static_cast<Single>(static_cast<double>(sum) + state.Ratex[row]);
        EXPECT_EQ(state.Cumx[row], sum) << "row " << row;
    }
}

TEST(ScoringModel, SecondCallWithSameInputsGivesIdenticalArrays) {
    PredictionState state = traceMinute();
    SCORERATE(state);
    const PlayerArray firstRates = state.Ratey;
    const PlayerArray firstThresholds = state.Cumx;
    SCORERATE(state);
    for (int row = 0; row <= PlayersPerTeam; ++row) {
        EXPECT_EQ(state.Ratey[row], firstRates[row]);
        EXPECT_EQ(state.Cumx[row], firstThresholds[row]);
    }
}

// One player's rate as the model writes it, step by step: goals times 100000 over games
// times 60, stored; times the ratings and multipliers left to right, over the product of
// the two divisors, stored; an exact zero becomes 1.
Single referenceRate(Single goals, Single games, Single defence, Single offence, int powerPlay,
                     int shortHanded, Single gaaFactor, Single finish) {
    const auto base = static_cast<Single>((static_cast<double>(goals) * 100000.0) /
                                          (static_cast<double>(games) * 60.0));
    const double numerator =
        static_cast<double>(base) * defence * offence * powerPlay * shortHanded;
    const auto rate = static_cast<Single>(numerator / (static_cast<double>(gaaFactor) * finish));
    return rate == 0 ? 1.0f : rate;
}

// Every rate and threshold, to the last bit, against the step-by-step rule over many
// random minutes: a regrouped product or a rounding too early or too late shows here.
TEST(ScoringModel, RatesAndThresholdsMatchTheStepByStepRuleExactly) {
    std::mt19937 random(7);
    const auto uniform = [&](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int minute = 0; minute < 2000; ++minute) {
        PredictionState state;
        for (int row = 1; row <= PlayersPerTeam; ++row) {
            state.GOALX[row] = pick(0, 4) == 0 ? 0.0f : uniform(0, 60);
            state.GOALY[row] = pick(0, 4) == 0 ? 0.0f : static_cast<Single>(pick(1, 55));
            state.Gamex[row] = uniform(1, 82);
            state.Gamey[row] = static_cast<Single>(pick(20, 82));
        }
        state.DEFH = uniform(0.6f, 1.5f);
        state.OFFR = uniform(0.5f, 1.0f);
        state.DEFR = uniform(0.6f, 1.1f);
        state.OFFH = uniform(0.6f, 1.5f);
        state.powerplayx = pick(0, 2);
        state.powerplayy = pick(0, 2);
        state.shorthandx = pick(0, 1);
        state.shorthandy = pick(0, 1);
        state.GaaFactorx = uniform(0.4f, 1.5f);
        state.GaaFactory = uniform(0.4f, 1.5f);
        state.Finishx = uniform(0.5f, 1.6f);
        state.Finishy = uniform(0.5f, 1.6f);

        SCORERATE(state);

        Single thresholdX = 0;
        Single thresholdY = 0;
        for (int row = 1; row <= PlayersPerTeam; ++row) {
            const Single rateX =
                referenceRate(state.GOALX[row], state.Gamex[row], state.DEFH, state.OFFR,
                              state.powerplayx, state.shorthandx, state.GaaFactorx, state.Finishx);
            const Single rateY =
                referenceRate(state.GOALY[row], state.Gamey[row], state.DEFR, state.OFFH,
                              state.powerplayy, state.shorthandy, state.GaaFactory, state.Finishy);
            thresholdX = static_cast<Single>(static_cast<double>(thresholdX) + rateX);
            thresholdY = static_cast<Single>(static_cast<double>(thresholdY) + rateY);
            ASSERT_EQ(state.Ratex[row], rateX) << "minute " << minute << ", row " << row;
            ASSERT_EQ(state.Ratey[row], rateY) << "minute " << minute << ", row " << row;
            ASSERT_EQ(state.Cumx[row], thresholdX) << "minute " << minute << ", row " << row;
            ASSERT_EQ(state.Cumy[row], thresholdY) << "minute " << minute << ", row " << row;
        }
    }
}

TEST(ScoringModel, ErrorsNameTeamPlayerAndFault) {
    struct Case {
        const char* name;
        void (*spoil)(PredictionState&);
        const char* message;
    };
    const Case cases[] = {
        {"visiting games played 0", [](PredictionState& s) { s.Gamex[5] = 0; },
         "Cannot compute the scoring rate of BOS player 5 (Visitor 5): games played is 0."},
        {"home games played 0 with no goals",
         [](PredictionState& s) {
             s.Gamey[7] = 0;
             s.RosterY.at(7, NameColumn) = "Orrin Falkbeck";
         },
         "Cannot compute the scoring rate of TOR player 7 (Orrin Falkbeck): games played is 0."},
        {"home finish 0", [](PredictionState& s) { s.Finishy = 0; },
         "Cannot compute the scoring rate of TOR player 1 (Captain): the team's finishing "
         "factor is 0 (its roster has no goals)."},
        {"thresholds beyond a single",
         [](PredictionState& s) {
             // Rates of about 1.8e38 for the first two players: their sum overflows.
             PredictionState plain = s;
             SCORERATE(plain);
             for (int row : {1, 2}) {
                 s.GOALX[row] = static_cast<Single>(1.8e38 / (plain.Ratex[row] / s.GOALX[row]));
             }
         },
         "Cannot compute the scoring rate of BOS player 2 (Winger): Overflow in the "
         "thresholds: the result is too large for a single-precision number"},
    };
    for (const Case& c : cases) {
        PredictionState state = traceMinute();
        c.spoil(state);
        try {
            SCORERATE(state);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const ArithmeticError& error) {
            EXPECT_STREQ(error.what(), c.message) << c.name;
        }
    }
}

} // namespace
} // namespace zelkor
