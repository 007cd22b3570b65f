#include "season/OddsFile.h"

#include "season/DataErrors.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

const std::string ArchiveHeader =
    "Date,Rot,VH,Team,1st,2nd,3rd,Final,Open,Close,Puck Line,,Open OU,,Close OU,\n";

// A club's row of an archive's sheet: day, side, club, open and close money lines.
std::string archiveRow(const std::string& day, const std::string& side, const std::string& team,
                       const std::string& open, const std::string& close) {
    return day + ",1," + side + "," + team + ",0,1,1,2," + open + "," + close +
           ",1.5,-200,5.5,-110,5.5,-110\n";
}

ResultRow game(int line, const std::string& date, const std::string& visitor,
               const std::string& home) {
    ResultRow row;
    row.line = line;
    row.date = date;
    row.visitor = visitor;
    row.home = home;
    row.visitorGoals = 2;
    row.homeGoals = 3;
    return row;
}

// A season over the turn of the year, in league codes.
std::vector<ResultRow> season() {
    return {game(2, "2021-12-31", "MTL", "TOR"), game(3, "2022-01-05", "TBL", "NYR"),
            game(4, "2022-01-06", "STL", "SEA"), game(5, "2022-01-07", "VGK", "BOS"),
            game(6, "2022-01-08", "SJS", "NSH")};
}

// Every kind of game the archive writes: V then H, H then V, a day without an opening line,
// a neutral site listing the results' host first, a club it misspells, and a playoff game.
const std::string Archive = ArchiveHeader + archiveRow("1231", "V", "Montreal", "184", "210") +
                            archiveRow("1231", "H", "Toronto", "-220", "-240") +
                            archiveRow("105", "H", "NYRangers", "-140", "-130") +
                            archiveRow("105", "V", "TampaBay", "125", "+120") +
                            archiveRow("106", "V", "St.Louis", "-", "105") +
                            archiveRow("106", "H", "SeattleKraken", "-", "-125") +
                            archiveRow("108", "N", "Nashville", "-150", "-150") +
                            archiveRow("108", "N", "SanJose", "130", "130") +
                            archiveRow("109", "V", "Arizonas", "110", "115") +
                            archiveRow("109", "H", "Vegas", "-130", "-135") +
                            archiveRow("501", "V", "Boston", "100", "105") +
                            archiveRow("501", "H", "Carolina", "-120", "-125");

OddsFile readText(const std::string& text, OddsLine line = OddsLine::Close,
                  TeamCodeKind kind = TeamCodeKind::League) {
    return readOddsFile(parseCsv(text, "odds"), "The odds file", TeamCodeMap({}, kind), line);
}

TEST(OddsFile, AnArchivesClosingLinesJoinTheGamesByDayAndClub) {
    const OddsFile file = readText(Archive);
    ASSERT_EQ(file.unknownTeams.size(), 1u);
    EXPECT_EQ(file.unknownTeams[0].name, "Arizonas");
    EXPECT_EQ(file.unknownTeams[0].lines, std::vector<int>{10});
    std::vector<ResultRow> games = season();
    const OddsJoin join = joinOdds(games, file, "The odds file");
    EXPECT_EQ(join.matched, 4);
    EXPECT_EQ(join.gamesWithoutOdds, 1); // VGK at BOS
    EXPECT_EQ(join.unmatchedGames, 1);   // the playoff game in May
    EXPECT_EQ(join.unmatchedLines, std::vector<int>{12});
    // +210 and -240; the year of 1231 and of 105 from the results.
    ASSERT_TRUE(games[0].odds);
    EXPECT_DOUBLE_EQ(games[0].odds->visitor, 3.10);
    EXPECT_NEAR(games[0].odds->home, 1 + 100.0 / 240, 1e-12);
    // The home row came first: each price stays with its club.
    ASSERT_TRUE(games[1].odds);
    EXPECT_DOUBLE_EQ(games[1].odds->visitor, 2.20);
    EXPECT_NEAR(games[1].odds->home, 1 + 100.0 / 130, 1e-12);
    ASSERT_TRUE(games[2].odds);
    EXPECT_DOUBLE_EQ(games[2].odds->visitor, 2.05);
    EXPECT_DOUBLE_EQ(games[2].odds->home, 1.80);
    EXPECT_FALSE(games[3].odds);
    // The neutral site lists the results' host first.
    ASSERT_TRUE(games[4].odds);
    EXPECT_DOUBLE_EQ(games[4].odds->visitor, 2.30);
    EXPECT_NEAR(games[4].odds->home, 1 + 100.0 / 150, 1e-12);
}

TEST(OddsFile, TheOpeningLineIsTheOtherColumnAndADashIsNoLine) {
    std::vector<ResultRow> games = season();
    const OddsJoin join = joinOdds(games, readText(Archive, OddsLine::Open), "The odds file");
    EXPECT_EQ(join.matched, 4);
    EXPECT_EQ(join.gamesWithoutOdds, 2);
    EXPECT_DOUBLE_EQ(games[0].odds->visitor, 2.84);
    EXPECT_DOUBLE_EQ(games[1].odds->visitor, 2.25);
    EXPECT_FALSE(games[2].odds);
}

TEST(OddsFile, TheFilesOddsReplaceThoseOfTheResults) {
    std::vector<ResultRow> games = season();
    games[3].odds = GameOdds{2.0, 1.9}; // VGK at BOS, which the archive lacks
    joinOdds(games, readText(Archive), "The odds file");
    EXPECT_FALSE(games[3].odds);
}

