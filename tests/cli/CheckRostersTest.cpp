#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <sys/stat.h>

namespace zelkor::test {
namespace {

const std::string SampleRosters = ZELKOR_SAMPLE_ROSTERS;

// The TOR sample with line `line` (1 to 18) replaced.
std::string withLine(int line, const std::string& replacement) {
    const std::string roster = sampleRoster("TOR");
    std::size_t start = 0;
    for (int k = 1; k < line; ++k) {
        start = roster.find('\n', start) + 1;
    }
    const std::size_t end = roster.find('\n', start);
    return roster.substr(0, start) + replacement + roster.substr(end);
}

// 18 players alike, each with the given "games,goals,assists".
std::string eighteenAlike(const std::string& values) {
    std::string roster;
    for (int k = 0; k < 18; ++k) {
        roster += "P" + std::to_string(k) + "," + values + "\n";
    }
    return roster;
}

struct BrokenFile {
    const char* name;
    std::string content;
    std::vector<std::string> expected; ///< lines the report must hold
};

TEST(CheckRosters, ReportsEveryProblemWithItsLine) {
    const std::vector<BrokenFile> files = {
        {"ANA", sampleRoster("BOS"), {"/ANA: usable"}},
        // A season folder names its rosters by the league's codes.
        {"NSH", sampleRoster("BOS"), {"/NSH: usable"}},
        {"BOS",
         withLine(3, "Ann Example,0,5,5"),
         {"/BOS:3: error: player row 3, games played: 0;", "/BOS: 1 error, 0 warnings"}},
        {"CHI",
         withLine(2, "Ann Example,-2,5,5"),
         {"/CHI:2: error: player row 2, games played: negative"}},
        {"DAL",
         withLine(5, "Ann Example,70,many,12x"),
         {"/DAL:5: warning: player row 5, goals: 'many' is not a number; it counts 0",
          "/DAL:5: warning: player row 5, assists: '12x' is read as 12",
          "/DAL: 0 errors, 2 warnings"}},
        {"DET",
         withLine(4, "Example, Ann,70,5,5"),
         {"/DET:4: warning: player row 4: the line has more than 4 fields",
          "/DET:4: error: player row 4, games played: 0;"}},
        {"EDM",
         sampleRoster("BOS") + "Spare Player,10,1,1\n",
         {"/EDM:19: note: line 19 is ignored", "/EDM: 0 errors, 0 warnings, 1 note: usable"}},
        {"FLO", "A,1,1,1\nB,1,1,1\n", {"/FLO:2: error: ends after 8 items; a roster needs 72"}},
        {"NYI",
         eighteenAlike("80,3e38,5"),
         {"/NYI:2: error: Overflow in adding up the goals of roster file 'NYI'"}},
        {"NJD",
         "A,1,1,1\n\"B,1,1,1\nC,1,1,1\n",
         {"/NJD:2: error: player row 2, name: the quote opened on line 2 is never closed"}},
        {"LAK",
         std::string("\x89PNG\r\n\x1a\n\0\0\0", 11),
         {"/LAK:3: error: not plain text (line 3 holds a NUL character)"}},
        // What a prediction reads, it is usable: names that look like numbers, and
        // anything after the 72nd item.
        {"NYR",
         withLine(1, "12,70,5,5") + "\n\n-7,1,1\n" + std::string(1, '\0'),
         {"/NYR:1: note: player row 1, name: the name '12' is a number",
          "/NYR:21: note: lines 21 to 22 are ignored",
          "/NYR: 0 errors, 0 warnings, 2 notes: usable"}},
        {"MIN",
         eighteenAlike("80,5,0"),
         {"/MIN: error: the assists of the 18 players add up to 0"}},
    };
    TempFolder folder;
    for (const BrokenFile& file : files) {
        folder.write(file.name, file.content);
    }
    folder.write("README", "not a roster\n");
    // A pipe in a roster's place is refused, not waited on.
    ASSERT_EQ(::mkfifo((folder.path() / "NAS").c_str(), 0600), 0);
    const CliResult result = runCli({"check-rosters", folder.path().string()});
    EXPECT_EQ(result.exitStatus, 1);
    for (const BrokenFile& file : files) {
        for (const std::string& line : file.expected) {
            EXPECT_NE(result.out.find(line), std::string::npos) << file.name << ": " << line;
        }
    }
    EXPECT_EQ(result.out.find("README"), std::string::npos);
    EXPECT_NE(result.out.find("/NAS: error: not a plain file (a named pipe)"), std::string::npos);
    EXPECT_NE(result.out.find("Checked 14 files: 9 not usable."), std::string::npos) << result.out;

    // A folder that can be searched but not listed, as a prediction reads it.
    TempFolder hidden;
    hidden.write("BOS", sampleRoster("BOS"));
    ASSERT_EQ(::chmod(hidden.path().c_str(), 0311), 0);
    const CliResult unlisted = runCli({"check-rosters", hidden.path().string()});
    ::chmod(hidden.path().c_str(), 0755);
    EXPECT_EQ(unlisted.exitStatus, 0) << unlisted.out;
    EXPECT_NE(unlisted.out.find("/BOS: usable"), std::string::npos) << unlisted.out;

    // One good file checks out; the samples all do.
    EXPECT_EQ(runCli({"check-rosters", (folder.path() / "ANA").string(), "--json"}).exitStatus, 0);
    EXPECT_EQ(runCli({"check-rosters", SampleRosters}).exitStatus, 0);
}

} // namespace
} // namespace zelkor::test
