#include "engine/FaceOffRun.h"

#include "simulation/RandomSource.h"
#include "support/RecordingWindow.h"
#include "teamdata/RatingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>

#include <unistd.h>

namespace zelkor {
namespace {

namespace fs = std::filesystem;
using testing::RecordingWindow;

// A folder of roster files for one test, removed afterwards.
class RosterFolder {
public:
    RosterFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = fs::temp_directory_path() /
                ("zelkor-faceoff-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~RosterFolder() { fs::remove_all(path_); }

    // 18 players, the first `games` games played each.
    void write(const std::string& code, int games = 80) const {
        std::ofstream file(path_ / code);
        for (int player = 1; player <= 18; ++player) {
            file << "Player " << player << ',' << games << ',' << 4 + player % 7 << ','
                 << 8 + player % 11 << "\r\n";
        }
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

class FaceOffRun : public ::testing::Test {
protected:
    FaceOffRun() {
        rosters.write("BOS");
        rosters.write("TOR");
        state.VISITOR = "BOS";
        state.HOME = "TOR";
        state.GAAV = 2.5f;
        state.GAAH = 3.0f;
        window.visitorGaa = "2.5";
        window.homeGaa = "3";
    }

    FaceOffResult play() { return runFaceOff(state, window, {draws, seeds, rosters.path()}); }
    FaceOffOutcome run() { return play().outcome; }

    // Marks the window and the state as a previous prediction left them.
    void showPreviousResults() {
        window.log = "previous log\r\n";
        window.visitorAverage = "7";
        window.homeAverage = "8";
        window.moneyLine = "OLD  1.1";
        state.OFFR = 0.5f;
        state.OFFH = 0.25f;
    }

    void expectPreviousResultsKept() const {
        EXPECT_EQ(window.visitorAverage, "7");
        EXPECT_EQ(window.homeAverage, "8");
        EXPECT_EQ(window.moneyLine, "OLD  1.1");
    }

    RosterFolder rosters;
    PredictionState state;
    RecordingWindow window;
    Xoshiro256StarStar draws;
    FixedSeed seeds{42};
};

TEST_F(FaceOffRun, CompletedRunShowsOnlyTheNewSeries) {
    showPreviousResults();
    EXPECT_EQ(run(), FaceOffOutcome::Completed);

    EXPECT_EQ(window.beeps, 1);
    EXPECT_TRUE(window.messages.empty());
    EXPECT_EQ(state.match, 12);
    EXPECT_EQ(window.log.find("previous log"), std::string::npos);
    const auto lines = window.logLines();
    const auto finalScores = std::count_if(lines.begin(), lines.end(), [](const auto& line) {
        return line.find(" score! by ") == std::string::npos;
    });
    EXPECT_EQ(finalScores, 11);
    EXPECT_NE(window.visitorAverage, "7");
    EXPECT_NE(window.moneyLine, "OLD  1.1");
    EXPECT_EQ(state.OFFR, 0.71f) << "the visitor's road rating";
    EXPECT_EQ(state.OFFH, 0.7858f) << "the home team's home rating";
}

TEST_F(FaceOffRun, SameSeedGivesTheSameLog) {
    ASSERT_EQ(run(), FaceOffOutcome::Completed);
    const std::string first = window.log;
    ASSERT_EQ(run(), FaceOffOutcome::Completed);
    EXPECT_EQ(window.log, first);
}

TEST_F(FaceOffRun, EmptyGaaTextIsRefusedWithOneBeepAndOneMessage) {
    const struct {
        const char* visitor;
        const char* home;
    } cases[] = {{"", ""}, {"", "3"}, {"2.5", ""}};
    for (const auto& c : cases) {
        window = RecordingWindow{};
        showPreviousResults();
        window.visitorGaa = c.visitor;
        window.homeGaa = c.home;

        const FaceOffResult result = play();
        EXPECT_EQ(result.outcome, FaceOffOutcome::Refused);
        ASSERT_TRUE(result.refusal);
        EXPECT_EQ(result.refusal->kind, RefusalKind::GaaMissing);
        EXPECT_EQ(window.beeps, 1);
        EXPECT_EQ(window.messages, std::vector<std::string>{"You must enter GAA"});
        EXPECT_EQ(window.log, "previous log\r\n");
        expectPreviousResultsKept();
        EXPECT_EQ(state.OFFR, 0.5f) << "nothing is loaded";
    }
}

TEST_F(FaceOffRun, GaaTextOfBlanksIsNotEmpty) {
    window.visitorGaa = "   ";
    EXPECT_EQ(run(), FaceOffOutcome::Completed);
}

TEST_F(FaceOffRun, WrongInputsAreRefusedBeforeAnythingChanges) {
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const struct {
        const char* visitor;
        const char* home;
        float gaaVisitor;
        float gaaHome;
        const char* message;
        InputField field = InputField::VisitorTeam;
        RefusalKind kind = RefusalKind::TeamUnknown;
    } cases[] = {
        {"", "TOR", 2.5f, 3.0f, "You must enter the visiting team", InputField::VisitorTeam,
         RefusalKind::TeamMissing},
        {"BOS", "", 2.5f, 3.0f, "You must enter the home team", InputField::HomeTeam,
         RefusalKind::TeamMissing},
        {"bos", "TOR", 2.5f, 3.0f, "Unknown visiting team \"bos\" (did you mean BOS?)"},
        {"BOS", "tor", 2.5f, 3.0f, "Unknown home team \"tor\" (did you mean TOR?)",
         InputField::HomeTeam},
        {"wat", "TOR", 2.5f, 3.0f, "Unknown visiting team \"wat\""},
        {"BOS ", "TOR", 2.5f, 3.0f, "Unknown visiting team \"BOS \" (a blank at the end)"},
        {"\tBOS\x1b", "TOR", 2.5f, 3.0f,
         "Unknown visiting team \"\\x09BOS\\x1b\" (a tab at the start and a control character "
         "at the end)"},
        {"WAT", "TOR", 2.5f, 3.0f, "Unknown visiting team \"WAT\""},
        {"BOS", "NAT", 2.5f, 3.0f, "Unknown home team \"NAT\"", InputField::HomeTeam},
        {"BOS", "TOR", 0.0f, 3.0f, "You must enter a value above 0", InputField::VisitorGaa,
         RefusalKind::GaaNotAboveZero},
        {"BOS", "TOR", 2.5f, -1.0f, "You must enter a value above 0", InputField::HomeGaa,
         RefusalKind::GaaNotAboveZero},
        {"BOS", "TOR", notANumber, 3.0f, "You must enter a value above 0", InputField::VisitorGaa,
         RefusalKind::GaaNotAboveZero},
    };
    for (const auto& c : cases) {
        window = RecordingWindow{};
        window.visitorGaa = "x";
        window.homeGaa = "y";
        showPreviousResults();
        state.VISITOR = c.visitor;
        state.HOME = c.home;
        state.GAAV = c.gaaVisitor;
        state.GAAH = c.gaaHome;

        const FaceOffResult result = play();
        EXPECT_EQ(result.outcome, FaceOffOutcome::Refused) << c.message;
        ASSERT_TRUE(result.refusal) << c.message;
        EXPECT_EQ(result.refusal->message, c.message);
        EXPECT_EQ(result.refusal->field, c.field) << c.message;
        EXPECT_EQ(result.refusal->kind, c.kind) << c.message;
        EXPECT_EQ(window.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(window.log, "previous log\r\n");
        expectPreviousResultsKept();
        EXPECT_EQ(state.OFFR, 0.5f) << c.message;
        EXPECT_EQ(state.OFFH, 0.25f) << c.message;
    }
}

TEST_F(FaceOffRun, RosterFailureKeepsTheLogAndThePreviousResults) {
    showPreviousResults();
    state.HOME = "CHI"; // in the table, but no roster file in the folder
    EXPECT_EQ(run(), FaceOffOutcome::Failed);

    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].find("CHI"), std::string::npos) << window.messages[0];
    EXPECT_EQ(window.log, "previous log\r\n") << "the log is cleared only after the rosters";
    expectPreviousResultsKept();
}

TEST_F(FaceOffRun, SeriesFailureIsReportedAndKeepsThePreviousResults) {
    rosters.write("TOR", 0);
    showPreviousResults();
    EXPECT_EQ(run(), FaceOffOutcome::Failed);

    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_NE(window.messages[0].find("games played"), std::string::npos) << window.messages[0];
    EXPECT_EQ(window.log, "") << "the log was cleared before the series began";
    expectPreviousResultsKept();
}

// The largest ratings the reader takes play; one beyond them (a table made in memory)
// fails naming the table, not the rosters.
TEST_F(FaceOffRun, RatingsBeyondWhatTheSeriesCanPlayNameTheTable) {
    const auto tableWith = [](Single powerPlay, Single shortHanded) {
        const TeamRating rating{1.1f, 0.3f, powerPlay, shortHanded, 0.9f};
        const TeamRating other{0.8f, 0.2f, 1.2f, 0.7f, 1.3f};
        return RatingTable({{"BOS", rating}, {"TOR", other}}, {{"BOS", other}, {"TOR", rating}});
    };
    const RatingTable most = tableWith(MostPowerPlayRating, MostShortHandedRating);
    EXPECT_EQ(runFaceOff(state, window, {draws, seeds, rosters.path(), most}).outcome,
              FaceOffOutcome::Completed)
        << (window.messages.empty() ? "" : window.messages.back());

    const RatingTable lost = tableWith(25000, 1.0f);
    EXPECT_EQ(runFaceOff(state, window, {draws, seeds, rosters.path(), lost}).outcome,
              FaceOffOutcome::Failed);
    ASSERT_FALSE(window.messages.empty());
    const std::string& message = window.messages.back();
    EXPECT_NE(message.find("BOS's road power play 25000 is more than 20165"), std::string::npos)
        << message;
    EXPECT_EQ(message.find("check-rosters"), std::string::npos) << message;
}

} // namespace
} // namespace zelkor
