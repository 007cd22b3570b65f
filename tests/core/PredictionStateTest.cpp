#include "core/PredictionState.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

TEST(PredictionState, StartsEmptyAndZero) {
    const PredictionState state;
    EXPECT_TRUE(state.VISITOR.empty());
    EXPECT_TRUE(state.HOME.empty());
    EXPECT_EQ(state.GAAV, 0);
    EXPECT_EQ(state.OFFR, 0);
    EXPECT_EQ(state.DEFH, 0);
    EXPECT_EQ(state.match, 0);
    EXPECT_EQ(state.powerplayx, 0);
    for (int player = 0; player <= PlayersPerTeam; ++player) {
        EXPECT_EQ(state.GOALX[player], 0);
        EXPECT_EQ(state.Cumy[player], 0);
        for (int column = 0; column <= RosterColumns; ++column) {
            EXPECT_TRUE(state.RosterX.at(player, column).empty());
        }
    }
}

TEST(PredictionState, IndicesOutsideTheArraysAreSubscriptErrors) {
    PredictionState state;
    EXPECT_THROW(state.GOALX[19], SubscriptError);
    EXPECT_THROW(state.Cumx[-1], SubscriptError);
    EXPECT_THROW(state.RosterY.at(19, 1), SubscriptError);
    EXPECT_THROW(state.RosterY.at(1, 5), SubscriptError);
    try {
        state.Ratex[25] = 1;
        FAIL() << "no error";
    } catch (const SubscriptError& error) {
        EXPECT_STREQ(error.what(),
                     "Subscript out of range: player array index 25 is outside 0 to 18");
    }
}

} // namespace
} // namespace zelkor
