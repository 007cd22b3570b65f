#include "teamdata/RosterReader.h"

#include "core/Errors.h"
#include "teamdata/RegularFileBuffer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

// One player's line: name, games played, goals, assists.
struct Player {
    std::string name;
    std::string games;
    std::string goals;
    std::string assists;
};

// 18 players; player k has 80 games, k goals and 2k assists unless changed.
std::vector<Player> standardPlayers(const std::string& prefix = "Player") {
    std::vector<Player> players;
    for (int k = 1; k <= PlayersPerTeam; ++k) {
        players.push_back(
            {prefix + " " + std::to_string(k), "80", std::to_string(k), std::to_string(2 * k)});
    }
    return players;
}

std::string rosterText(const std::vector<Player>& players, const std::string& lineEnd = "\n") {
    std::string text;
    for (const Player& player : players) {
        text +=
            player.name + "," + player.games + "," + player.goals + "," + player.assists + lineEnd;
    }
    return text;
}

// A folder of its own for each test, removed afterwards.
class RosterReader : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::temp_directory_path() /
                  ("zelkor-rosters-" + std::to_string(::getpid()) + "-" + test->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }

    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void write(const std::string& code, const std::string& text) const {
        std::ofstream file(folder_ / code, std::ios::binary);
        file << text;
    }

    // The folder as messages show it.
    std::string shownFolder() const { return fs::absolute(folder_).lexically_normal().string(); }

    void read(PredictionState& state, const std::string& visitor, const std::string& home) {
        ReadRosters(state, visitor, home, folder_);
    }

    // The message of the error that reading visitor and home raises, checked for type.
    template <typename Error>
    std::string failure(const std::string& visitor, const std::string& home) {
        PredictionState state;
        try {
            read(state, visitor, home);
        } catch (const Error& error) {
            return error.what();
        } catch (const std::exception& other) {
            ADD_FAILURE() << "wrong error: " << other.what();
            return {};
        }
        ADD_FAILURE() << "no error reading " << visitor << " and " << home;
        return {};
    }

    fs::path folder_;
};

TEST_F(RosterReader, FillsTablesArraysTotalsAndRatios) {
    std::vector<Player> home = standardPlayers("Home");
    home[0] = {"Forward One", "82", "41", "39"};
    write("VIS", rosterText(standardPlayers("Visitor")));
    write("HOM", rosterText(home));
    PredictionState state;
    read(state, "VIS", "HOM");

    EXPECT_EQ(state.RosterX.at(1, NameColumn), "Visitor 1");
    EXPECT_EQ(state.RosterX.at(18, AssistsColumn), "36");
    EXPECT_EQ(state.RosterY.at(1, NameColumn), "Forward One");
    EXPECT_EQ(state.RosterY.at(1, GamesColumn), "82");
    EXPECT_EQ(state.RosterX.at(0, 0), "");
    EXPECT_EQ(state.Gamey[1], 82);
    EXPECT_EQ(state.GOALY[1], 41);
    EXPECT_EQ(state.Assisty[1], 39);
    EXPECT_EQ(state.GOALX[5], 5);
    EXPECT_EQ(state.Assistx[5], 10);
    EXPECT_EQ(state.Gamex[18], 80);
    EXPECT_EQ(state.GOALX[0], 0);

    EXPECT_EQ(state.GoalSumx, 171);
    EXPECT_EQ(state.AssistSumx, 342);
    EXPECT_EQ(state.Ratiox, 0.5f);
    EXPECT_EQ(state.GoalSumy, 171 - 1 + 41);
    EXPECT_EQ(state.AssistSumy, 342 - 2 + 39);
    EXPECT_EQ(state.Ratioy, static_cast<float>(211.0 / 379.0));
}

