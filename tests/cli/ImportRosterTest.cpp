#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zelkor::test {
namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        result.push_back(line);
    }
    return result;
}

// A site's export as it comes: byte-order mark, CRLF, a row of column groups above the
// header, goals and assists by situation under repeated names, the header repeated
// inside the data. MTL has 14 forwards (points 40 down to 27), 4 defencemen (points 20
// down to 17), a goalie with more points than anyone, a quoted name with a comma and a
// quote, and a player traded from SEA whose total row must not count.
std::string siteExport() {
    std::string text = "\xEF\xBB\xBF,,,,,Scoring,,,Goals,,,Assists,,\r\n"
                       "Rk,Player,Tm,Pos,GP,G,A,PTS,EV,PP,SH,EV,PP,SH\r\n";
    for (int k = 0; k < 14; ++k) {
        const int points = 40 - k;
        const std::string name =
            k == 3 ? "\"Lyle, \"\"Ace\"\" Brandt\"" : "Fwd " + std::to_string(k);
        text += std::to_string(k + 1) + "," + name + ",MTL," + (k % 2 ? "LW" : "C") + ",80," +
                std::to_string(points / 2) + "," + std::to_string(points - points / 2) +
                ",0,1,1,1,1,1,1\r\n";
        if (k == 7) {
            text += "Rk,Player,Tm,Pos,GP,G,A,PTS,EV,PP,SH,EV,PP,SH\r\n";
        }
    }
    for (int k = 0; k < 4; ++k) {
        text += "20,Def " + std::to_string(k) + ",MTL,D,70,5," + std::to_string(15 - k) +
                ",0,1,1,1,1,1,1\r\n";
    }
    text += "30,Goalie One,MTL,G,60,0,90,90,0,0,0,0,0,0\r\n"
            "31,Traded Tom,TOT,C,80,40,40,80,0,0,0,0,0,0\r\n"
            "31,Traded Tom,SEA,C,50,30,30,60,0,0,0,0,0,0\r\n"
            "31,Traded Tom,MTL,C,30,10,9,19,0,0,0,0,0,0\r\n";
    return text;
}

