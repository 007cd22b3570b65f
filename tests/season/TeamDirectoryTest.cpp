#include "season/TeamDirectory.h"

#include "season/TeamCodes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zelkor {
namespace {

// A club that moved keeps its old name under its old code: its seasons there are its own.
TEST(TeamDirectory, FullNamesOfEveryEraMapToTheirOwnClubsCode) {
    const struct {
        const char* team;
        const char* code;
    } known[] = {
        {"Phoenix Coyotes", "PHX"},         {"Arizona Coyotes", "ARI"},
        {"Utah Hockey Club", "UTA"},        {"Utah Mammoth", "UTA"},
        {"Atlanta Thrashers", "ATL"},       {"Winnipeg Jets", "WPG"},
        {"Quebec Nordiques", "QUE"},        {"Colorado Avalanche", "COL"},
        {"Hartford Whalers", "HFD"},        {"Carolina Hurricanes", "CAR"},
        {"Minnesota North Stars", "MNS"},   {"Minnesota Wild", "MIN"},
        {"Mighty Ducks of Anaheim", "ANA"}, {"Montréal Canadiens", "MTL"},
        {"St Louis Blues", "STL"},          {"  vegas golden knights ", "VGK"},
        {"Chicago Black Hawks", "CHI"},     {"Seattle Kraken", "SEA"},
    };
    for (const auto& entry : known) {
        EXPECT_EQ(leagueCodeFor(entry.team), entry.code) << entry.team;
    }
    EXPECT_FALSE(leagueCodeFor("Hamilton Tigers"));
    EXPECT_FALSE(leagueCodeFor(""));
    EXPECT_FALSE(leagueCodeFor("Boston"));
}

TEST(TeamDirectory, AbbreviationsOfTheSitesAndTheDatabank) {
    const struct {
        const char* abbreviation;
        const char* code;
    } known[] = {
        {"T.B", "TBL"}, {"tb", "TBL"},  {"CBS", "CBJ"}, {"CLB", "CBJ"}, {"VEG", "VGK"},
        {"MDA", "ANA"}, {"PHO", "PHX"}, {"CAL", "CGY"}, {"MON", "MTL"}, {"NAS", "NSH"},
        {"L.A", "LAK"}, {"SLB", "STL"}, {"WAS", "WSH"}, {"HAR", "HFD"}, {"Utah", "UTA"},
        {"WIN", "WIN"}, {"wpg", "WPG"}, {"QUE", "QUE"},
    };
    for (const auto& entry : known) {
        EXPECT_EQ(leagueCodeFor(entry.abbreviation), entry.code) << entry.abbreviation;
    }
}

TEST(TeamDirectory, LeagueCodesTodaysClubsFirstEachOnce) {
    const auto codes = leagueCodes();
    ASSERT_EQ(codes.size(), 39u);
    EXPECT_EQ(codes.front(), "ANA");
    EXPECT_EQ(codes[32], "WPG");
    EXPECT_EQ(codes.back(), "WIN");
    const std::set<std::string_view> distinct(codes.begin(), codes.end());
    EXPECT_EQ(distinct.size(), codes.size());
    for (const std::string_view code : codes) {
        EXPECT_TRUE(isLeagueCode(code)) << code;
        EXPECT_EQ(leagueCodeFor(code), std::string(code));
    }
    // Codes only in upper case, and abbreviations are not codes.
    EXPECT_FALSE(isLeagueCode("bos"));
    EXPECT_FALSE(isLeagueCode("T.B"));
    EXPECT_FALSE(isLeagueCode("MON"));
    EXPECT_FALSE(isLeagueCode(""));
}

TEST(TeamDirectory, ProgramCodeOfALeagueCodeAsTheImportMapsIt) {
    const struct {
        const char* league;
        const char* program;
    } known[] = {
        {"MTL", "MON"}, {"NSH", "NAS"}, {"CGY", "CAL"}, {"FLA", "FLO"}, {"STL", "SLB"},
        {"WSH", "WAS"}, {"PHX", "PHO"}, {"ARI", "PHO"}, {"UTA", "PHO"}, {"WPG", "ATL"},
        {"BOS", "BOS"}, {"TBL", "TBL"}, {"LAK", "LAK"}, {"SJS", "SJS"}, {"NJD", "NJD"},
    };
    for (const auto& entry : known) {
        EXPECT_EQ(programCodeForLeague(entry.league), entry.program) << entry.league;
    }
    for (const char* unrated : {"SEA", "VGK", "QUE", "HFD", "MNS", "WIN", "MON", "T.B"}) {
        EXPECT_FALSE(programCodeForLeague(unrated)) << unrated;
    }
}

} // namespace
} // namespace zelkor
