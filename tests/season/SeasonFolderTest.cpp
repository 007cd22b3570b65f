#include "season/SeasonBuild.h"
#include "teamdata/RosterWriter.h"
#include "teamdata/StagedFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// A fresh folder of its own, removed with what it holds.
class Scratch {
public:
    Scratch()
        : path_(fs::temp_directory_path() / ("zelkor-folder-" + std::to_string(::getpid()) + "-" +
                                             std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void writeText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Every entry of the folder but its lock, and what each file holds.
std::map<std::string, std::string> contents(const fs::path& folder) {
    std::map<std::string, std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename() == FolderLockName) {
            continue;
        }
        found[entry.path().filename().string()] =
            entry.is_regular_file() ? readText(entry.path()) : "<not a file>";
    }
    return found;
}

// The names of the folder's entries beside the files of a season: what a run left behind.
std::set<std::string> names(const fs::path& folder) {
    std::set<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        found.insert(entry.path().filename().string());
    }
    return found;
}

std::string roster(int goals) {
    std::string text;
    for (int k = 1; k <= 18; ++k) {
        text += "Player " + std::to_string(k) + ",80," + std::to_string(goals + k) + ",9\n";
    }
    return text;
}

TEST(StagedFolder, ReplacesTheFolderWholeKeepingBackupsAndTheOtherFiles) {
    const Scratch scratch;
    const fs::path season = scratch.path() / "season";
    fs::create_directories(season / "notes");
    writeText(season / "BOS", roster(1));
    writeText(season / "BOS.bak", roster(0));
    writeText(season / "TOR", roster(2));
    writeText(season / "readme.txt", "mine");
    writeText(season / "notes" / "a.txt", "kept");
    writeText(season / ".BOS.import-123", "left by a killed run");
    fs::create_directory(scratch.path() / (stagingPrefix(season) + "77")); // a killed run's
    fs::create_directory(scratch.path() / (stagingPrefix(season) + "x"));  // not ours

    {
        StagedFolder staged(season);
        EXPECT_FALSE(fs::exists(scratch.path() / (stagingPrefix(season) + "77")));
        EXPECT_TRUE(fs::exists(scratch.path() / (stagingPrefix(season) + "x")));
        const RosterWrite bos = staged.addRoster("BOS", roster(5));
        const RosterWrite chi = staged.addRoster("CHI", roster(6));
        EXPECT_EQ(bos.file, season / "BOS");
        EXPECT_EQ(bos.backup, season / "BOS.bak");
        EXPECT_FALSE(chi.backup);
        // Nothing shows in the folder before the commit.
        EXPECT_EQ(readText(season / "BOS"), roster(1));
        EXPECT_FALSE(fs::exists(season / "CHI"));
        staged.commit();
    }
    EXPECT_EQ(readText(season / "BOS"), roster(5));
    EXPECT_EQ(readText(season / "BOS.bak"), roster(1));
    EXPECT_EQ(readText(season / "CHI"), roster(6));
    EXPECT_EQ(readText(season / "TOR"), roster(2));
    EXPECT_FALSE(fs::exists(season / "TOR.bak"));
    EXPECT_EQ(readText(season / "readme.txt"), "mine");
    EXPECT_EQ(readText(season / "notes" / "a.txt"), "kept");
    EXPECT_FALSE(fs::exists(season / ".BOS.import-123"));
    EXPECT_EQ(names(scratch.path()),
              (std::set<std::string>{"season", stagingPrefix(season) + "x"}));
}

