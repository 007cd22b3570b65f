#include "season/TeamTotalsFile.h"

#include "season/DataErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace zelkor {
namespace {

const std::string Header = "year,lgID,tmID,franchID,confID,divID,rank,playoff,G,W,L,T,OTL,Pts,"
                           "SoW,SoL,GF,GA,name,PIM,BenchMinor,PPG,PPC,SHA,PKG,PKC,SHF\n";
const std::string Anaheim2000 = "2000,NHL,ANA,AND,WC,PC,5,,82,25,41,11,5,66,,,188,245,Mighty "
                                "Ducks of Anaheim,1136,12,66,373,13,71,390,6\n";
const std::string Anaheim2013 = "2013,NHL,AND,AND,WC,PC,1,CSF,82,54,20,,8,116,3,6,266,209,"
                                "Anaheim Ducks,894,12,44,275,8,48,270,10\n";
const std::string Calgary2013 = "2013,NHL,CAL,CAL,WC,PC,6,,82,35,40,,7,77,4,5,209,241,"
                                "Calgary Flames,1209,8,41,267,7,51,292,5\n";

std::map<std::string, TeamTotals> read(const std::string& text, std::optional<int> year = {}) {
    return readTeamTotals(parseCsv(text, "F"), "F", TeamCodeMap({}, TeamCodeKind::League), year);
}

TEST(TeamTotalsFile, ReadsTheDatabanksFiguresByLeagueCode) {
    const auto totals = read(Header + Anaheim2013 + Calgary2013);
    ASSERT_EQ(totals.size(), 2u);
    const TeamTotals& anaheim = totals.at("ANA");
    EXPECT_EQ(anaheim.games, 82);
    EXPECT_EQ(anaheim.goalsFor, 266);
    EXPECT_EQ(anaheim.goalsAgainst, 209);
    EXPECT_EQ(anaheim.penaltyMinutes, 894);
    EXPECT_EQ(anaheim.powerPlayGoals, 44);
    EXPECT_EQ(anaheim.powerPlayChances, 275);
    EXPECT_EQ(anaheim.shortHandedGoalsAgainst, 8);
    EXPECT_EQ(anaheim.powerPlayGoalsAgainst, 48);
    EXPECT_EQ(anaheim.timesShortHanded, 270);
    EXPECT_EQ(anaheim.shortHandedGoalsFor, 10);
    EXPECT_EQ(anaheim.shootoutWins, 3);
    EXPECT_EQ(anaheim.shootoutLosses, 6);
    EXPECT_EQ(totals.at("CGY").goalsFor, 209);
    // Before shootouts the databank leaves them blank; a file without tmID goes by name.
    EXPECT_FALSE(read(Header + Anaheim2000).at("ANA").shootoutWins.has_value());
    EXPECT_EQ(read("name,GF\nCalgary Flames,209\n").at("CGY").goalsFor, 209);
}

TEST(TeamTotalsFile, RefusesWhatCannotBeRead) {
    const struct {
        std::string text;
        std::optional<int> year;
        const char* message;
    } cases[] = {
        {Header + Anaheim2000 + Anaheim2013, {}, "holds 2 years (from 2000 to 2013); choose one"},
        {Header + Anaheim2000, 2013, "no team of the year 2013"},
        {Header + Anaheim2013 + Anaheim2013, {}, "line 3: team ANA is listed again"},
        {"tmID,GF\nXYZ,1\nANA,2\nQQQ,3\n", {}, "line 2: 'XYZ'\n  line 4: 'QQQ'"},
        {"tmID,GF\nANA,-1\n", {}, "line 2, GF: '-1' is not a whole number"},
        {"GF,GA\n1,2\n", {}, "no header row naming the team column"},
        // Checked as what they become: a shootouts file's records and a goalie's average.
        {"tmID,G,GA,SoW,SoL\nANA,82,209,3,6\nCAL,82,241,5000,5\n",
         {},
         "line 3, shootout wins: '5000' for CGY are more than the 1000"},
        {"tmID,G,GA,SoW,SoL\nANA,82,209,3,1001\n", {}, "line 2, shootout losses: '1001' for ANA"},
        {"tmID,G,GA\nANA,82,209\nCAL,82,0\n",
         {},
         "line 3, GA: '0' over 82 games gives CGY a goals-against average that a prediction "
         "refuses: '0' is not above 0"},
        // A file cut in the middle of a line.
        {Header + Anaheim2013 + "2013,NHL,CAL,CAL,WC,PC,6,,82,35,40,,7,77,4,5,20",
         {},
         "line 3: the row of CGY ends after 17 of the header's 27 fields; the file seems cut"},
    };
    for (const auto& c : cases) {
        try {
            read(c.text, c.year);
            ADD_FAILURE() << c.text << " was read";
        } catch (const InputDataError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
    EXPECT_EQ(read(Header + Anaheim2000 + Anaheim2013, 2000).at("ANA").goalsFor, 188);
}

// A site's table: teams by full name, a league row at the foot that is no club, the header
// repeated inside the table, and each figure from its own column.
// The site marks a playoff club with a '*' after its name.
TEST(TeamTotalsFile, ReadsASitesTableWithoutItsLeagueRowOrPlayoffMark) {
    const auto totals = read("Rk,Team,GP,PPO,TSH,SHG,GA\n"
                             "1,Boston Bruins*,82,250,301,7,177\n"
                             "Rk,Team,GP,PPO,TSH,SHG,GA\n"
                             "2,Toronto Maple Leafs,80,270,288,3,256\n"
                             ",League Average,82,260,260,5,220\n"
                             ",League Total,2624,8300,8300,160,7000\n");
    ASSERT_EQ(totals.size(), 2u);
    const TeamTotals& boston = totals.at("BOS");
    EXPECT_EQ(boston.games, 82);
    EXPECT_EQ(boston.powerPlayChances, 250);
    EXPECT_EQ(boston.timesShortHanded, 301);
    EXPECT_EQ(boston.shortHandedGoalsFor, 7);
    EXPECT_EQ(boston.goalsAgainst, 177);
    EXPECT_FALSE(boston.goalsFor);
    EXPECT_EQ(boston.line, 2);
    EXPECT_EQ(totals.at("TOR").games, 80);
    EXPECT_EQ(totals.at("TOR").line, 4);
}

// The site's own export names power-play goals PP (against: PPA), chances PPO (against:
// PPOA) and short-handed goals SH: all of a club's special teams come from it.
TEST(TeamTotalsFile, ReadsTheSitesSpecialTeamsColumns) {
    const auto totals = read("Rk,Team,GP,GF,GA,PP,PPO,PP%,PPA,PPOA,PK%,SH,SHA\n"
                             "1,Tampa Bay Lightning*,82,319,221,74,262,28.24,40,267,85.02,12,3\n"
                             "2,Boston Bruins*,82,257,212,64,250,25.6,46,278,83.45,7,5\n");
    ASSERT_EQ(totals.size(), 2u);
    const TeamTotals& tampa = totals.at("TBL");
    EXPECT_EQ(tampa.powerPlayGoals, 74);
    EXPECT_EQ(tampa.powerPlayChances, 262);
    EXPECT_EQ(tampa.powerPlayGoalsAgainst, 40);
    EXPECT_EQ(tampa.timesShortHanded, 267);
    EXPECT_EQ(tampa.shortHandedGoalsFor, 12);
    EXPECT_EQ(tampa.shortHandedGoalsAgainst, 3);
    EXPECT_EQ(totals.at("BOS").powerPlayGoals, 64);
    EXPECT_EQ(totals.at("BOS").timesShortHanded, 278);
}

} // namespace
} // namespace zelkor
