#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace zelkor::test {
namespace {

const std::string SampleRosters = ZELKOR_SAMPLE_ROSTERS;

// The arguments of a run that succeeds with the sample rosters; cases change one thing.
std::vector<std::string> validArguments() {
    return {"BOS",  "TOR",       "--gaa-visitor", "2.75",   "--gaa-home",
            "3.10", "--rosters", SampleRosters,   "--seed", "42"};
}

std::vector<std::string> withArgument(const std::string& option, const std::string& value) {
    std::vector<std::string> arguments = validArguments();
    const auto at = std::find(arguments.begin(), arguments.end(), option);
    *(at + 1) = value;
    return arguments;
}

// The valid arguments and more options after them.
std::vector<std::string> plus(std::initializer_list<std::string> more) {
    std::vector<std::string> arguments = validArguments();
    arguments.insert(arguments.end(), more);
    return arguments;
}

std::vector<std::string> withCodes(const std::string& visitor, const std::string& home) {
    std::vector<std::string> arguments = validArguments();
    arguments[0] = visitor;
    arguments[1] = home;
    return arguments;
}

std::vector<std::string> without(const std::string& word) {
    std::vector<std::string> arguments = validArguments();
    const auto at = std::find(arguments.begin(), arguments.end(), word);
    arguments.erase(at, word.starts_with("--") ? at + 2 : at + 1);
    return arguments;
}

std::size_t lineCount(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(ExitStatus, ValidArgumentsSucceed) {
    const CliResult result = runCli(validArguments());
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_FALSE(result.out.empty());
}

struct UsageCase {
    const char* label;
    std::vector<std::string> arguments;
    const char* expectedInMessage = ""; ///< a part of the message on stderr
};

// Arguments the program cannot understand: status 2, CLI11's message on stderr only.
TEST(ExitStatus, UsageErrorsGiveTwoAndNothingOnStdout) {
    const std::vector<UsageCase> cases = {
        {"no home code", without("TOR")},
        {"no visiting GAA", without("--gaa-visitor")},
        {"no home GAA", without("--gaa-home")},
        {"extra code",
         [] {
             auto arguments = validArguments();
             arguments.insert(arguments.begin() + 2, "DET");
             return arguments;
         }()},
        {"unknown option",
         [] {
             auto arguments = validArguments();
             arguments.push_back("--colour");
             return arguments;
         }()},
        {"GAA not a number", withArgument("--gaa-visitor", "abc")},
        {"GAA with a decimal comma", withArgument("--gaa-home", "2,75")},
        {"GAA with trailing letters", withArgument("--gaa-home", "2.75x")},
        {"GAA empty", withArgument("--gaa-visitor", "")},
        {"GAA not a number (nan)", withArgument("--gaa-visitor", "nan")},
        {"GAA infinite", withArgument("--gaa-home", "inf")},
        {"GAA beyond single range", withArgument("--gaa-home", "1e60")},
        {"GAA just beyond single range", withArgument("--gaa-home", "1e39"), "too large"},
        {"GAA rounding to 0", withArgument("--gaa-visitor", "1e-46"), "too small"},
        {"GAA whose goalie factor overflows", withArgument("--gaa-visitor", "1e-45"), "too small"},
        {"GAA zero", withArgument("--gaa-visitor", "0"), "not above 0"},
        {"GAA negative", withArgument("--gaa-home", "-1.5"), "not above 0"},
        {"seed negative", withArgument("--seed", "-1")},
        {"seed with letters", withArgument("--seed", "12abc")},
        {"seed empty", withArgument("--seed", "")},
        {"seed above 64 bits", withArgument("--seed", "18446744073709551616")},
        {"no series", plus({"--series", "0"})},
        {"more series than a run plays", plus({"--series", "1000000001"})},
        {"threads without series", plus({"--threads", "2"})},
        {"no threads", plus({"--series", "10", "--threads", "0"})},
        {"offered odds of 1", plus({"--series", "10", "--offered-home", "1"}), "decimal odds"},
        {"American odds below 100", plus({"--series", "10", "--offered-visitor", "+50"})},
        {"American odds beyond 100,000", plus({"--series", "10", "--offered-visitor", "-1e300"}),
         "American odds from 100 to 100,000"},
        {"decimal odds below 1.01", plus({"--series", "10", "--offered-home", "1.005"})},
        {"series in hexadecimal", plus({"--series", "0x10"}), "decimal digits"},
        {"threads in hexadecimal", plus({"--series", "10", "--threads", "0x3"})},
        {"a backtest's series in hexadecimal",
         {"backtest", "results.csv", "--rosters", ".", "--series", "0x10"},
         "decimal digits"},
        {"huge GAA text", withArgument("--gaa-home", std::string(100000, '9') + "x"), "999..."},
        {"unexpected word with an escape", plus({"\x1b[2J"}), "\\x1b[2J"},
        {"a team map without its code",
         {"backtest", "results.csv", "--rosters", ".", "--map", "SEA"},
         "not ABBR=CODE"},
        {"an unknown team to import",
         {"import-roster", "stats.csv", "--team", "XYZ", "--to", "."},
         "'XYZ' is not a team code of the program"},
        {"a team map to no team of the program",
         {"import-roster", "stats.csv", "--all", "--to", ".", "--map", "SEA=XYZ"},
         "not ABBR=CODE"},
    };
    for (const UsageCase& usage : cases) {
        SCOPED_TRACE(usage.label);
        const CliResult result = runCli(usage.arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err, "");
        EXPECT_NE(result.err.find(usage.expectedInMessage), std::string::npos) << result.err;
        EXPECT_LT(result.err.size(), 1000u);
    }
}

TEST(ExitStatus, HelpAndVersionGoToStdoutAndUnwritableOutputFails) {
    const CliResult help = runCli({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("--gaa-visitor"), std::string::npos);
    EXPECT_EQ(help.err, "");

    const CliResult version = runCli({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::string(ZELKOR_VERSION) + "\n");
    EXPECT_EQ(version.err, "");

    // Text that cannot be written is a failure, for help and version as for a report.
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--help"}, std::vector<std::string>{"--version"},
          validArguments(), std::vector<std::string>{"check-rosters", "--help"},
          std::vector<std::string>{"backtest", "--help"},
          std::vector<std::string>{"import-roster", "--help"}}) {
        const CliResult full = runCli(arguments, {}, "/dev/full");
        EXPECT_EQ(full.exitStatus, 1) << arguments[0];
        EXPECT_NE(full.err.find("Cannot write"), std::string::npos) << full.err;
    }
}

// Names holding terminal commands reach the text output visibly and JSON exactly.
TEST(ExitStatus, ControlCharactersInNamesAreShownVisibly) {
    std::istringstream roster(sampleRoster("TOR"));
    std::string commands;
    for (std::string line; std::getline(roster, line);) {
        commands += "\x1b]0;T\x07" + line + "\n";
    }
    TempFolder folder;
    folder.write("BOS", sampleRoster("BOS"));
    folder.write("TOR", commands);
    const auto arguments = withArgument("--rosters", folder.path().string());

    const CliResult text = runCli(arguments);
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_EQ(text.out.find_first_of("\x1b\x07"), std::string::npos);
    EXPECT_NE(text.out.find("\\x1b]0;T\\x07"), std::string::npos);

    auto jsonArguments = arguments;
    jsonArguments.push_back("--json");
    const CliResult json = runCli(jsonArguments);
    EXPECT_NE(json.out.find("\\u001b]0;T\\u0007"), std::string::npos);
}

// The sample roster of TOR with every games-played value 0.
std::string rosterWithoutGames() {
    std::istringstream roster(sampleRoster("TOR"));
    std::string result;
    for (std::string line; std::getline(roster, line);) {
        const std::size_t games = line.find(',') + 1;
        result += line.substr(0, games) + "0" + line.substr(line.find(',', games)) + "\n";
    }
    return result;
}

struct FailureCase {
    const char* label;
    std::vector<std::string> arguments;
    std::string expectedInMessage; ///< a part of the one line expected on stderr
};

// The run refuses or fails: status 1, the run's message as one line on stderr, and no
// partial report on stdout, in text and in JSON mode.
void expectFailure(const FailureCase& failure) {
    SCOPED_TRACE(failure.label);
    for (const bool json : {false, true}) {
        auto arguments = failure.arguments;
        if (json) {
            arguments.push_back("--json");
        }
        const CliResult result = runCli(arguments);
        EXPECT_EQ(result.exitStatus, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(lineCount(result.err), 1u) << result.err;
        EXPECT_NE(result.err.find(failure.expectedInMessage), std::string::npos) << result.err;
    }
}

TEST(ExitStatus, RefusedInputsGiveOne) {
    const std::vector<FailureCase> cases = {
        {"visiting code in lower case", withCodes("bos", "TOR"), "Unknown visiting team \"bos\""},
        {"home code unknown", withCodes("BOS", "XYZ"), "Unknown home team \"XYZ\""},
        {"home-only code as visitor", withCodes("WAT", "TOR"), "Unknown visiting team \"WAT\""},
        {"home code with a carriage return", withCodes("BOS", "TOR\r"),
         "Unknown home team \"TOR\\x0d\" (a carriage return at the end)"},
        {"code with an escape", withCodes("\x1b[2J", "TOR"), "Unknown visiting team \"\\x1b[2J\""},
        {"huge code", withCodes("BOS", std::string(100000, 'B')), std::string(60, 'B') + "...\""},
    };
    for (const FailureCase& failure : cases) {
        expectFailure(failure);
    }
}

// The home roster is missing or unusable; the visiting one is the sample.
TEST(ExitStatus, BadRosterFilesGiveOne) {
    struct RosterCase {
        const char* label;
        std::optional<std::string> homeRoster; ///< none: no file at all
        std::string expectedInMessage;
    };
    const std::string tor = sampleRoster("TOR");
    const std::vector<RosterCase> cases = {
        {"home roster missing", std::nullopt, "TOR"},
        {"home roster short", tor.substr(0, tor.size() / 2), "TOR"},
        {"home roster without games played", rosterWithoutGames(), "games played"},
    };
    for (const RosterCase& roster : cases) {
        TempFolder folder;
        folder.write("BOS", sampleRoster("BOS"));
        if (roster.homeRoster) {
            folder.write("TOR", *roster.homeRoster);
        }
        expectFailure({roster.label, withArgument("--rosters", folder.path().string()),
                       roster.expectedInMessage});
        // Every roster failure points to the check that lists all problems at once, on the
        // many-series path too.
        std::vector<std::string> arguments = withArgument("--rosters", folder.path().string());
        expectFailure({roster.label, arguments,
                       "zelkor-cli check-rosters \"" + folder.path().string() + "\""});
        arguments.insert(arguments.end(), {"--series", "20"});
        expectFailure({roster.label, arguments,
                       "zelkor-cli check-rosters \"" + folder.path().string() + "\""});
    }
}

// A roster folder holding ratings.csv is a season folder: its table is used and named. The
// built-in table written out plays exactly the built-in series; a bad file runs nothing.
TEST(ExitStatus, SeasonFolderRatingsAreUsedAndNamed) {
    TempFolder season;
    season.write("BOS", sampleRoster("BOS"));
    season.write("TOR", sampleRoster("TOR"));
    const CliResult table = runCli({"ratings", "--builtin"});
    ASSERT_EQ(table.exitStatus, 0) << table.err;
    season.write("ratings.csv", table.out);

    const CliResult builtIn = runCli(validArguments());
    const CliResult fromFolder = runCli(withArgument("--rosters", season.path().string()));
    ASSERT_EQ(fromFolder.exitStatus, 0) << fromFolder.err;
    const std::string ratingsLine = "Ratings: " + (season.path() / "ratings.csv").string() + "\n";
    EXPECT_TRUE(builtIn.out.ends_with("Ratings: built-in\n"));
    EXPECT_TRUE(fromFolder.out.ends_with(ratingsLine)) << fromFolder.out;
    EXPECT_EQ(fromFolder.out.substr(0, fromFolder.out.size() - ratingsLine.size()),
              builtIn.out.substr(0, builtIn.out.size() - 18));

    // A table of other codes: its own codes play, the built-in ones are unknown to it.
    season.write("ratings.csv", "code,venue,offence,penalty,power_play,short_handed,defence\n"
                                "BOS,road,0.7,0.2,1,1,1\nVGK,home,1,0.2,1,1,1\n");
    EXPECT_NE(runCli(withArgument("--rosters", season.path().string()))
                  .err.find("Unknown home team \"TOR\""),
              std::string::npos);
    season.write("ratings.csv", "code,venue,offence\n");
    expectFailure({"ratings file without a column",
                   withArgument("--rosters", season.path().string()),
                   "ratings.csv', line 1, header: the column 'penalty' is missing"});
}

} // namespace
} // namespace zelkor::test
