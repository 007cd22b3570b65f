#include "season/FitGames.h"

#include "season/DataErrors.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

ResultRow game(int line, const char* date, const char* visitor, const char* home) {
    ResultRow row;
    row.line = line;
    row.date = date;
    row.visitor = visitor;
    row.home = home;
    return row;
}

// Out of date order on purpose: the kept games stay in file order.
const std::vector<ResultRow> Season = {
    game(2, "2001-01-16", "BOS", "TOR"), game(3, "2001-01-14", "TOR", "MON"),
    game(4, "2001-01-15", "MON", "BOS"), game(5, "2000-12-31", "NYR", "BOS")};

std::vector<int> linesOf(const std::vector<ResultRow>& games) {
    std::vector<int> lines;
    for (const ResultRow& row : games) {
        lines.push_back(row.line);
    }
    return lines;
}

TEST(FitGames, KeepsTheGamesBeforeTheDayInFileOrder) {
    EXPECT_EQ(linesOf(gamesBefore(Season, "2001-01-15")), (std::vector<int>{3, 5}));
    // The day itself is left out; the next day takes it.
    EXPECT_EQ(linesOf(gamesBefore(Season, "2001-01-16")), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(linesOf(gamesBefore(Season, "")), (std::vector<int>{2, 3, 4, 5}));
    EXPECT_TRUE(gamesBefore(Season, "2000-01-01").empty());
}

TEST(FitGames, ADayThatIsNoDateIsRefusedNotComparedAsText) {
    // As text, "tomorrow" sorts after every date and "2001-1-15" between them.
    for (const char* before :
         {"tomorrow", "2001-1-15", "2023-02-29", "2001-01-15 ", "15.01.2001"}) {
        SCOPED_TRACE(before);
        EXPECT_THROW(gamesBefore(Season, before), InputDataError);
        ASSERT_TRUE(beforeDateProblem(before));
        EXPECT_NE(beforeDateProblem(before)->find("is not a date of the form YYYY-MM-DD"),
                  std::string::npos);
    }
    EXPECT_FALSE(beforeDateProblem("2024-02-29"));
}

TEST(FitGames, NoGameToFitIsRefusedWithTheFileAndDay) {
    try {
        checkGamesToFit({}, "results.csv", "2001-01-15");
        FAIL() << "no game was taken";
    } catch (const InputDataError& error) {
        EXPECT_STREQ(
            error.what(),
            "Results file 'results.csv' lists no game before 2001-01-15 to fit the ratings to.");
    }
    EXPECT_NO_THROW(checkGamesToFit(Season, "results.csv", ""));
}

// One shootout anywhere turns them on, not only in the last game.
TEST(FitGames, ShootoutsWhenAnyGameWentToOne) {
    std::vector<ResultRow> games = Season;
    EXPECT_FALSE(hadShootouts(games));
    games[1].end = GameEnd::Shootout;
    games[3].end = GameEnd::Overtime;
    EXPECT_TRUE(hadShootouts(games));
}

TEST(FitGames, ClubsOfBothSidesOnceInCodeOrder) {
    EXPECT_EQ(clubsOf(Season), (std::vector<std::string>{"BOS", "MON", "NYR", "TOR"}));
}

} // namespace
} // namespace zelkor
