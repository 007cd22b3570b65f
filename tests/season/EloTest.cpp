#include "season/Elo.h"

#include "season/CsvFile.h"
#include "season/DataErrors.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

ResultRow game(const std::string& date, const std::string& visitor, const std::string& home,
               int visitorGoals, int homeGoals) {
    ResultRow row;
    row.date = date;
    row.visitor = visitor;
    row.home = home;
    row.visitorGoals = visitorGoals;
    row.homeGoals = homeGoals;
    return row;
}

// Worked by hand with K 8 and 35 points at home. Day 1: BOS beats TOR 4-1 at home: margin
// 3 weighs 0.6686 ln 3 + 0.8048 = 1.53934, BOS's chance at level ratings is
// 1 / (1 + 10^(-35/400)) = 0.55020, so BOS gains 8 x 1.53934 x 0.44980 = 5.53914.
// Day 2: BOS (1505.539) draws 2-2 at MTL (1500): MTL's chance 1 / (1 + 10^(-29.461/400))
// = 0.54229, so MTL gains 8 x 1 x (0.5 - 0.54229) = -0.33837.
TEST(Elo, ASeasonPlaysInDateOrderAsWorkedOut) {
    const std::vector<ResultRow> season = {game("2021-10-14", "BOS", "MTL", 2, 2),
                                           game("2021-10-13", "TOR", "BOS", 1, 4)};
    const EloRatings end = playElo(season, EloParameters{});
    EXPECT_NEAR(end.at("BOS"), 1500 + 5.539141 + 0.338370, 1e-5);
    EXPECT_NEAR(end.at("TOR"), 1500 - 5.539141, 1e-5);
    EXPECT_NEAR(end.at("MTL"), 1500 - 0.338370, 1e-5);
}

TEST(Elo, ANewSeasonKeepsSixtyPercentOfEachClubsDistanceFromTheMean) {
    const EloRatings carried = carriedElo({{"BOS", 1600}, {"TOR", 1450}}, EloParameters{});
    EXPECT_DOUBLE_EQ(carried.at("BOS"), 1560);
    EXPECT_DOUBLE_EQ(carried.at("TOR"), 1470);
    // A carried start changes the first forecast: 1 / (1 + 10^(-(1560 + 35 - 1470)/400)).
    EXPECT_NEAR(eloHomeProbability(carried.at("BOS"), carried.at("TOR"), EloParameters{}), 0.67251,
                1e-5);
}

TEST(Elo, PlayingOnFromCarriedRatingsStartsAClubWithoutOneAtTheMean) {
    const EloRatings start = {{"BOS", 1560}};
    const EloRatings end =
        playElo({game("2021-10-13", "SEA", "BOS", 3, 2)}, EloParameters{}, start);
    // BOS's chance 1 / (1 + 10^(-95/400)) = 0.63341; a one-goal loss weighs 0.8048.
    const double change = 8 * 0.8048 * (0 - 0.633408);
    EXPECT_NEAR(end.at("BOS"), 1560 + change, 1e-4);
    EXPECT_NEAR(end.at("SEA"), 1500 - change, 1e-4);
}

TEST(Elo, AFileOfRatingsReadsBackWhatWasWrittenAndRefusesABadRow) {
    const EloRatings ratings = {{"ARI", 1487.25}, {"WSH", 1523.125}};
    EXPECT_EQ(parseEloFile(parseCsv(eloFileText(ratings), "elo"), "elo"), ratings);
    // The highest rating read is 10000 itself.
    EXPECT_EQ(parseEloFile(parseCsv("code,elo\nBOS,10000\n", "elo"), "elo").at("BOS"), 10000);
    EXPECT_THROW(parseEloFile(parseCsv("code,elo\nBOS,10000.5\n", "elo"), "elo"), InputDataError);
    for (const char* text : {"code,elo\nBOS,abc\n", "code,elo\nBOS,-5\n",
                             "code,elo\nBOS,1500\nBOS,1501\n", "team,rating\nBOS,1500\n"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(parseEloFile(parseCsv(text, "elo"), "elo"), InputDataError);
    }
    try {
        parseEloFile(parseCsv("code,elo\nBOS,1500\nTOR,x\n", "elo"), "Elo file 'elo.csv'");
        FAIL();
    } catch (const InputDataError& error) {
        EXPECT_STREQ(error.what(), "Elo file 'elo.csv', line 3, elo: 'x' is not a number above 0 "
                                   "and at most 10000.");
    }
}

} // namespace
} // namespace zelkor
