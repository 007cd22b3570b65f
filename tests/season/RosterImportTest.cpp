#include "season/RosterImport.h"

#include "season/CsvFile.h"
#include "season/TeamCodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelkor {
namespace {

struct Choice {
    const char* label;
    std::string rows;  ///< of team TOR: name, position, games, goals, assists
    std::string order; ///< the names of the 18 chosen, best first
    const char* note = "";
};

// Forwards F01 to F12 with 24 points down to 2, and filler forwards X1... with 1 point.
std::string forwards(int count, int from = 1) {
    std::string text;
    for (int k = from; k < from + count; ++k) {
        const int points = 26 - 2 * k;
        text += (k < 10 ? "F0" : "F") + std::to_string(k) + ",C,80," + std::to_string(points / 2) +
                "," + std::to_string(points - points / 2) + "\n";
    }
    return text;
}

std::string defence(int count) {
    std::string text;
    for (int k = 1; k <= count; ++k) {
        text += "D" + std::to_string(k) + ",D,80,1,0\n";
    }
    return text;
}

TEST(RosterImport, ChoosesTheBestTwelveForwardsAndSixDefencemen) {
    const std::vector<Choice> choices = {
        // D7 outscores F12 but only six defencemen go in; D1 outscores F02 and ranks above.
        {"seven defencemen",
         forwards(12) + "D1,D,80,3,20\nD2,D,80,9,10\nD3,D,80,5,10\nD4,D,80,1,10\nD5,D,80,2,5\n"
                        "D6,D,80,1,4\nD7,D,80,1,2\n",
         "F01 D1 F02 F03 D2 F04 F05 D3 F06 F07 D4 F08 F09 D5 F10 D6 F11 F12"},
        // Level on points: more goals first, then more games.
        {"ties on points",
         forwards(9, 4) + defence(6) + "Aa,C,80,5,25\nBb,C,70,6,24\nCc,C,81,5,25\n",
         "Bb Cc Aa F04 F05 F06 F07 F08 F09 F10 F11 F12 D1 D2 D3 D4 D5 D6"},
        // Goalies by any of their marks are no skaters, however many points they have.
        {"goalies left out",
         forwards(12) + defence(6) + "Gg,G,60,0,9\nKk,GK,50,1,8\nLl,Goalie,40,0,7\n",
         "F01 F02 F03 F04 F05 F06 F07 F08 F09 F10 F11 F12 D1 D2 D3 D4 D5 D6"},
        {"a player listed twice", forwards(11, 2) + defence(6) + "Tim,C,40,6,7\nTim,C,30,6,7\n",
         "Tim F02 F03 F04 F05 F06 F07 F08 F09 F10 F11 F12 D1 D2 D3 D4 D5 D6"},
        {"names alike once the marks are off",
         forwards(10, 3) + defence(6) + "Ann Lee\\lee01,C,80,20,20\nAnn Lee\\lee02,C,80,15,20\n",
         "Ann Lee Ann Lee F03 F04 F05 F06 F07 F08 F09 F10 F11 F12 D1 D2 D3 D4 D5 D6",
         "lines 18 and 19 both name 'Ann Lee'"},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.label);
        std::string text = "Player,Pos,GP,G,A\n" + choice.rows;
        const SkaterStatistics statistics =
            readSkaterStatistics(parseCsv(text, "test"), "test", TeamCodeMap(), "TOR");
        const ImportedRoster roster = chooseRoster("TOR", statistics.skaters);
        std::string order;
        for (const Skater& player : roster.players) {
            order += (order.empty() ? "" : " ") + player.name;
        }
        EXPECT_EQ(order, choice.order);
        if (*choice.note != '\0') {
            ASSERT_EQ(roster.notes.size(), 1u);
            EXPECT_NE(roster.notes[0].find(choice.note), std::string::npos) << roster.notes[0];
        } else {
            EXPECT_TRUE(roster.notes.empty());
        }
        if (std::string(choice.label) == "a player listed twice") {
            EXPECT_EQ(roster.players[0].games, 70);
        }
    }
}

} // namespace
} // namespace zelkor
