#include "teamdata/RosterFolderSearch.h"

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write(const fs::path& file, const std::string& content) {
    std::ofstream(file, std::ios::binary) << content;
}

// A program installed in a prefix of its own, with two sample rosters, and a home folder.
class RosterFolderSearch : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root_ = fs::temp_directory_path() /
                ("zelkor-search-" + std::to_string(::getpid()) + "-" + test->name());
        fs::remove_all(root_);
        fs::create_directories(samples());
        fs::create_directories(root_ / "home");
        write(samples() / "BOS", "sample BOS\n");
        write(samples() / "TOR", "sample TOR\n");
        sources_.executable = root_ / "usr/bin/zelkor-cli";
        sources_.home = root_ / "home";
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    fs::path samples() const { return root_ / "usr/share/zelkor/rosters"; }
    fs::path ownFolder() const { return root_ / "home/.local/share/zelkor/rosters"; }

    fs::path root_;
    RosterSources sources_;
};

TEST_F(RosterFolderSearch, TakesTheFirstSourceThatIsSet) {
    struct Row {
        const char* label;
        fs::path given, environment, executable;
        fs::path expected;
    };
    const fs::path installed = root_ / "usr/bin/zelkor";
    const fs::path buildTree = root_ / "build/src/cli/zelkor-cli";
    const std::vector<Row> rows = {
        {"given before all", "/given", "/environment", installed, "/given"},
        {"environment before the user's folder", "", "/environment", installed, "/environment"},
        {"installed: the user's folder", "", "", installed, ownFolder()},
        {"not installed: the working directory", "", "", buildTree, "."},
        {"program unknown: the working directory", "", "", "", "."},
    };
    for (const Row& row : rows) {
        RosterSources sources = sources_;
        sources.given = row.given;
        sources.environment = row.environment;
        sources.executable = row.executable;
        EXPECT_EQ(chooseRosterFolder(sources).folder, row.expected) << row.label;
    }
    EXPECT_EQ(installedSamplesFolder(installed), samples());
}

TEST_F(RosterFolderSearch, FirstUseFillsTheUsersFolderWithCopiesOfTheSamples) {
    sources_.dataHome = root_ / "data";
    const RosterFolderChoice choice = chooseRosterFolder(sources_);
    const fs::path own = root_ / "data/zelkor/rosters";
    ASSERT_EQ(choice.folder, own);
    EXPECT_NE(choice.notice.find(own.string()), std::string::npos) << choice.notice;
    EXPECT_EQ(contentOf(own / "BOS"), "sample BOS\n");
    EXPECT_EQ(contentOf(own / "TOR"), "sample TOR\n");
    // Nothing but the user's folder is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(own.parent_path()), fs::directory_iterator()),
              1);

    // A relative XDG_DATA_HOME does not count; HOME gives the folder then.
    sources_.dataHome = "relative/data";
    EXPECT_EQ(userRosterFolder(sources_), ownFolder());
}

TEST_F(RosterFolderSearch, AnExistingUsersFolderIsNeverRefilled) {
    fs::create_directories(ownFolder());
    write(ownFolder() / "BOS", "edited by the user\n");
    const RosterFolderChoice choice = chooseRosterFolder(sources_);
    EXPECT_EQ(choice.folder, ownFolder());
    EXPECT_EQ(choice.notice, "");
    EXPECT_EQ(contentOf(ownFolder() / "BOS"), "edited by the user\n");
    EXPECT_FALSE(fs::exists(ownFolder() / "TOR"));
}

TEST_F(RosterFolderSearch, AUsersFolderThatCannotBeMadeGivesTheSamplesAndSaysWhy) {
    struct Row {
        const char* label;
        fs::path dataHome, home;
        const char* reason;
    };
    write(root_ / "file", "");
    const std::vector<Row> rows = {
        {"below a file", root_ / "file", "", "could not be made"},
        {"a file itself", "", root_ / "fileHome", "is not a folder"},
        {"no home at all", "", "", "Neither XDG_DATA_HOME nor HOME"},
    };
    fs::create_directories(root_ / "fileHome/.local/share/zelkor");
    write(root_ / "fileHome/.local/share/zelkor/rosters", "");
    for (const Row& row : rows) {
        sources_.dataHome = row.dataHome;
        sources_.home = row.home;
        const RosterFolderChoice choice = chooseRosterFolder(sources_);
        EXPECT_EQ(choice.folder, samples()) << row.label;
        EXPECT_NE(choice.notice.find(row.reason), std::string::npos) << choice.notice;
        EXPECT_NE(choice.notice.find(samples().string()), std::string::npos) << choice.notice;
    }
}

} // namespace
} // namespace zelkor
