#include "teamdata/RosterFindings.h"

#include "core/Errors.h"
#include "teamdata/RosterReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;

std::string roster(const std::string& firstLine, const std::string& after = "") {
    std::string text = firstLine + "\n";
    for (int k = 2; k <= PlayersPerTeam; ++k) {
        text += "P" + std::to_string(k) + ",80," + std::to_string(k) + ",3\n";
    }
    return text + after;
}

// The check lists an error exactly where a prediction's reading throws, and the
// prediction throws the check's first error.
TEST(RosterFindings, TheReadingThrowsTheFirstErrorTheCheckLists) {
    struct Case {
        const char* code;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"OK", roster("Ann,80,1,1")},
        {"NUM", roster("12,80,1,1", "-7,3e5\n" + std::string(1, '\0'))},
        {"NEG", roster("Ann,-1,-2,1")},
        {"BIG", roster("Ann,80,1e39,1")},
        {"SUM", "A,80,3e38,1\nB,80,3e38,-1\n" + roster("C,80,1,1")},
        {"SHORT", "Ann,80,1,1\n"},
        {"QUOTE", roster("\"Ann,80,1,1")},
        {"NUL", roster(std::string("An\0n,80,1,1", 11))},
        {"LONG", roster("Ann,80," + std::string(5000, '1') + ",1")},
        {"GAMES", roster("Ann,0,1,1")},
        {"NOAST", "A,1,1,0\n" + roster("B,1,1,0").substr(8)},
        {"SHIFT", roster("Doe, Ann,80,1,1")},
        {"MISSING", ""},
    };
    const fs::path folder =
        fs::temp_directory_path() / ("zelkor-findings-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (const Case& c : cases) {
        if (std::string(c.code) != "MISSING") {
            std::ofstream(folder / c.code, std::ios::binary) << c.text;
        }
    }
    for (const Case& c : cases) {
        const std::vector<RosterFinding> findings = diagnoseRosterFile(c.code, folder);
        const auto thrown = std::find_if(findings.begin(), findings.end(), [](const auto& f) {
            return f.severity == FindingSeverity::Error && f.kind != FindingKind::ScoringRate;
        });
        std::string message;
        try {
            PredictionState state;
            ReadRosters(state, c.code, c.code, folder);
        } catch (const ZelkorError& error) {
            message = error.what();
        }
        EXPECT_EQ(message, thrown == findings.end() ? "" : thrown->message) << c.code;
    }
    fs::remove_all(folder);
}

} // namespace
} // namespace zelkor
