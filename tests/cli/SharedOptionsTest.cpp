#include "cli/CliProcess.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace zelkor::test {
namespace {

std::vector<std::string> plus(std::vector<std::string> arguments,
                              const std::vector<std::string>& more) {
    arguments.insert(arguments.end(), more.begin(), more.end());
    return arguments;
}

const std::vector<std::string> Prediction = {"BOS", "TOR",        "--gaa-visitor",
                                             "2.8", "--gaa-home", "2.6"};
const std::vector<std::string> Backtest = {"backtest", "results.csv", "--rosters", "."};
const std::vector<std::string> RatingsFit = {"ratings", "--fit", "results.csv", "--rosters", "."};
const std::vector<std::string> Import = {"import-roster", "stats.csv", "--all", "--to", "."};
const std::vector<std::string> SeasonBuild = {"season",    "build", "--skaters", "s.csv",
                                              "--results", "r.csv", "--to",      "season"};

// Each shared option refuses a value in every subcommand that takes it, before any file is
// read, with the same words.
TEST(SharedOptions, EverySubcommandRefusesAValueAlike) {
    struct Refusal {
        const char* label;
        std::vector<std::string> arguments;
        const char* expectedInMessage;
    };
    const char* const NotASeed = "'0x10' is not an unsigned 64-bit decimal number";
    const char* const NotACodeKind = "LEAGUE not in {program,league}";
    const char* const NotADate = "The date 'tomorrow' is not a date of the form YYYY-MM-DD";
    const char* const NotDecimal = "'0x3' is not a whole number in decimal digits";
    const std::vector<Refusal> refusals = {
        {"a prediction's seed in hexadecimal", plus(Prediction, {"--seed", "0x10"}), NotASeed},
        {"a backtest's seed in hexadecimal", plus(Backtest, {"--seed", "0x10"}), NotASeed},
        {"a backtest's codes in capitals", plus(Backtest, {"--codes", "LEAGUE"}), NotACodeKind},
        {"a fit's codes in capitals", plus(RatingsFit, {"--codes", "LEAGUE"}), NotACodeKind},
        {"an import's codes in capitals", plus(Import, {"--codes", "LEAGUE"}), NotACodeKind},
        {"a fit before tomorrow", plus(RatingsFit, {"--before", "tomorrow"}), NotADate},
        {"a season build before tomorrow", plus(SeasonBuild, {"--before", "tomorrow"}), NotADate},
        {"a fit before a day the calendar lacks", plus(RatingsFit, {"--before", "2023-02-29"}),
         "'2023-02-29' is not a date"},
        {"a backtest's default GAA of 0", plus(Backtest, {"--default-gaa", "0"}), "not above 0"},
        {"a fit's default GAA of 0", plus(RatingsFit, {"--default-gaa", "0"}), "not above 0"},
        {"a backtest's default GAA with a comma", plus(Backtest, {"--default-gaa", "2,8"}),
         "'2,8'"},
        {"a fit's default GAA too large", plus(RatingsFit, {"--default-gaa", "1e39"}), "too large"},
        {"a backtest's calibration series in hexadecimal",
         plus(Backtest, {"--walk-forward", "--calibration-series", "0x3"}), NotDecimal},
        {"a fit's check series in hexadecimal", plus(RatingsFit, {"--check-series", "0x3"}),
         NotDecimal},
        {"a fit's calibration series in hexadecimal",
         plus(RatingsFit, {"--calibration-series", "0x3"}), NotDecimal},
        {"a season build's series in hexadecimal", plus(SeasonBuild, {"--series", "0x3"}),
         NotDecimal},
        {"a fit's calibration rounds in hexadecimal",
         plus(RatingsFit, {"--calibration-rounds", "0x3"}), "'0x3'"},
        {"a prior without a walk-forward", plus(Backtest, {"--prior", "p.csv"}),
         "need --walk-forward"},
        {"a prior under both its names",
         plus(Backtest, {"--walk-forward", "--prior", "p.csv", "--ratings", "q.csv"}), "excludes"},
    };
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.label);
        const CliResult result = runCli(refusal.arguments);
        EXPECT_EQ(result.exitStatus, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(refusal.expectedInMessage), std::string::npos) << result.err;
    }
}

// The line of the help that names the option.
std::string helpLine(const std::string& help, const std::string& option) {
    std::istringstream lines(help);
    std::string line;
    std::string found;
    while (std::getline(lines, line)) {
        if (line.find(option) != std::string::npos) {
            found = line;
            // CLI11 puts a long description on the line after the option's.
            if (std::getline(lines, line)) {
                found += line;
            }
            break;
        }
    }
    return found;
}

TEST(SharedOptions, EveryCommandThatFitsHasTheSameDefaults) {
    const std::vector<std::vector<std::string>> helps = {
        {"backtest", "--help"}, {"ratings", "--help"}, {"season", "build", "--help"}};
    for (const auto& arguments : helps) {
        SCOPED_TRACE(arguments.front());
        const CliResult help = runCli(arguments);
        ASSERT_EQ(help.exitStatus, 0) << help.err;
        EXPECT_NE(helpLine(help.out, "--calibration-series").find("(default 20)"),
                  std::string::npos)
            << help.out;
        EXPECT_NE(help.out.find("  --prior FILE"), std::string::npos) << help.out;
        if (arguments.front() != "season") {
            EXPECT_NE(helpLine(help.out, "--default-gaa").find("(default 2.8)"), std::string::npos)
                << help.out;
            EXPECT_NE(helpLine(help.out, "--calibration-rounds").find("(default 5)"),
                      std::string::npos)
                << help.out;
        }
    }
}

// Games on both sides of the day: before it, the fit has no game and says so.
TEST(SharedOptions, RatingsFitTakesOnlyTheGamesBeforeTheDay) {
    TempFolder folder;
    folder.write("results.csv", "date,visitor,home,visitor_goals,home_goals\n"
                                "2001-01-05,BOS,TOR,3,2\n"
                                "2001-01-09,TOR,BOS,1,4\n");
    const CliResult none = runCli({"ratings", "--fit", (folder.path() / "results.csv").string(),
                                   "--rosters", ZELKOR_SAMPLE_ROSTERS, "--before", "2001-01-05"});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_NE(none.err.find("lists no game before 2001-01-05 to fit the ratings to"),
              std::string::npos)
        << none.err;
    EXPECT_EQ(none.out, "");
}

} // namespace
} // namespace zelkor::test