TEST_F(RosterReader, FieldsAreReadAsWritten) {
    std::vector<Player> players = standardPlayers();
    players[0] = {"\"Smith, John\"", "82", "12.5", "3"};
    players[1] = {"Jones", "12abc", " 1615 198th Street N.E.", "4"};
    players[2] = {"  Blank Start", "", "no goals", "-0"};
    // As a Windows editor saves it: a byte-order mark first.
    write("VIS", "\xef\xbb\xbf" + rosterText(players, "\r\n"));
    write("HOM", rosterText(standardPlayers()));
    PredictionState state;
    read(state, "VIS", "HOM");

    EXPECT_EQ(state.RosterX.at(1, NameColumn), "Smith, John");
    EXPECT_EQ(state.GOALX[1], 12.5f);
    EXPECT_EQ(state.Gamex[2], 12);
    EXPECT_EQ(state.RosterX.at(2, GoalsColumn), "1615 198th Street N.E.");
    EXPECT_EQ(state.GOALX[2], 1615198);
    EXPECT_EQ(state.RosterX.at(3, NameColumn), "Blank Start");
    EXPECT_EQ(state.Gamex[3], 0);
    EXPECT_EQ(state.GOALX[3], 0);
    EXPECT_EQ(state.RosterX.at(18, AssistsColumn), "36");
}

TEST_F(RosterReader, LineEndsOfAnyKindReadTheSame) {
    const std::vector<Player> players = standardPlayers();
    write("LF", rosterText(players, "\n"));
    write("CRLF", rosterText(players, "\r\n"));
    write("CR", rosterText(players, "\r"));
    PredictionState unix;
    read(unix, "LF", "LF");
    for (const char* code : {"CRLF", "CR"}) {
        PredictionState other;
        read(other, code, code);
        for (int player = 1; player <= PlayersPerTeam; ++player) {
            for (int column = NameColumn; column <= RosterColumns; ++column) {
                EXPECT_EQ(other.RosterX.at(player, column), unix.RosterX.at(player, column))
                    << code << " row " << player << " column " << column;
            }
        }
        EXPECT_EQ(other.Ratiox, unix.Ratiox) << code;
    }
}

TEST_F(RosterReader, UnquotedCommaShiftsTheLaterItems) {
    std::vector<Player> players = standardPlayers();
    players[0].name = "Smith, John";
    write("VIS", rosterText(players) + "spare\n");
    write("HOM", rosterText(standardPlayers()));
    PredictionState state;
    read(state, "VIS", "HOM");
    EXPECT_EQ(state.RosterX.at(1, NameColumn), "Smith");
    EXPECT_EQ(state.RosterX.at(1, GamesColumn), "John");
    EXPECT_EQ(state.RosterX.at(2, NameColumn), "2");
    EXPECT_EQ(state.RosterX.at(18, AssistsColumn), "18");
}

TEST_F(RosterReader, BlankLineCountsAsAnEmptyItem) {
    std::string text = rosterText(standardPlayers());
    text.insert(text.find('\n') + 1, "\n");
    write("VIS", text);
    write("HOM", rosterText(standardPlayers()));
    PredictionState state;
    read(state, "VIS", "HOM");
    EXPECT_EQ(state.RosterX.at(2, NameColumn), "");
    EXPECT_EQ(state.RosterX.at(2, GamesColumn), "Player 2");
    EXPECT_EQ(state.Gamex[2], 0);
}

TEST_F(RosterReader, OnlyTheFirst72ItemsAreRead) {
    // What follows the 18th line would fail if it were read.
    write("VIS", rosterText(standardPlayers()) + "Extra,-1,1e39,-7\n\"unclosed");
    std::string exact = rosterText(standardPlayers());
    exact.pop_back();
    write("HOM", exact);
    PredictionState state;
    read(state, "VIS", "HOM");
    EXPECT_EQ(state.GoalSumx, 171);
    EXPECT_EQ(state.RosterY.at(18, AssistsColumn), "36");
}

TEST_F(RosterReader, SameCodeForBothTeamsReadsTheFileTwice) {
    write("BOS", rosterText(standardPlayers()));
    PredictionState state;
    read(state, "BOS", "BOS");
    for (int player = 1; player <= PlayersPerTeam; ++player) {
        for (int column = NameColumn; column <= RosterColumns; ++column) {
            EXPECT_EQ(state.RosterX.at(player, column), state.RosterY.at(player, column));
        }
        EXPECT_EQ(state.GOALX[player], state.GOALY[player]);
        EXPECT_EQ(state.Assistx[player], state.Assisty[player]);
        EXPECT_EQ(state.Gamex[player], state.Gamey[player]);
    }
    EXPECT_EQ(state.Ratiox, 0.5f);
    EXPECT_EQ(state.Ratioy, 0.5f);
}

