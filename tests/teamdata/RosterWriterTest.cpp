#include "teamdata/RosterWriter.h"

#include "core/Errors.h"
#include "teamdata/RosterItemReader.h"
#include "teamdata/RosterReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// What a name in a file reads back as: quotes turn to apostrophes, control characters to
// blanks; commas and accents stay.
struct NameCase {
    std::string written;
    std::string readBack;
};

TEST(RosterWriter, WhatItWritesReadsBack) {
    const std::vector<NameCase> names = {
        {"Plain Name", "Plain Name"},
        {"Doe, John", "Doe, John"},
        {"Bob \"Rocket\" Ray", "Bob 'Rocket' Ray"},
        {"\"Quoted, Comma\"", "'Quoted, Comma'"},
        {"Élodie Sørensen-Łukasz", "Élodie Sørensen-Łukasz"},
        {"Tab\there\r\nnewline", "Tab here  newline"},
        {"  Leading blanks", "Leading blanks"}, // the reader skips blanks before an item
    };
    std::vector<RosterLine> players;
    for (int row = 1; row <= PlayersPerTeam; ++row) {
        const auto& name = names[static_cast<std::size_t>(row - 1) % names.size()];
        players.push_back({name.written, 60 + row, row, 2 * row});
    }
    const fs::path folder =
        fs::temp_directory_path() / ("zelkor-writer-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const RosterWrite written = writeRosterFile(folder, "BOS", rosterFileText(players), false);
    EXPECT_EQ(written.file, folder / "BOS");
    EXPECT_FALSE(written.backup);
    ASSERT_TRUE(rosterTargetProblem(folder, "BOS", false));
    EXPECT_THROW(writeRosterFile(folder, "BOS", "", false), RosterWriteError);

    PredictionState state;
    ReadRosters(state, "BOS", "BOS", folder);
    for (int row = 1; row <= PlayersPerTeam; ++row) {
        const auto& name = names[static_cast<std::size_t>(row - 1) % names.size()];
        EXPECT_EQ(state.RosterX.at(row, NameColumn), name.readBack) << row;
        EXPECT_EQ(state.Gamex[row], static_cast<Single>(60 + row)) << row;
        EXPECT_EQ(state.GOALX[row], static_cast<Single>(row)) << row;
        EXPECT_EQ(state.Assistx[row], static_cast<Single>(2 * row)) << row;
    }

    // Replacing keeps the old text beside it.
    const RosterWrite replaced = writeRosterFile(folder, "BOS", rosterFileText(players), true);
    ASSERT_TRUE(replaced.backup);
    EXPECT_EQ(fs::file_size(*replaced.backup), fs::file_size(folder / "BOS"));

    // What a prediction would refuse is never put in place, and no temporary file stays.
    players[2].name = std::string(LongestItem + 1, 'n');
    try {
        writeRosterFile(folder, "BOS", rosterFileText(players), true);
        ADD_FAILURE() << "a name longer than an item was written";
    } catch (const RosterWriteError& error) {
        EXPECT_NE(std::string(error.what()).find("line 3 (player 3): the item is longer than"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_EQ(fs::file_size(*replaced.backup), fs::file_size(folder / "BOS"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    EXPECT_TRUE(rosterNameProblem(players[2].name));
    fs::remove_all(folder);
}

std::vector<RosterLine> fullRoster(const std::string& name) {
    std::vector<RosterLine> players;
    for (int row = 1; row <= PlayersPerTeam; ++row) {
        players.push_back({row == 1 ? name : "Player " + std::to_string(row), 70, row, row});
    }
    return players;
}

// A name of the longest length an item may have is written and read back whole; a new
// file can be read by others, a replaced one keeps its own permissions.
TEST(RosterWriter, LongestNameAndTheFilesPermissions) {
    const fs::path folder =
        fs::temp_directory_path() / ("zelkor-writer-edge-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    const mode_t previous = ::umask(022);
    const std::string longest(LongestItem, 'n');
    EXPECT_FALSE(rosterNameProblem(longest));
    EXPECT_TRUE(rosterNameProblem(""));
    writeRosterFile(folder, "BOS", rosterFileText(fullRoster(longest)), false);
    PredictionState state;
    ReadRosters(state, "BOS", "BOS", folder);
    EXPECT_EQ(state.RosterX.at(1, NameColumn), longest);
    const fs::perms made = fs::status(folder / "BOS").permissions();
    EXPECT_NE(made & fs::perms::others_read, fs::perms::none);
    EXPECT_NE(made & fs::perms::owner_write, fs::perms::none);

    fs::permissions(folder / "BOS", fs::perms::owner_read | fs::perms::owner_write);
    writeRosterFile(folder, "BOS", rosterFileText(fullRoster("Other Name")), true);
    EXPECT_EQ(fs::status(folder / "BOS").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    ::umask(previous);
    fs::remove_all(folder);
}

// A link where a roster goes is not a roster to replace: it and what it points at stay.
TEST(RosterWriter, LeavesALinkInARostersPlaceAlone) {
    const fs::path folder =
        fs::temp_directory_path() / ("zelkor-writer-link-" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "elsewhere");
    std::ofstream(folder / "elsewhere" / "kept") << "kept\n";
    fs::create_symlink(folder / "elsewhere" / "kept", folder / "BOS");
    EXPECT_TRUE(rosterTargetProblem(folder, "BOS", true));
    EXPECT_THROW(writeRosterFile(folder, "BOS", rosterFileText(fullRoster("Name")), true),
                 RosterWriteError);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder / "BOS")));
    EXPECT_EQ(fs::file_size(folder / "elsewhere" / "kept"), 5u);
    EXPECT_FALSE(fs::exists(folder / "BOS.bak"));
    fs::remove_all(folder);
}

} // namespace
} // namespace zelkor
