#include "season/TeamCodes.h"

#include "season/DataErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace zelkor {
namespace {

TEST(TeamCodes, ProgramCodesStandForThemselvesAndUnknownOnesForNothing) {
    for (const char* code : {"BOS", "MON", "NAS", "PHO", "AVG", "NAT", "WAT"}) {
        EXPECT_TRUE(isTeamCode(code)) << code;
        EXPECT_EQ(teamCodeFor(code), code);
    }
    EXPECT_EQ(teamCodeFor(" nyr "), "NYR");
    for (const char* unknown : {"SEA", "VGK", "MTL2", "", "QUE"}) {
        EXPECT_FALSE(isTeamCode(unknown)) << unknown;
        EXPECT_FALSE(teamCodeFor(unknown)) << unknown;
    }
    EXPECT_EQ(teamCodeFor("WPG"), "ATL");
    EXPECT_EQ(teamCodeFor("UTA"), "PHO");
}

TEST(TeamCodes, TotalRowsOfSeveralTeams) {
    for (const char* total : {"tot", "3TM", " 2TM "}) {
        EXPECT_TRUE(isTotalRow(total)) << total;
    }
    for (const char* team : {"TM", "ATM", "T.B", "MTL", "2T"}) {
        EXPECT_FALSE(isTotalRow(team)) << team;
    }
}

TEST(TeamCodes, MappingProblemsNameTheFormAndTheKindOfCode) {
    EXPECT_EQ(teamMappingProblem("SEA=AVG"), "");
    EXPECT_EQ(teamMappingProblem(" sea = avg "), "");
    EXPECT_EQ(teamMappingProblem("VEG=VGK", TeamCodeKind::League), "");
    EXPECT_NE(teamMappingProblem("SEA"), "");
    EXPECT_NE(teamMappingProblem("=AVG"), "");
    EXPECT_NE(teamMappingProblem("SEA=").find("a team code of the program"), std::string::npos);
    // A league code is not a program code, and the other way round.
    EXPECT_NE(teamMappingProblem("VEG=VGK").find("a team code of the program, e.g. SEA=AVG"),
              std::string::npos);
    EXPECT_NE(teamMappingProblem("SEA=AVG", TeamCodeKind::League).find("a league code"),
              std::string::npos);
    EXPECT_NE(teamMappingProblem("SEA", TeamCodeKind::League).find("e.g. SEA=SEA"),
              std::string::npos);
}

TEST(TeamCodes, TheUsersMappingComesFirstThenTheTablesByKind) {
    const TeamCodeMap program({"MTL=BOS", "seattle=avg"});
    EXPECT_EQ(program.kind(), TeamCodeKind::Program);
    EXPECT_EQ(program.codeFor("mtl"), "BOS");
    EXPECT_EQ(program.codeFor("Seattle"), "AVG");
    EXPECT_EQ(program.codeFor("T.B"), "TBL");
    EXPECT_EQ(program.codeFor("Montreal Canadiens"), "MON");
    EXPECT_EQ(program.codeFor("Phoenix Coyotes"), "PHO");
    EXPECT_EQ(program.codeFor("Winnipeg Jets"), "ATL");
    EXPECT_FALSE(program.codeFor("Seattle Kraken"));
    EXPECT_FALSE(program.codeFor("Quebec Nordiques"));

    const TeamCodeMap league({"PHX=ARI"}, TeamCodeKind::League);
    EXPECT_EQ(league.codeFor("PHX"), "ARI");
    EXPECT_EQ(league.codeFor("Phoenix Coyotes"), "PHX");
    EXPECT_EQ(league.codeFor("MON"), "MTL");
    EXPECT_EQ(league.codeFor("Seattle Kraken"), "SEA");
    EXPECT_EQ(league.codeFor("TBL"), "TBL");
    EXPECT_FALSE(league.codeFor("AVG"));

    EXPECT_THROW(TeamCodeMap({"SEA=AVG"}, TeamCodeKind::League), InputDataError);
    EXPECT_THROW(TeamCodeMap({"SEA"}), InputDataError);
}

} // namespace
} // namespace zelkor
