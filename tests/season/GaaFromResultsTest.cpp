#include "season/GaaFromResults.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

ResultRow game(const char* visitor, const char* home, int visitorGoals, int homeGoals) {
    ResultRow row;
    row.visitor = visitor;
    row.home = home;
    row.visitorGoals = visitorGoals;
    row.homeGoals = homeGoals;
    return row;
}

// Worked by hand, two games at the default of 2.8 added to each club's own:
// BOS at TOR 3-1, TOR at MON 2-4.
//   BOS let in 1 in 1 game:        (1 + 5.6) / 3 = 2.2
//   TOR let in 3 + 4 in 2 games:   (7 + 5.6) / 4 = 3.15
//   MON let in 2 in 1 game:        (2 + 5.6) / 3 = 2.5333
//   NYR has no game:               2.8
TEST(GaaFromResults, EachClubHasTheGoalsItLetInWithTwoGamesAtTheDefault) {
    const std::map<std::string, Single> gaa = gaaFromResults(
        {game("BOS", "TOR", 3, 1), game("TOR", "MON", 2, 4)}, {"BOS", "TOR", "MON", "NYR"}, 2.8);
    ASSERT_EQ(gaa.size(), 4U);
    EXPECT_FLOAT_EQ(gaa.at("BOS"), 2.2f);
    EXPECT_FLOAT_EQ(gaa.at("TOR"), 3.15f);
    EXPECT_FLOAT_EQ(gaa.at("MON"), 7.6f / 3);
    EXPECT_FLOAT_EQ(gaa.at("NYR"), 2.8f);
}

TEST(GaaFromResults, AShutoutDoesNotGiveAnAverageOfZero) {
    const auto gaa = gaaFromResults({game("BOS", "TOR", 0, 5)}, {"BOS", "TOR"}, 3.0);
    EXPECT_FLOAT_EQ(gaa.at("TOR"), 2.0f);         // (0 + 6) / 3
    EXPECT_FLOAT_EQ(gaa.at("BOS"), 11.0f / 3.0f); // (5 + 6) / 3
}

TEST(GaaFromResults, OnlyTheClubsAskedForAreGiven) {
    const auto gaa = gaaFromResults({game("BOS", "TOR", 2, 3)}, {"BOS"}, 2.8);
    EXPECT_EQ(gaa.size(), 1U);
    EXPECT_EQ(gaa.count("TOR"), 0U);
}

} // namespace
} // namespace zelkor