TEST(ImportRoster, UntidySiteExportGivesTheTeamsBestEighteen) {
    TempFolder folder;
    folder.write("stats.csv", siteExport());
    const std::filesystem::path rosters = folder.path() / "rosters";
    const std::vector<std::string> arguments = {
        "import-roster", (folder.path() / "stats.csv").string(), "--team", "MON", "--to",
        rosters.string()};
    CliResult result = runCli(arguments);
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("only 4 defencemen; 2 forwards fill in"), std::string::npos)
        << result.out;

    const std::vector<std::string> roster = lines(readFile(rosters / "MON"));
    ASSERT_EQ(roster.size(), 18u);
    EXPECT_EQ(roster[0], "Fwd 0,80,20,20");
    EXPECT_EQ(roster[3], "\"Lyle, 'Ace' Brandt\",80,18,19");
    // Forwards 0 to 13 (40 to 27 points), then the defencemen with 20 to 17. The traded
    // player's 19 points for MTL rank below them; his total row (80) would have led.
    EXPECT_EQ(roster[13], "Fwd 13,80,13,14");
    EXPECT_EQ(roster[14], "Def 0,70,5,15");
    EXPECT_EQ(roster[17], "Def 3,70,5,12");
    EXPECT_EQ(readFile(rosters / "MON").find("Traded"), std::string::npos);
    EXPECT_EQ(readFile(rosters / "MON").find("Goalie"), std::string::npos);

    // The prediction reads what the import wrote.
    std::filesystem::copy_file(rosters / "MON", rosters / "TOR");
    result = runCli({"MON", "TOR", "--gaa-visitor", "2.8", "--gaa-home", "2.8", "--rosters",
                     rosters.string(), "--seed", "1"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;

    // An existing file stays unless replacing is asked for; then the old one is kept.
    folder.write("rosters/MON", "old\n");
    result = runCli(arguments);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("--force"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(rosters / "MON"), "old\n");
    std::vector<std::string> forced = arguments;
    forced.push_back("--force");
    result = runCli(forced);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(readFile(rosters / "MON.bak"), "old\n");
    EXPECT_EQ(lines(readFile(rosters / "MON")).size(), 18u);

    // A link named MON.bak is replaced by the backup, never followed out of the folder.
    folder.write("outside", "not a roster\n");
    std::filesystem::remove(rosters / "MON.bak");
    std::filesystem::create_symlink(folder.path() / "outside", rosters / "MON.bak");
    const std::string imported = readFile(rosters / "MON");
    result = runCli(forced);
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(readFile(folder.path() / "outside"), "not a roster\n");
    EXPECT_FALSE(std::filesystem::is_symlink(rosters / "MON.bak"));
    EXPECT_EQ(readFile(rosters / "MON.bak"), imported);
}

// The league's own export: long column names, one-letter positions, several teams, and a
// traded player's total row listing both his teams.
TEST(ImportRoster, LeagueExportImportsEveryTeam) {
    std::string text = "skaterFullName,teamAbbrevs,positionCode,gamesPlayed,goals,assists,points\n";
    for (const char* team : {"TOR", "NSH"}) {
        for (int k = 0; k < 18; ++k) {
            text += std::string(team) + " Skater " + std::to_string(k) + "," + team + "," +
                    (k < 12 ? "LRC"[k % 3] : 'D') + ",82," + std::to_string(30 - k) + ",10,0\n";
        }
    }
    text += "Both Ways,\"TOR, NSH\",C,82,99,99,198\n";
    TempFolder folder;
    folder.write("league.csv", text);
    const CliResult result = runCli({"import-roster", (folder.path() / "league.csv").string(),
                                     "--all", "--to", folder.path().string(), "--json"});
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_NE(result.out.find("\"code\": \"NAS\""), std::string::npos) << result.out;
    EXPECT_EQ(lines(readFile(folder.path() / "TOR"))[0], "TOR Skater 0,82,30,10");
    EXPECT_EQ(lines(readFile(folder.path() / "NAS")).size(), 18u);
    EXPECT_EQ(readFile(folder.path() / "TOR").find("Both"), std::string::npos);

    // Something other than a file in one team's place stops the import before any file is
    // written; a replaced file keeps its permissions.
    namespace fs = std::filesystem;
    const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(folder.path() / "TOR", ownerOnly);
    fs::remove(folder.path() / "NAS");
    fs::create_directory(folder.path() / "NAS");
    const std::vector<std::string> forced = {"import-roster",
                                             (folder.path() / "league.csv").string(),
                                             "--all",
                                             "--to",
                                             folder.path().string(),
                                             "--force"};
    const CliResult refused = runCli(forced);
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("is not a plain file"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("No roster file was written."), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.path() / "TOR.bak"));
    fs::remove(folder.path() / "NAS");
    ASSERT_EQ(runCli(forced).exitStatus, 0);
    EXPECT_EQ(fs::status(folder.path() / "TOR").permissions() & fs::perms::all, ownerOnly);
    EXPECT_EQ(fs::status(folder.path() / "TOR.bak").permissions() & fs::perms::all, ownerOnly);
}

struct Refusal {
    const char* label;
    std::string statistics;
    const char* message;
};

std::string header() {
    return "Player,Tm,Pos,GP,G,A\n";
}

std::string skaters(int count, const std::string& games = "80") {
    std::string text;
    for (int k = 0; k < count; ++k) {
        text += "P" + std::to_string(k) + ",TOR," + (k < 12 ? "C" : "D") + "," +
                (k == 0 ? games : "80") + ",5,5\n";
    }
    return text;
}