TEST_F(RosterReader, SecondReadStartsItsTotalsFromZero) {
    std::vector<Player> other = standardPlayers();
    for (Player& player : other) {
        player.goals = "1";
        player.assists = "4";
    }
    write("ONE", rosterText(standardPlayers()));
    write("TWO", rosterText(other));
    PredictionState state;
    read(state, "ONE", "ONE");
    read(state, "TWO", "ONE");
    EXPECT_EQ(state.GoalSumx, 18);
    EXPECT_EQ(state.AssistSumx, 72);
    EXPECT_EQ(state.Ratiox, 0.25f);
    EXPECT_EQ(state.GoalSumy, 171);
    EXPECT_EQ(state.Ratioy, 0.5f);
}

TEST_F(RosterReader, TotalsAreRoundedAfterEachAddition) {
    std::vector<Player> players = standardPlayers();
    players[0].goals = "16777216";
    for (int k = 1; k < PlayersPerTeam; ++k) {
        players[k].goals = "1";
    }
    write("BIG", rosterText(players));
    PredictionState state;
    read(state, "BIG", "BIG");
    // Each + 1 is a tie that rounds back to 2^24; one rounding at the end would give more.
    EXPECT_EQ(state.GoalSumx, 16777216.0f);
}

TEST_F(RosterReader, GoalsAllZeroGiveRatioZero) {
    std::vector<Player> players = standardPlayers();
    for (Player& player : players) {
        player.goals = "0";
        player.games = "0";
    }
    write("ZER", rosterText(players));
    write("HOM", rosterText(standardPlayers()));
    PredictionState state;
    read(state, "ZER", "HOM");
    EXPECT_EQ(state.Ratiox, 0);
    EXPECT_EQ(state.Gamex[1], 0);
}

TEST_F(RosterReader, MissingFilesAreNamedWithTheirFolder) {
    write("HOM", rosterText(standardPlayers()));
    fs::create_directory(folder_ / "DIR");
    const std::string folder = shownFolder();

    EXPECT_EQ(failure<RosterFileMissingError>("BOS", "HOM"),
              "Roster file 'BOS' was not found in folder '" + folder + "'.");
    EXPECT_EQ(failure<RosterFileMissingError>("HOM", "BOS"),
              "Roster file 'BOS' was not found in folder '" + folder + "'.");
    EXPECT_EQ(failure<RosterFileMissingError>("\x1b[2J" + std::string(100, 'x'), "HOM"),
              "Roster file '\\x1b[2J" + std::string(56, 'x') + "...' was not found in folder '" +
                  folder + "'.");
    EXPECT_EQ(failure<RosterFileMissingError>("DIR", "HOM"),
              "Roster file 'DIR' in folder '" + folder + "' is a folder, not a file.");
    // A pipe is refused without waiting for a writer.
    ASSERT_EQ(::mkfifo((folder_ / "FIFO").c_str(), 0600), 0);
    EXPECT_EQ(failure<RosterFileMissingError>("HOM", "FIFO"),
              "Roster file 'FIFO' in folder '" + folder +
                  "' cannot be opened: it is not a regular file (a named pipe).");
    if (::geteuid() != 0) {
        write("LOCKED", "");
        fs::permissions(folder_ / "LOCKED", fs::perms::none);
        EXPECT_EQ(failure<RosterFileMissingError>("HOM", "LOCKED"),
                  "Roster file 'LOCKED' in folder '" + folder +
                      "' cannot be opened: permission denied.");
    }

    const fs::path saved = folder_;
    folder_ = saved / "HOM";
    EXPECT_EQ(failure<RosterFileMissingError>("HOM", "HOM"),
              "The roster folder '" + folder + "/HOM' is not a folder.");
    folder_ = saved / "none";
    EXPECT_EQ(failure<RosterFileMissingError>("HOM", "HOM"),
              "The roster folder '" + folder + "/none' does not exist.");
    folder_ = saved;
}

TEST(RegularFileBuffer, ReadErrorsThrowTheSystemsReason) {
    // Reading a folder fails, as a disk that cannot be read does.
    RegularFileBuffer buffer(::open(fs::temp_directory_path().c_str(), O_RDONLY));
    try {
        buffer.sgetc();
        ADD_FAILURE() << "no read error";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::is_a_directory);
    }
}

