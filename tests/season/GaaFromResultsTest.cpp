#include "season/GaaFromResults.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

ResultRow game(const char* visitor, const char* home, Single visitorGaa, Single homeGaa) {
    ResultRow row;
    row.visitor = visitor;
    row.home = home;
    row.visitorGoals = 6; // the goals let in are no part of a goalie's average
    row.homeGoals = 1;
    row.visitorGaa = visitorGaa;
    row.homeGaa = homeGaa;
    return row;
}

// Worked by hand, two starters at the default of 2.8 added to each club's own:
// BOS (2.0) at TOR (3.2), TOR (3.6) at MON (2.5).
//   BOS: (2.0 + 5.6) / 3       = 2.5333
//   TOR: (3.2 + 3.6 + 5.6) / 4 = 3.1
//   MON: (2.5 + 5.6) / 3       = 2.7
//   NYR has no game:             2.8
TEST(GaaFromResults, EachClubsUsualGoalieIsTheMeanOfItsStartersWithTwoAtTheDefault) {
    const std::map<std::string, Single> gaa =
        gaaFromResults({game("BOS", "TOR", 2.0f, 3.2f), game("TOR", "MON", 3.6f, 2.5f)},
                       {"BOS", "TOR", "MON", "NYR"}, 2.8);
    ASSERT_EQ(gaa.size(), 4U);
    EXPECT_FLOAT_EQ(gaa.at("BOS"), 7.6f / 3);
    EXPECT_FLOAT_EQ(gaa.at("TOR"), 3.1f);
    EXPECT_FLOAT_EQ(gaa.at("MON"), 2.7f);
    EXPECT_FLOAT_EQ(gaa.at("NYR"), 2.8f);
}

TEST(GaaFromResults, OneStarterAtZeroDoesNotGiveAnAverageOfZero) {
    const auto gaa = gaaFromResults({game("BOS", "TOR", 0.0f, 4.5f)}, {"BOS", "TOR"}, 3.0);
    EXPECT_FLOAT_EQ(gaa.at("BOS"), 2.0f); // (0 + 6) / 3
    EXPECT_FLOAT_EQ(gaa.at("TOR"), 3.5f); // (4.5 + 6) / 3
}

// A results file without averages gives every starter the default: so is every club's
// usual goalie, whatever the scores.
TEST(GaaFromResults, ResultsWithoutAveragesGiveEveryClubTheDefault) {
    const auto gaa = gaaFromResults(
        {game("BOS", "TOR", 2.8f, 2.8f), game("TOR", "BOS", 2.8f, 2.8f)}, {"BOS", "TOR"}, 2.8);
    EXPECT_FLOAT_EQ(gaa.at("BOS"), 2.8f);
    EXPECT_FLOAT_EQ(gaa.at("TOR"), 2.8f);
}

TEST(GaaFromResults, OnlyTheClubsAskedForAreGiven) {
    const auto gaa = gaaFromResults({game("BOS", "TOR", 2.5f, 3.0f)}, {"BOS"}, 2.8);
    EXPECT_EQ(gaa.size(), 1U);
    EXPECT_EQ(gaa.count("TOR"), 0U);
}

} // namespace
} // namespace zelkor
