#include "season/FitCheckTable.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

VenueCheck venue(double goalsFor, double simulatedFor, double against, double simulatedAgainst) {
    return {41, goalsFor, against, simulatedFor, simulatedAgainst};
}

TEST(FitCheckTable, RowsInCodeOrderEachWithinOnlyWhenAllFourFiguresAre) {
    const VenueCheck close = venue(3.0, 3.05, 2.5, 2.45);
    const std::vector<TeamFitCheck> check = {
        {"TOR", close, venue(3.0, 3.05, 2.0, 2.2)}, // home goals against 10 % too many
        {"BOS", close, close},
        {"MON", venue(2.0, 1.9, 3.0, 3.0), close}, // road goals for 5 % too few
    };
    const FitCheckTable table = fitCheckTable(check);
    ASSERT_EQ(table.rows.size(), 3U);
    EXPECT_EQ(table.rows[0].code, "BOS");
    EXPECT_EQ(table.rows[1].code, "MON");
    EXPECT_EQ(table.rows[2].code, "TOR");
    EXPECT_TRUE(table.rows[0].within);
    EXPECT_FALSE(table.rows[1].within);
    EXPECT_FALSE(table.rows[2].within);
    EXPECT_EQ(table.clubsWithin, 1);
    // The figures stay with their club and venue.
    EXPECT_DOUBLE_EQ(table.rows[2].home.simulatedAgainst, 2.2);
    EXPECT_DOUBLE_EQ(table.rows[1].road.simulatedFor, 1.9);
    EXPECT_DOUBLE_EQ(table.tolerance, FitTolerance);
}

TEST(FitCheckTable, ToleranceIsAShareOfTheRealGoals) {
    // 3 % of 4 goals is 0.12: 4.1 is within, 4.2 is not, on either side.
    EXPECT_TRUE(venue(4, 4.1, 4, 3.9).within(0.03));
    EXPECT_FALSE(venue(4, 4.2, 4, 4).within(0.03));
    EXPECT_FALSE(venue(4, 4, 4, 3.8).within(0.03));
}

} // namespace
} // namespace zelkor
