#include "season/FitCheckSummary.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelkor {
namespace {

// A club whose real figures are 3 for and 2 against at both venues, the model's as given.
TeamFitCheck club(const char* code, VenueCheck road, VenueCheck home) {
    return {code, road, home};
}

VenueCheck venue(double realFor, double modelFor, double realAgainst, double modelAgainst) {
    return {41, realFor, realAgainst, modelFor, modelAgainst};
}

// Five clubs worked out by hand: one within 3 %, the misses ranked largest first, equal
// misses by code, a real 0 that the model misses as the largest of all.
TEST(FitCheckSummary, CountsTheClubsWithinAndNamesTheWorst) {
    const std::vector<TeamFitCheck> check{
        club("ANA", venue(3, 3.05, 2, 2.02), venue(3.2, 3.2, 2.5, 2.5)), // 1.7 %: within
        club("BOS", venue(2, 2.1, 2, 2), venue(3, 3, 2, 2)),             // road for: 5 %
        club("CAL", venue(3, 3, 2, 2), venue(3, 3, 0, 0.1)),             // home against: 0
        club("TOR", venue(3, 3, 2, 2), venue(2, 2, 2, 2.0625)),          // 3.125 %
        club("DAL", venue(4, 4.125, 2, 2), venue(3, 3, 2, 2)),           // 3.125 %
    };
    const FitCheckSummary summary = summarizeFitCheck(check);
    EXPECT_EQ(summary.clubs, 5U);
    EXPECT_EQ(summary.within, 1U);
    ASSERT_EQ(summary.worst.size(), WorstClubsShown);
    EXPECT_EQ(summary.worst[0].code, "CAL");
    EXPECT_TRUE(std::isinf(summary.worst[0].largestMiss));
    EXPECT_EQ(summary.worst[1].code, "BOS");
    EXPECT_NEAR(summary.worst[1].largestMiss, 0.05, 1e-12);
    EXPECT_EQ(summary.worst[2].code, "DAL"); // before TOR, missing as much
    EXPECT_DOUBLE_EQ(summary.worst[2].largestMiss, 0.03125);

    // A looser tolerance takes the 3.125 % clubs in; fewer clubs than asked for are all named.
    const FitCheckSummary loose = summarizeFitCheck(check, 10, 0.04);
    EXPECT_EQ(loose.within, 3U);
    EXPECT_EQ(loose.worst.size(), 5U);
    EXPECT_EQ(loose.worst.back().code, "ANA");
    EXPECT_NEAR(loose.worst.back().largestMiss, 0.05 / 3, 1e-12);

    EXPECT_EQ(summarizeFitCheck({}).clubs, 0U);
}

} // namespace
} // namespace zelkor