TEST(ImportRoster, UnusableStatisticsAreRefusedAndNothingIsWritten) {
    const std::vector<Refusal> refusals = {
        {"17 skaters", header() + skaters(17), "only 17 skaters"},
        {"a chosen player without games", header() + skaters(18, "0"), "0 games played"},
        {"goals not a number", header() + skaters(18) + "Odd,TOR,C,80,many,5\n",
         "line 20, goals: 'many' (Odd) is not a whole number"},
        {"a count beyond any career", header() + skaters(18) + "Odd,TOR,C,80,20000,5\n",
         "goals: '20000' (Odd) is not a whole number from 0 to 10000"},
        {"no header row", skaters(18), "no header row"},
        {"a header without goals", "Player,Tm,Pos,GP,A\n" + skaters(18),
         "line 1: the header row has no column goals"},
        {"no skater of the team", "Player,Tm,Pos,GP,G,A\nX,BOS,C,1,1,1\n", "no skater of team TOR"},
        // As the file's first bytes, the roster reader would take the file for UTF-16.
        {"a name beginning with FF FE", header() + skaters(17) + "\xFF\xFEOdd,TOR,C,80,50,50\n",
         "cannot be written: the name begins with a byte-order mark (bytes FF FE)"},
        {"a name that is only the site's marks", header() + skaters(17) + "*\\x1,TOR,C,80,50,50\n",
         "line 19 (*\\x1) cannot be written: the name is empty once the site's marks are taken "
         "off"},
    };
    for (const Refusal& refusal : refusals) {
        TempFolder folder;
        folder.write("stats.csv", refusal.statistics);
        const CliResult result = runCli({"import-roster", (folder.path() / "stats.csv").string(),
                                         "--team", "TOR", "--to", folder.path().string()});
        EXPECT_EQ(result.exitStatus, 1) << refusal.label;
        EXPECT_NE(result.err.find(refusal.message), std::string::npos)
            << refusal.label << ": " << result.err;
        EXPECT_FALSE(std::filesystem::exists(folder.path() / "TOR")) << refusal.label;
    }
}