TEST_F(RosterReader, CodesThatAreNotPlainFileNamesAreRefused) {
    // A valid roster outside the folder must stay out of reach.
    const fs::path outside = folder_.parent_path() / (folder_.filename().string() + "-outside");
    std::ofstream(outside) << rosterText(standardPlayers());
    write("HOM", rosterText(standardPlayers()));
    const std::string escape = "../" + outside.filename().string();

    for (const std::string& code :
         {std::string(), std::string("."), std::string(".."), escape, std::string("a/b"),
          std::string("a\\b"), std::string("HOM\0x", 5), outside.string()}) {
        const std::string message = failure<RosterFileMissingError>(code, "HOM");
        EXPECT_NE(message, "") << code;
        EXPECT_EQ(message.find('\0'), std::string::npos);
    }
    EXPECT_EQ(failure<RosterFileMissingError>("", "HOM"),
              "No roster file can be opened for an empty team code.");
    EXPECT_NE(failure<RosterFileMissingError>("HOM", escape).find("not a plain file name"),
              std::string::npos);
    fs::remove(outside);
}

TEST_F(RosterReader, ShortAndEmptyFilesTellWhatIsMissing) {
    const std::string full = rosterText(standardPlayers());
    std::string text41;
    for (int lines = 0; lines < 10; ++lines) {
        text41 += "Name,1,2,3\n";
    }
    text41 += "Last";
    write("FULL", full);
    write("S41", text41);
    write("ONE", "just one");
    write("EMPTY", "");
    const std::string folder = shownFolder();
    const std::string needs = "(18 players: name, games played, goals, assists).";

    EXPECT_EQ(failure<RosterFileShortError>("S41", "FULL"),
              "Roster file 'S41' in folder '" + folder + "' ends after 41 items; it needs 72 " +
                  needs);
    EXPECT_EQ(failure<RosterFileShortError>("FULL", "ONE"),
              "Roster file 'ONE' in folder '" + folder + "' ends after 1 item; it needs 72 " +
                  needs);
    // Read in turn, the visiting file runs out first when both are as short.
    write("T41", text41);
    EXPECT_NE(failure<RosterFileShortError>("T41", "S41").find("'T41'"), std::string::npos);
    EXPECT_EQ(failure<RosterFileShortError>("FULL", "EMPTY"),
              "Roster file 'EMPTY' in folder '" + folder + "' is empty; it needs 72 items " +
                  needs);
}

TEST_F(RosterReader, EmptyVisitingFileFailsInsteadOfReusingTheLastRosters) {
    write("FULL", rosterText(standardPlayers()));
    write("EMPTY", "");
    PredictionState state;
    read(state, "FULL", "FULL");
    EXPECT_THROW(read(state, "EMPTY", "FULL"), RosterFileShortError);
    EXPECT_NE(failure<RosterFileShortError>("EMPTY", "FULL").find("'EMPTY'"), std::string::npos);
}

TEST_F(RosterReader, UnusableValuesNameFileRowAndField) {
    struct Case {
        const char* what;
        std::function<void(std::vector<Player>&)> change;
        std::string message;
        bool overflow;
    };
    const std::vector<Case> cases{
        {"negative goals", [](auto& p) { p[2].goals = "-5"; },
         "Roster file 'BAD': player row 3 has goals -5; games played, goals and assists must "
         "not be negative.",
         false},
        {"negative games", [](auto& p) { p[17].games = " -1.5"; },
         "Roster file 'BAD': player row 18 has games played -1.5; games played, goals and "
         "assists must not be negative.",
         false},
        {"negative assists", [](auto& p) { p[0].assists = "-2e1x"; },
         "Roster file 'BAD': player row 1 has assists -20; games played, goals and assists "
         "must not be negative.",
         false},
        {"negative fraction", [](auto& p) { p[6].goals = "-0.5"; },
         "Roster file 'BAD': player row 7 has goals -0.5; games played, goals and assists must "
         "not be negative.",
         false},
        {"item too long", [](auto& p) { p[4].goals = std::string(5000, '9'); },
         "Roster file 'BAD', player row 5, goals: the item is longer than 4096 characters.", false},
        {"unclosed quote", [](auto& p) { p[2].name = "\"Smith, John"; },
         "Roster file 'BAD', player row 3, name: the quote opened on line 3 is never closed.",
         false},
        {"UTF-16", [](auto& p) { p[0].name = "\xff\xfe" + p[0].name; },
         "Roster file 'BAD' in folder '" + shownFolder() +
             "' is not plain text (UTF-16): save it as plain text.",
         false},
        {"NUL character", [](auto& p) { p[3].name = std::string("A\0B", 3); },
         "Roster file 'BAD' in folder '" + shownFolder() +
             "' is not plain text (line 4 holds a NUL character): save it as plain text.",
         false},
        {"assists add up to 0",
         [](auto& p) {
             for (Player& player : p) {
                 player.assists = "none";
             }
         },
         "Roster file 'BAD': the assists of its 18 players add up to 0, so its goals per "
         "assist cannot be computed.",
         false},
        {"number beyond a single", [](auto& p) { p[4].goals = "1e39"; },
         "Roster file 'BAD', player row 5, goals: the number '1e39' is too large for a "
         "single-precision value (at most about 3.4E+38).",
         true},
        {"total beyond a single",
         [](auto& p) {
             p[0].goals = "3e38";
             p[1].goals = "3e38";
         },
         "Overflow in adding up the goals of roster file 'BAD': the result is too large for a "
         "single-precision number",
         true},
        {"ratio beyond a single",
         [](auto& p) {
             for (Player& player : p) {
                 player.goals = "0";
                 player.assists = "0";
             }
             p[0].goals = "1e38";
             p[0].assists = "1e-30";
         },
         "Overflow in the goals per assist of roster file 'BAD': the result is too large for a "
         "single-precision number",
         true},
    };
    write("GOOD", rosterText(standardPlayers()));
    for (const Case& c : cases) {
        std::vector<Player> players = standardPlayers();
        c.change(players);
        write("BAD", rosterText(players));
        const std::string message = c.overflow ? failure<OverflowError>("GOOD", "BAD")
                                               : failure<RosterDataError>("GOOD", "BAD");
        EXPECT_EQ(message, c.message) << c.what;
    }
}