TEST(StagedFolder, LeavesTheFolderAsItWasWhenNotCommittedOrRefused) {
    const Scratch scratch;
    const fs::path season = scratch.path() / "season";
    fs::create_directories(season);
    writeText(season / "BOS", roster(1));
    const auto before = contents(season);
    {
        StagedFolder staged(season);
        staged.addRoster("BOS", roster(5));
        staged.addFile("ratings.csv", "x");
        // A roster that would not read back is refused, naming the folder's file.
        try {
            staged.addRoster("TOR", "Player,80,1\n");
            ADD_FAILURE() << "a short roster was written";
        } catch (const RosterWriteError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find((season / "TOR").string()), std::string::npos) << message;
            EXPECT_EQ(message.find("zelkor-stage"), std::string::npos) << message;
        }
    }
    EXPECT_EQ(contents(season), before);
    EXPECT_EQ(names(scratch.path()), std::set<std::string>{"season"});

    // A second run waits for the lock of the first, then gives up before writing anything.
    const StagedFolder first(season);
    EXPECT_THROW(StagedFolder(season, std::chrono::milliseconds(100)), RosterWriteError);
}

TEST(StagedFolder, ALinkToTheFolderIsFollowedAndKept) {
    const Scratch scratch;
    fs::create_directories(scratch.path() / "real");
    writeText(scratch.path() / "real" / "BOS", roster(1));
    fs::create_directory_symlink("real", scratch.path() / "link");
    {
        StagedFolder staged(scratch.path() / "link");
        const RosterWrite written = staged.addRoster("BOS", roster(3));
        EXPECT_EQ(written.file, scratch.path() / "link" / "BOS");
        staged.commit();
    }
    EXPECT_TRUE(fs::is_symlink(scratch.path() / "link"));
    EXPECT_EQ(readText(scratch.path() / "real" / "BOS"), roster(3));
    EXPECT_EQ(readText(scratch.path() / "real" / "BOS.bak"), roster(1));
}

// A run that works in the folder itself goes on in the new one, not in the removed old one.
TEST(StagedFolder, ARunWorkingInTheFolderGoesOnInTheNewOne) {
    const Scratch scratch;
    fs::create_directories(scratch.path() / "season");
    const fs::path before = fs::current_path();
    fs::current_path(scratch.path() / "season");
    {
        StagedFolder staged(".");
        staged.addRoster("BOS", roster(4));
        staged.commit();
    }
    const bool readable = fs::exists("BOS");
    const fs::path now = fs::current_path();
    fs::current_path(before);
    EXPECT_TRUE(readable);
    EXPECT_EQ(now, fs::canonical(scratch.path() / "season"));
}

// Two clubs' skaters, with goals raised by more in a second season, and four games.
std::string skaters(int more) {
    std::string text = "Player,Tm,Pos,GP,G,A\n";
    for (const char* team : {"TOR", "NSH"}) {
        for (int k = 0; k < 18; ++k) {
            text += std::string(team) + " Skater " + std::to_string(k) + "," + team + "," +
                    (k < 12 ? "C" : "D") + ",82," +
                    std::to_string(30 - k + more + (team[0] == 'T' ? 4 : 0)) + ",20\n";
        }
    }
    return text;
}

struct Season {
    Scratch data;
    SeasonBuildRequest request;

    explicit Season(int more, const fs::path& folder) {
        writeText(data.path() / "skaters.csv", skaters(more));
        writeText(data.path() / "results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                               "2001-01-02,TOR,NSH,3,2\n"
                                               "2001-01-05,NSH,TOR,1,4\n"
                                               "2001-01-09,TOR,NSH,2,2\n"
                                               "2001-01-12,NSH,TOR,3,1\n");
        request.skaters = data.path() / "skaters.csv";
        request.results = data.path() / "results.csv";
        request.season = "2000-01";
        request.series = 1;
        request.folder = folder;
        request.replace = true;
    }
};

// The files a build writes, as one season holds them.
std::map<std::string, std::string> seasonFiles(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const char* name : {"TOR", "NSH", "ratings.csv"}) {
        files[name] = fs::exists(folder / name) ? readText(folder / name) : "<missing>";
    }
    return files;
}