TEST(OddsFile, APlainFileTakesDecimalAndAmericanOdds) {
    const std::string text = "date,visitor,home,visitor_odds,home_odds\n"
                             "2021-12-31,Montreal Canadiens,TOR,2.45,-150\n"
                             "2022-01-05,TBL,NYR,,\n";
    std::vector<ResultRow> games = season();
    const OddsJoin join = joinOdds(games, readText(text), "The odds file");
    EXPECT_EQ(join.matched, 2);
    EXPECT_DOUBLE_EQ(games[0].odds->visitor, 2.45);
    EXPECT_NEAR(games[0].odds->home, 1 + 100.0 / 150, 1e-12);
    EXPECT_FALSE(games[1].odds);
}

// Money lines run from 100 to 100000 either way, both ends included.
TEST(OddsFile, TheLongestAndShortestMoneyLinesAreRead) {
    std::vector<ResultRow> games = season();
    joinOdds(games,
             readText(ArchiveHeader + archiveRow("1231", "V", "Montreal", "100", "+100000") +
                      archiveRow("1231", "H", "Toronto", "-100", "-100000")),
             "The odds file");
    ASSERT_TRUE(games[0].odds);
    EXPECT_DOUBLE_EQ(games[0].odds->visitor, 1001.0);
    EXPECT_DOUBLE_EQ(games[0].odds->home, 1.001);
    EXPECT_THROW(readText(ArchiveHeader + archiveRow("1231", "V", "Montreal", "100", "+100001") +
                          archiveRow("1231", "H", "Toronto", "-100", "-100000")),
                 InputDataError);
}

TEST(OddsFile, ProgramCodesComeFromTheArchivesNamesToo) {
    const OddsFile file = readText(Archive, OddsLine::Close, TeamCodeKind::Program);
    ASSERT_EQ(file.games.size(), 4u);
    EXPECT_EQ(file.games[0].visitor, "MON");
    EXPECT_EQ(file.games[1].visitor, "TBL");
    EXPECT_EQ(file.games[2].visitor, "NAS");
    EXPECT_EQ(file.games[3].home, "CAR");
    // The built-in table has no Seattle: its game is left out and the name listed.
    ASSERT_EQ(file.unknownTeams.size(), 3u); // and Arizonas, and Vegas, which it lacks too
    EXPECT_EQ(file.unknownTeams[0].name, "SeattleKraken");
    EXPECT_EQ(file.unknownTeams[0].lines, std::vector<int>{7});
}

// The message of what a text makes the reader or the join throw.
std::string refusal(const std::string& text) {
    try {
        std::vector<ResultRow> games = season();
        joinOdds(games, readText(text), "The odds file");
    } catch (const InputDataError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(OddsFile, BadInputIsRefusedWithItsLine) {
    const std::string montreal = archiveRow("1231", "V", "Montreal", "184", "210");
    struct Case {
        std::string text;
        std::string message;
    };
    const std::vector<Case> cases = {
        {ArchiveHeader + montreal + archiveRow("1231", "H", "Toronto", "-220", "0"),
         "line 3, Close: '0' is not a money line"},
        {ArchiveHeader + montreal + archiveRow("1231", "H", "Toronto", "+50", "-240"),
         "line 3, Open: '+50' is not a money line"},
        {ArchiveHeader + montreal + archiveRow("1231", "H", "Toronto", "-220", "-99"),
         "line 3, Close: '-99'"},
        {ArchiveHeader + montreal + archiveRow("1231", "H", "Toronto", "-220", "even"),
         "line 3, Close: 'even'"},
        {ArchiveHeader + montreal + archiveRow("1231", "V", "Toronto", "-220", "-240"),
         "line 2: the V row of 'Montreal' has no H row"},
        {ArchiveHeader + montreal, "line 2: the V row of 'Montreal' has no H row"},
        {ArchiveHeader + montreal + archiveRow("1230", "H", "Toronto", "-220", "-240"),
         "line 2: the V row of 'Montreal' has no H row of the same day"},
        {ArchiveHeader + archiveRow("1340", "V", "Montreal", "184", "210") +
             archiveRow("1340", "H", "Toronto", "-220", "-240"),
         "line 2, Date: '1340' is not a day"},
        {ArchiveHeader + montreal + archiveRow("1231", "H", "Toronto", "-220", "-240") + montreal +
             archiveRow("1231", "H", "Toronto", "-200", "-210"),
         "line 4: MTL at TOR on 2021-12-31 is listed on line 2 already"},
        {ArchiveHeader + archiveRow("1230", "V", "Montreal", "184", "210") +
             archiveRow("1230", "H", "Toronto", "-220", "-240"),
         "none of its 1 games is a game of the results"},
        {ArchiveHeader + archiveRow("1231", "V", "Arizonas", "184", "210") +
             archiveRow("1231", "H", "Toronto", "-220", "-240"),
         "holds no game between two clubs it knows"},
        {"date,visitor,home,visitor_odds,home_odds\n2021-12-31,MTL,TOR,1.00,1.80\n",
         "line 2, visitor_odds: '1.00' is not decimal odds"},
        {"date,visitor,home\n2021-12-31,MTL,TOR\n", "visitor_odds"},
    };
    for (const Case& known : cases) {
        SCOPED_TRACE(known.text);
        const std::string message = refusal(known.text);
        EXPECT_NE(message.find(known.message), std::string::npos) << message;
        EXPECT_EQ(message.find("accepted"), std::string::npos);
    }
}

} // namespace
} // namespace zelkor