std::uint32_t bitsOf(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

TEST(ItemValue, LeadingNumberAsTheNearestSingle) {
    struct Case {
        std::string item;
        float value;
    };
    const float smallestSingle = std::numeric_limits<float>::denorm_min();
    const std::vector<Case> cases{
        {"82", 82},
        {"12.5", 12.5f},
        {"0.1", 0.1f},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {" 1615 198th Street N.E.", 1615198},
        {"1\t2\n3", 123},
        {"1\r2", 1},
        {"-5", -5},
        {"+7", 7},
        {"+-7", 0},
        {"--7", 0},
        {"-", 0},
        {".", 0},
        {".5", 0.5f},
        {"-.5", -0.5f},
        {"5.", 5},
        {"1e3", 1000},
        {"1.5E2", 150},
        {"2e-1", 0.2f},
        {"1e", 1},
        {"1e+", 1},
        {"1e-x", 1},
        {"1 e 2", 100},
        {"0x10", 0},
        {"inf", 0},
        {"nan", 0},
        {"007", 7},
        {"16777217", 16777216},
        // Straight to the nearest single: rounding to a double first lands on a tie.
        {"1.000000059604644775390625001", 1.00000012f},
        {"3.4028235e38", std::numeric_limits<float>::max()},
        {"1e-45", smallestSingle},
        {"7.1e-46", smallestSingle},
        {"1e-60", 0},
        {"-1e-60", -0.0f},
        {"0.00001e-99999999999", 0},
        {"0e99999", 0},
        {"0.0000000000000000000000000000000000000000000000000000000001e58", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bitsOf(itemValue(c.item)), bitsOf(c.value))
            << "'" << c.item << "' gave " << itemValue(c.item);
    }
}

TEST(ItemValue, NumbersBeyondASingleOverflow) {
    for (const std::string& item : std::initializer_list<std::string>{
             "1e39", "-1e39", "3.4028236e38", "340282357000000000000000000000000000000",
             "1e99999999999999999999", "0.001e42",
             // About 1e49, written with more digits than any small exponent limit.
             "0." + std::string(200000, '0') + "1e200050"}) {
        try {
            itemValue(item);
            ADD_FAILURE() << item << " gave no error";
        } catch (const OverflowError& error) {
            EXPECT_NE(std::string(error.what()).find("too large"), std::string::npos) << item;
        }
    }
}

TEST(ItemValue, LongNumbersBelowTheSmallestSingleAreZero) {
    // About 1e-50, with 200000 digits before the point.
    const std::string tiny = "1" + std::string(200000, '0') + "e-200050";
    EXPECT_EQ(itemValue(tiny), 0.0f);
}

} // namespace
} // namespace zelkor
