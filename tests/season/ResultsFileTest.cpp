#include "season/ResultsFile.h"

#include "season/DataErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace zelkor {
namespace {

const std::string SiteHeader = "Date,Visitor,G,Home,G,,Att.,LOG,Notes\n";

ResultsFile read(const std::string& text, TeamCodeKind kind = TeamCodeKind::Program) {
    return readResults(parseCsv(text, "F"), "F", TeamCodeMap({}, kind), 2.8f);
}

// The site's table: full names old and new, goals written 4.0, a level score after
// overtime as a tie, a postponed game without goals skipped.
TEST(ResultsFile, ReadsTheSitesGameTable) {
    const std::string text = SiteHeader +
                             "2000-10-04,Colorado Avalanche,2,Dallas Stars,2,OT,,,\n"
                             "2013-10-01,Winnipeg Jets,5.0,Phoenix Coyotes,4,,16839.0,,\n"
                             "2014-01-07,Carolina Hurricanes,,Buffalo Sabres,,,,,Postponed\n"
                             "2014-10-09,Montréal Canadiens,3,St. Louis Blues,2,SO,,,\n"
                             "2014-10-10,Mighty Ducks of Anaheim,1,Vegas Golden Knights,"
                             "2,OT,,,\n";
    const ResultsFile league = read(text, TeamCodeKind::League);
    EXPECT_EQ(league.skipped, 1);
    ASSERT_EQ(league.games.size(), 4u);
    const struct {
        const char* visitor;
        const char* home;
        int visitorGoals;
        GameEnd end;
    } expected[] = {
        {"COL", "DAL", 2, GameEnd::Tie},
        {"WPG", "PHX", 5, GameEnd::Regulation},
        {"MTL", "STL", 3, GameEnd::Shootout},
        {"ANA", "VGK", 1, GameEnd::Overtime},
    };
    for (std::size_t k = 0; k < league.games.size(); ++k) {
        EXPECT_EQ(league.games[k].visitor, expected[k].visitor) << k;
        EXPECT_EQ(league.games[k].home, expected[k].home) << k;
        EXPECT_EQ(league.games[k].visitorGoals, expected[k].visitorGoals) << k;
        EXPECT_EQ(league.games[k].end, expected[k].end) << k;
    }
    // Program codes, as the backtest's rosters are named; the built-in table rates no VGK.
    const std::string rated = text.substr(0, text.rfind("2014-10-10"));
    const ResultsFile program = read(rated);
    EXPECT_EQ(program.games[1].visitor, "ATL");
    EXPECT_EQ(program.games[1].home, "PHO");
    EXPECT_EQ(program.games[2].visitor, "MON");
    EXPECT_EQ(program.games[2].home, "SLB");
    try {
        read(text);
        ADD_FAILURE() << "VGK has no program code";
    } catch (const InputDataError& error) {
        EXPECT_NE(std::string(error.what()).find("line 6, home: 'Vegas Golden Knights'"),
                  std::string::npos)
            << error.what();
    }
}

TEST(ResultsFile, RefusesValuesWithLineAndColumn) {
    const std::string header = "date,visitor,home,visitor_goals,home_goals,result,visitor_gaa,"
                               "home_gaa,visitor_odds,home_odds\n";
    const struct {
        const char* row;
        const char* message;
    } cases[] = {
        {"2024-10-09,BOS,TOR,100,2,", "line 2, visitor_goals: '100' is more than 99"},
        {"2024-10-09,BOS,TOR,3,3,REG",
         "line 2, result: 'REG' has a winner, but the score is level"},
        {"2024-10-09,BOS,TOR,2,2,SO", "line 2, result: 'SO' has a winner"},
        {"2024-10-09,BOS,TOR,3,2,T", "line 2, result: 'T' is a tie, but the score is not level"},
        {"2024-10-09,BOS,TOR,3.5,2,", "visitor_goals: '3.5' is not a whole number"},
        {"2024-10-09,BOS,TOR,3,,", "home_goals: '' is not a whole number"},
        {"yesterday,BOS,TOR,3,2,", "line 2, date: 'yesterday' is not a date"},
        {"2024-10-09T19:00,BOS,TOR,3,2,", "date: '2024-10-09T19:00' is not a date"},
        {"2024-13-09,BOS,TOR,3,2,", "date: '2024-13-09' is not a date"},
        {"2023-02-29,BOS,TOR,3,2,", "date: '2023-02-29' is not a date"},
        {"2024-10-09,BOS,TOR,1000000000,2,", "visitor_goals: '1000000000' is more than 99"},
        {"2024-10-09,BOS,TOR,3,2,,1e-45,2.5", "line 2, visitor_gaa: '1e-45' is too small"},
        {"2024-10-09,BOS,TOR,3,2,,2.5,1e-300", "line 2, home_gaa: '1e-300' is too small"},
        {"2024-10-09,BOS,TOR,3,2,,,,-1e300,1.9", "line 2: the odds '-1e300' and '1.9' are not"},
        {"2024-10-09,BOS,TOR,3,2,,,,+100001,1.9", "American odds from 100 to 100,000"},
    };
    for (const auto& c : cases) {
        try {
            read(header + c.row + "\n");
            ADD_FAILURE() << c.row << " was read";
        } catch (const InputDataError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    const ResultsFile tie = read(header + "2000-10-04,COL,DAL,2,2,t\n");
    EXPECT_EQ(tie.games.at(0).end, GameEnd::Tie);
    // 99 goals is the most a side is read with.
    const ResultsFile most = read(header + "2000-10-04,COL,DAL,99,0,REG\n");
    EXPECT_EQ(most.games.at(0).visitorGoals, 99);
    // A date of 500 characters is cut in the message; a missing column is named alone.
    for (const auto& [text, message] :
         {std::pair{header + std::string(500, '2') + ",BOS,TOR,3,2,\n", "line 2, date: '2222"},
          std::pair{std::string("date,visitor,home,visitor_goals\n2024-10-09,BOS,TOR,3\n"),
                    "line 1: the header row has no column home_goals, nor a G"},
          std::pair{std::string("date,visitors,home\n"),
                    "line 1: the header row has no column visitor."}}) {
        try {
            read(text);
            ADD_FAILURE() << text << " was read";
        } catch (const InputDataError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
            EXPECT_LT(std::string(error.what()).size(), 400u);
        }
    }
}

// A club playing itself, or two clubs meeting twice on one day (at either venue), is a
// fault of the file that would rate a club on a game that never was.
TEST(ResultsFile, RefusesAClubPlayingItselfAndAGameListedTwice) {
    const std::string header = "date,visitor,home,visitor_goals,home_goals\n";
    const struct {
        const char* rows;
        const char* message; ///< empty: read
    } cases[] = {
        {"2024-10-09,TOR,CHI,3,1\n2024-10-10,BOS,BOS,3,2\n",
         "line 3: the visitor 'BOS' and the home team 'BOS' are the same club"},
        {"2024-10-10,BOS,BOS,,\n", "line 2: the visitor 'BOS'"}, // postponed, still wrong
        {"2024-10-09,TOR,CHI,3,1\n2024-10-09,BOS,DAL,2,4\n2024-10-09,TOR,CHI,3,1\n",
         "lines 2 and 4: the game of TOR and CHI on 2024-10-09 is listed twice"},
        {"2024-10-09,TOR,CHI,3,1\n2024-10-09,CHI,TOR,0,5\n",
         "lines 2 and 3: the game of CHI and TOR on 2024-10-09 is listed twice"},
        {"2024-10-09,TOR,CHI,3,1\n2024-10-10,TOR,CHI,3,1\n2024-10-09,TOR,BOS,3,1\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        try {
            const ResultsFile file = read(header + c.rows);
            EXPECT_STREQ(c.message, "");
            EXPECT_EQ(file.games.size(), 3u);
        } catch (const InputDataError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
            EXPECT_NE(std::string(c.message), "");
        }
    }
}

// One message names every team the file does not know, each with its lines.
TEST(ResultsFile, ListsEveryUnknownTeamAtOnce) {
    try {
        read(SiteHeader + "2014-10-08,Boston Bruins,1,Hamilton Tigers,2,,,,\n"
                          "2014-10-09,Quebec Bulldogs,1,Boston Bruins,2,,,,\n"
                          "2014-10-10,Hamilton Tigers,x,Boston Bruins,2,,,,\n",
             TeamCodeKind::League);
        ADD_FAILURE() << "unknown teams were read";
    } catch (const InputDataError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("2 teams without a code"), std::string::npos) << message;
        EXPECT_NE(message.find("line 2, home: 'Hamilton Tigers' is not a team code of the league "
                               "nor a known name (lines 2 4)"),
                  std::string::npos)
            << message;
        EXPECT_NE(message.find("line 3, visitor: 'Quebec Bulldogs'"), std::string::npos) << message;
    }
}

// A level score is a tie when the file does not say how the game ended; a decided one is
// left unknown (it may have gone to overtime), and each side keeps its own figures.
TEST(ResultsFile, LevelScoreWithoutAResultIsATie) {
    const ResultsFile file = read("date,visitor,home,visitor_goals,home_goals,visitor_gaa,home_gaa,"
                                  "visitor_odds,home_odds\n"
                                  "2024-10-09,BOS,TOR,2,2,2.4,3.1,2.5,1.6\n"
                                  "2024-10-10,TOR,BOS,4,1,,2.2,,\n");
    ASSERT_EQ(file.games.size(), 2u);
    EXPECT_EQ(file.games[0].end, GameEnd::Tie);
    EXPECT_EQ(file.games[1].end, GameEnd::Unknown);
    EXPECT_EQ(file.games[0].visitor, "BOS");
    EXPECT_EQ(file.games[0].home, "TOR");
    EXPECT_FLOAT_EQ(file.games[0].visitorGaa, 2.4f);
    EXPECT_FLOAT_EQ(file.games[0].homeGaa, 3.1f);
    ASSERT_TRUE(file.games[0].odds);
    EXPECT_DOUBLE_EQ(file.games[0].odds->visitor, 2.5);
    EXPECT_DOUBLE_EQ(file.games[0].odds->home, 1.6);
    EXPECT_FALSE(file.games[1].odds);
    EXPECT_FLOAT_EQ(file.games[1].visitorGaa, 2.8f); // the default
    EXPECT_FLOAT_EQ(file.games[1].homeGaa, 2.2f);
    EXPECT_EQ(file.games[1].visitorGoals, 4);
    EXPECT_EQ(file.games[1].homeGoals, 1);
    EXPECT_EQ(file.games[1].line, 3);
    EXPECT_EQ(file.skipped, 0);
    // A goalie the file gives no average has the reader's default, on either side.
    const ResultsFile defaults =
        readResults(parseCsv("date,visitor,home,visitor_goals,home_goals,visitor_gaa,home_gaa\n"
                             "2024-10-09,BOS,TOR,2,3,,\n",
                             "F"),
                    "F", TeamCodeMap(), 3.3f);
    EXPECT_FLOAT_EQ(defaults.games.at(0).visitorGaa, 3.3f);
    EXPECT_FLOAT_EQ(defaults.games.at(0).homeGaa, 3.3f);
    // American odds turned decimal, each on its own side.
    const ResultsFile american = read("date,visitor,home,visitor_goals,home_goals,visitor_odds,"
                                      "home_odds\n2024-10-09,BOS,TOR,2,3,+150,-200\n");
    EXPECT_DOUBLE_EQ(american.games.at(0).odds->visitor, 2.5);
    EXPECT_DOUBLE_EQ(american.games.at(0).odds->home, 1.5);
}

// A quoted note over two lines pushes the next record to line 4: messages name the line.
TEST(ResultsFile, MessagesNameTheLineOfTheFileNotTheRecordsPosition) {
    const std::string text = "date,visitor,home,visitor_goals,home_goals,note\n"
                             "2024-10-09,BOS,TOR,2,3,\"first line\nsecond line\"\n"
                             "2024-10-10,TOR,BOS,x,1,\n";
    try {
        read(text);
        ADD_FAILURE() << "'x' was read as goals";
    } catch (const InputDataError& error) {
        EXPECT_NE(std::string(error.what()).find("F, line 4, visitor_goals: 'x'"),
                  std::string::npos)
            << error.what();
    }
    const ResultsFile file = read(text.substr(0, text.rfind("2024-10-10")) +
                                  "2024-10-10,TOR,BOS,,,\n2024-10-11,TOR,BOS,1,0,\n");
    EXPECT_EQ(file.skipped, 1);
    ASSERT_EQ(file.games.size(), 2u);
    EXPECT_EQ(file.games[1].line, 5);
}

TEST(ResultsFile, ClubPlayingItselfOrAGameListedTwiceIsRefusedWithItsLine) {
    const std::string header = "date,visitor,home,visitor_goals,home_goals\n";
    for (const auto& [text, message] :
         {std::pair{header + "2024-10-09,BOS,TOR,2,3\n2024-10-10,BOS,BOS,1,0\n", "line 3"},
          std::pair{header + "2024-10-09,BOS,TOR,2,3\n2024-10-09,BOS,TOR,2,3\n",
                    "lines 2 and 3"}}) {
        try {
            read(text);
            ADD_FAILURE() << text << " was read";
        } catch (const InputDataError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
}

TEST(ResultsFile, DatesAreDaysOfTheCalendarWrittenYyyyMmDd) {
    for (const char* day : {"2024-10-09", "2024-02-29", "2000-02-29", "1999-12-31"}) {
        EXPECT_TRUE(isDate(day)) << day;
    }
    for (const char* text :
         {"2024-10/09", "2024/10-09", "2024-10-9", "2023-02-29", "1900-02-29", "2024-00-10",
          "2024-10-32", "20241009xx", "2024-10-09 ", "", "2O24-10-09"}) {
        EXPECT_FALSE(isDate(text)) << text;
    }
}

} // namespace
} // namespace zelkor
