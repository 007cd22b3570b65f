#include "simulation/SeriesSummary.h"

#include "support/RecordingWindow.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

using testing::RecordingWindow;

TEST(SeriesSummary, MoneyValueForEveryFavouritePoints) {
    const char* const expected[] = {"1.83", "1.69", "1.57", "1.47", "1.38", "1.29",
                                    "1.22", "1.16", "1.1",  "1.05", "1"};
    for (int points = 12; points <= 22; ++points) {
        EXPECT_EQ(moneyValueText(points, "."), expected[points - 12]) << points << " points";
    }
}

TEST(SeriesSummary, WritesAveragesAndMoneyLine) {
    struct Case {
        const char* name;
        int winsx, winsy, ties, goalsx, goalsy;
        const char* visitorAverage;
        const char* homeAverage;
        const char* moneyLine;
    };
    const Case cases[] = {
        {"visiting sweep", 11, 0, 0, 44, 11, "4", "1", "NYR  1"},
        {"six wins to five", 6, 5, 0, 30, 29, "3", "3", "NYR  1.83"},
        {"five each and a tie", 5, 5, 1, 30, 30, "3", "3", "EVEN, NO BET"},
        {"eleven ties", 0, 0, 11, 0, 0, "0", "0", "EVEN, NO BET"},
        {"fewer goals, more points", 6, 5, 0, 6, 30, "1", "3", "NYR  1.83"},
        {"38 goals round down, 39 up", 2, 8, 1, 38, 39, "3", "4", "bos  1.29"},
        {"16 points round 137.5 to even", 2, 7, 2, 20, 25, "2", "2", "bos  1.38"},
    };
    for (const Case& c : cases) {
        PredictionState state;
        state.VISITOR = "NYR";
        state.HOME = "bos";
        state.match = 12;
        state.Winsx = c.winsx;
        state.Winsy = c.winsy;
        state.Tiesx = c.ties;
        state.Tiesy = c.ties;
        state.Goalsx = c.goalsx;
        state.Goalsy = c.goalsy;
        RecordingWindow window;
        SeriesSummary(state, window);
        EXPECT_EQ(window.visitorAverage, c.visitorAverage) << c.name;
        EXPECT_EQ(window.homeAverage, c.homeAverage) << c.name;
        EXPECT_EQ(window.moneyLine, c.moneyLine) << c.name;
    }
}

TEST(SeriesSummary, CommaSeparatorReachesTheCaption) {
    PredictionState state;
    state.VISITOR = "NYR";
    state.HOME = "BOS";
    state.match = 12;
    state.Winsx = 6;
    state.Winsy = 5;
    RecordingWindow window;
    window.separator = ",";
    SeriesSummary(state, window);
    EXPECT_EQ(window.moneyLine, "NYR  1,83");
    EXPECT_EQ(moneyValueText(20, ","), "1,1");
}

} // namespace
} // namespace zelkor