// Runs the build in a child process; a file size limit is set there only, and a write
// beyond it fails, or with killedAtLimit ends the run as the system does by default.
pid_t startBuild(const SeasonBuildRequest& request, rlim_t fileSizeLimit = RLIM_INFINITY,
                 bool killedAtLimit = false) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (fileSizeLimit != RLIM_INFINITY) {
            std::signal(SIGXFSZ, killedAtLimit ? SIG_DFL : SIG_IGN);
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        try {
            buildSeason(request, std::stop_token{});
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    return child;
}

int waitFor(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

// An old season and a new one built whole, to compare what a broken build leaves with.
struct Seasons {
    Scratch scratch;
    fs::path folder = scratch.path() / "season";
    Season oldSeason{0, folder};
    Season newSeason{7, folder};
    std::map<std::string, std::string> oldFiles;
    std::map<std::string, std::string> newFiles;
    std::chrono::microseconds buildTime{};

    Seasons() {
        const fs::path other = scratch.path() / "new";
        Season newHere(7, other);
        const auto start = std::chrono::steady_clock::now();
        buildSeason(newHere.request, std::stop_token{});
        buildTime = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        newFiles = seasonFiles(other);
        fs::remove_all(other);
        reset();
    }

    // The folder holding the old season alone.
    void reset() {
        fs::remove_all(folder);
        buildSeason(oldSeason.request, std::stop_token{});
        oldFiles = seasonFiles(folder);
    }

    // Whether the folder holds one season whole, and its backups one whole too.
    ::testing::AssertionResult whole() const {
        const auto now = seasonFiles(folder);
        if (now != oldFiles && now != newFiles) {
            return ::testing::AssertionFailure() << "the folder holds a mix of two seasons";
        }
        if (now == newFiles) {
            for (const auto& [name, text] : oldFiles) {
                if (readText(folder / (name + ".bak")) != text) {
                    return ::testing::AssertionFailure() << name << ".bak is not the old season's";
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

    // Whether only the season's files are in the folder and nothing beside it.
    ::testing::AssertionResult clean() const {
        for (const std::string& name : names(folder)) {
            if (name.starts_with(".") && name != FolderLockName) {
                return ::testing::AssertionFailure() << "left in the folder: " << name;
            }
        }
        for (const std::string& name : names(scratch.path())) {
            if (name != "season") {
                return ::testing::AssertionFailure() << "left beside the folder: " << name;
            }
        }
        return ::testing::AssertionSuccess();
    }
};

TEST(SeasonFolder, AKilledBuildLeavesTheOldSeasonOrTheNewAndTheNextRunCleansUp) {
    Seasons seasons;
    ASSERT_NE(seasons.oldFiles, seasons.newFiles);
    std::mt19937 random(20010102);
    const auto longest = seasons.buildTime.count() * 3 / 2 + 1;
    int replaced = 0;
    for (int run = 0; run < 9; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const pid_t child = startBuild(seasons.newSeason.request);
        std::this_thread::sleep_for(std::chrono::microseconds(random() % longest));
        ::kill(child, run % 3 == 0 ? SIGTERM : SIGKILL);
        waitFor(child);
        EXPECT_TRUE(seasons.whole());
        replaced += seasonFiles(seasons.folder) == seasons.newFiles;
        // The next build finds the folder free and leaves nothing behind.
        ASSERT_TRUE(buildSeason(seasons.newSeason.request, std::stop_token{}));
        EXPECT_EQ(seasonFiles(seasons.folder), seasons.newFiles);
        EXPECT_TRUE(seasons.clean());
        seasons.reset();
    }
    RecordProperty("replaced", replaced);
}

TEST(SeasonFolder, AWriteThatFailsLeavesTheOldSeasonAndNoStagingFolder) {
    Seasons seasons;
    writeText(seasons.folder / "notes.txt", std::string(5000, 'n'));
    const auto before = contents(seasons.folder);
    // Each limit cuts a different file: the first roster, the notes carried over last.
    for (const rlim_t limit : {rlim_t{64}, rlim_t{2000}}) {
        SCOPED_TRACE("file size limit " + std::to_string(limit));
        EXPECT_EQ(waitFor(startBuild(seasons.newSeason.request, limit)), 1);
        EXPECT_EQ(contents(seasons.folder), before);
        EXPECT_TRUE(seasons.clean());
    }
    // Killed by the limit in the middle of the last write: the staging folder stays until
    // the next run.
    EXPECT_EQ(waitFor(startBuild(seasons.newSeason.request, 2000, true)), -SIGXFSZ);
    EXPECT_EQ(contents(seasons.folder), before);
    ASSERT_TRUE(buildSeason(seasons.newSeason.request, std::stop_token{}));
    EXPECT_TRUE(seasons.clean());
}

TEST(SeasonFolder, TwoBuildsAtOnceLeaveOneWholeSeasonWithWholeBackups) {
    Seasons seasons;
    for (int run = 0; run < 4; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        const pid_t first = startBuild(seasons.newSeason.request);
        const pid_t second = startBuild(seasons.newSeason.request);
        const int statuses = waitFor(first) + waitFor(second);
        EXPECT_LE(statuses, 1); // both built one after the other, or the second refused
        EXPECT_EQ(seasonFiles(seasons.folder), seasons.newFiles);
        EXPECT_TRUE(seasons.clean());
        seasons.reset();
    }
}

// Team totals are checked as the files they become before anything is written: a club
// left out of them, as by a file cut short, would silently get default figures.
TEST(SeasonFolder, TeamTotalsThatCannotBeUsedStopTheBuildBeforeAnyWrite) {
    Seasons seasons;
    const auto before = contents(seasons.folder);
    SeasonBuildRequest request = seasons.newSeason.request;
    request.teamStats = seasons.newSeason.data.path() / "teams.csv";
    const struct {
        const char* table;
        const char* message;
    } cases[] = {
        {"year,tmID,G,GA,SoW,SoL\n2000,TOR,82,200,5000,2\n2000,NSH,82,240,2,7\n",
         "line 2, shootout wins: '5000' for TOR are more than the 1000"},
        {"year,tmID,G,GA\n2000,TOR,82,200\n", "lists no totals for teams of the results: NSH."},
    };
    for (const auto& c : cases) {
        writeText(*request.teamStats, c.table);
        try {
            buildSeason(request, std::stop_token{});
            ADD_FAILURE() << c.table << " was taken";
        } catch (const SeasonBuildError& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
        EXPECT_EQ(contents(seasons.folder), before);
    }
}

TEST(SeasonFolder, TheLockIsTakenBeforeTheFitAndNoTemporaryFolderIsUsed) {
    Seasons seasons;
    const int lock = ::open((seasons.folder / FolderLockName).c_str(), O_RDWR | O_CLOEXEC);
    ASSERT_EQ(::flock(lock, LOCK_EX), 0);
    std::vector<std::string> stages;
    EXPECT_THROW(buildSeason(seasons.newSeason.request, std::stop_token{},
                             [&](const SeasonBuildStep& step) { stages.push_back(step.stage); }),
                 RosterWriteError);
    ::close(lock);
    EXPECT_EQ(stages, std::vector<std::string>{"Reading the files"});

    // The build needs no temporary folder of the system, even a missing one.
    const char* old = std::getenv("TMPDIR");
    const std::string kept = old ? old : "";
    ::setenv("TMPDIR", (seasons.scratch.path() / "missing").c_str(), 1);
    const bool built = buildSeason(seasons.newSeason.request, std::stop_token{}).has_value();
    old ? ::setenv("TMPDIR", kept.c_str(), 1) : ::unsetenv("TMPDIR");
    EXPECT_TRUE(built);
    EXPECT_EQ(seasonFiles(seasons.folder), seasons.newFiles);
}

} // namespace
} // namespace zelkor