// League codes for a season build: databank abbreviations map, a team without a code is
// skipped and said (exit 3), and a file of several seasons needs --season.
TEST(ImportRoster, AllTeamsByLeagueCodeAndSeason) {
    std::string text = "Player,Tm,Pos,GP,G,A,Season\n";
    for (const char* team : {"CAL", "MON", "XYZ"}) {
        for (int k = 0; k < 18; ++k) {
            text += std::string(team) + std::to_string(k) + "," + team + "," +
                    (k < 12 ? "C" : "D") + ",80," + std::to_string(k) + ",1,20132014\n";
        }
    }
    text += "Later,CAL,C,80,99,99,20142015\n";
    TempFolder folder;
    folder.write("stats.csv", text);
    const std::string stats = (folder.path() / "stats.csv").string();
    const std::string to = (folder.path() / "out").string();

    CliResult result = runCli({"import-roster", stats, "--all", "--to", to, "--codes", "league"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("2 seasons"), std::string::npos) << result.err;

    result = runCli(
        {"import-roster", stats, "--all", "--to", to, "--codes", "league", "--season", "20132014"});
    EXPECT_EQ(result.exitStatus, 3) << result.err;
    EXPECT_NE(result.err.find("Skipped the rows of teams without a code: XYZ"), std::string::npos)
        << result.err;
    EXPECT_EQ(lines(readFile(folder.path() / "out" / "CGY")).size(), 18u);
    EXPECT_EQ(readFile(folder.path() / "out" / "CGY").find("Later"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "out" / "MTL"));

    // Without --codes the files keep the program's codes; --map names the unknown team.
    result = runCli(
        {"import-roster", stats, "--all", "--to", to, "--season", "20132014", "--map", "XYZ=AVG"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    for (const char* code : {"CAL", "MON", "AVG"}) {
        EXPECT_TRUE(std::filesystem::exists(folder.path() / "out" / code)) << code;
    }

    // --ratings: only the teams the file rates; one it lacks is refused or skipped.
    folder.write("ratings.csv", "code,venue,offence,penalty,power_play,short_handed,defence\n"
                                "CGY,road,1,0.2,1,1,1\n");
    const std::string rated = (folder.path() / "rated").string();
    const std::vector<std::string> league{"--codes",   "league",
                                          "--season",  "20132014",
                                          "--ratings", (folder.path() / "ratings.csv").string()};
    std::vector<std::string> arguments{"import-roster", stats, "--team", "MTL", "--to", rated};
    arguments.insert(arguments.end(), league.begin(), league.end());
    result = runCli(arguments);
    EXPECT_EQ(result.exitStatus, 2) << result.err;
    EXPECT_NE(result.err.find("does not rate MTL"), std::string::npos) << result.err;
    arguments = {"import-roster", stats, "--all", "--map", "XYZ=VGK", "--to", rated};
    arguments.insert(arguments.end(), league.begin(), league.end());
    result = runCli(arguments);
    EXPECT_EQ(result.exitStatus, 3) << result.err;
    EXPECT_NE(result.err.find("does not rate: MTL VGK"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "rated" / "CGY"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "rated" / "MTL"));

    // A map comes before the built-in abbreviations.
    const std::string mapped = (folder.path() / "mapped").string();
    result = runCli({"import-roster", stats, "--team", "CAL", "--to", mapped, "--season",
                     "20132014", "--map", "CAL=WAS"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(lines(readFile(folder.path() / "mapped" / "WAS"))[0], "CAL17,80,17,1");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "mapped" / "CAL"));
}

// Whether the program, started in process, holds an open file of that name.
bool holdsFile(pid_t process, const std::string& name) {
    std::error_code error;
    const std::filesystem::path proc = "/proc/" + std::to_string(process);
    // Until the program starts, the process still holds what the test opened.
    if (std::filesystem::read_symlink(proc / "exe", error).filename() != "zelkor-cli") {
        return false;
    }
    const std::filesystem::path descriptors = proc / "fd";
    for (const auto& entry : std::filesystem::directory_iterator(descriptors, error)) {
        if (std::filesystem::read_symlink(entry.path(), error).filename() == name) {
            return true;
        }
    }
    return false;
}

// A run that finds the folder locked by another waits, then refuses; Ctrl+C while it waits
// ends it with no file begun. Either way the old file and its backup stay as they were.
TEST(ImportRoster, ALockedFolderAndCtrlCLeaveTheFolderAsItWas) {
    TempFolder folder;
    folder.write("stats.csv", header() + skaters(18));
    folder.write("TOR", "old\n");
    folder.write("TOR.bak", "older\n");
    const std::vector<std::string> arguments = {
        "import-roster", (folder.path() / "stats.csv").string(),
        "--team",        "TOR",
        "--to",          folder.path().string(),
        "--force"};
    const std::filesystem::path lockFile = folder.path() / ".zelkor-import.lock";
    int lock = ::open(lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);

    CliResult result = runCli(arguments);
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("Another import or season build is writing into the folder"),
              std::string::npos)
        << result.err;

    result = runCli(arguments, {}, nullptr, [&](pid_t child) {
        for (int wait = 0; wait < 1000 && !holdsFile(child, lockFile.filename()); ++wait) {
            ::usleep(1000);
        }
        EXPECT_TRUE(holdsFile(child, lockFile.filename()));
        ::kill(child, SIGINT);
        ::close(std::exchange(lock, -1));
    });
    EXPECT_EQ(result.exitStatus, 130) << result.err;
    EXPECT_NE(result.err.find("Stopped by Ctrl+C: no roster files were written."),
              std::string::npos)
        << result.err;
    ::close(lock);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names,
              (std::vector<std::string>{".zelkor-import.lock", "TOR", "TOR.bak", "stats.csv"}));
    EXPECT_EQ(readFile(folder.path() / "TOR"), "old\n");
    EXPECT_EQ(readFile(folder.path() / "TOR.bak"), "older\n");
}

} // namespace
} // namespace zelkor::test
