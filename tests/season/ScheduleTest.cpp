#include "season/Schedule.h"

#include "season/DataErrors.h"

#include <gtest/gtest.h>

#include <string>

namespace zelkor {
namespace {

const std::string Header = "date,visitor,home,visitor_goals,home_goals,result\n";

Schedule scheduleFrom(const std::string& text, const std::string& asOf) {
    return scheduleOf(readResults(parseCsv(text, "S"), "S", TeamCodeMap(), 2.8f), asOf);
}

// A game without a score is still to play (the results reader keeps it as such and still
// counts it skipped); the day moves the games on or after it there too, scores dropped, and
// the games to play go by date.
TEST(Schedule, SplitsOnTheDayAndKeepsGamesWithoutAScore) {
    const std::string text = Header + "2022-01-03,BOS,TOR,,,\n"
                                      "2021-12-30,MON,BOS,4,2,REG\n"
                                      "2022-01-01,TOR,MON,3,4,OT\n"
                                      "2021-12-31,OTT,TOR,1,2,SO\n";
    const ResultsFile file = readResults(parseCsv(text, "S"), "S", TeamCodeMap(), 2.8f);
    EXPECT_EQ(file.skipped, 1);
    ASSERT_EQ(file.unplayed.size(), 1u);
    EXPECT_EQ(file.unplayed[0].line, 2);
    EXPECT_EQ(file.unplayed[0].visitor, "BOS");

    const Schedule all = scheduleFrom(text, "");
    EXPECT_EQ(all.played.size(), 3u);
    ASSERT_EQ(all.toPlay.size(), 1u);

    const Schedule onNewYear = scheduleFrom(text, "2022-01-01");
    ASSERT_EQ(onNewYear.played.size(), 2u);
    EXPECT_EQ(onNewYear.played[0].visitor, "MON");
    EXPECT_EQ(onNewYear.played[1].end, GameEnd::Shootout);
    ASSERT_EQ(onNewYear.toPlay.size(), 2u);
    EXPECT_EQ(onNewYear.toPlay[0].date, "2022-01-01");
    EXPECT_EQ(onNewYear.toPlay[0].visitor, "TOR");
    EXPECT_EQ(onNewYear.toPlay[0].visitorGoals, 0);
    EXPECT_EQ(onNewYear.toPlay[1].date, "2022-01-03");
}

// Every problem at once, with its lines: two games of a club on a day (played or not), a
// club playing itself, a game to play on a day that is no date.
TEST(Schedule, ProblemsAreListedTogether) {
    const std::string text = Header + "2022-01-03,BOS,TOR,,,\n"
                                      "2022-01-03,MON,BOS,,,\n"
                                      "2022-02-30,TOR,MON,,,\n"
                                      "2021-12-01,TOR,MON,2,1,REG\n";
    Schedule schedule = scheduleFrom(text, "");
    // The results reader refuses a club playing itself, so that game is added by hand.
    ResultRow itself;
    itself.line = 6;
    itself.date = "2022-01-04";
    itself.visitor = "OTT";
    itself.home = "OTT";
    schedule.toPlay.push_back(itself);
    const std::vector<std::string> problems = scheduleProblems(schedule, "The schedule");
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_NE(problems[0].find("line 4, date: '2022-02-30'"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("line 6: OTT plays itself"), std::string::npos) << problems[1];
    EXPECT_NE(problems[2].find("BOS plays 2 games on 2022-01-03 (lines 2 3)"), std::string::npos)
        << problems[2];
}

// A game listed without a score and again later with one was postponed: the listing is
// skipped and counted, so the game is played once, also when a day asked for comes before
// it and the replay is played again. A listing after the last scored game is still to
// play; one on no date stays for the check to name.
TEST(Schedule, PostponedListingsAreSkippedAndCounted) {
    const std::string text = Header + "2022-01-05,BOS,TOR,,,\n" // postponed, replayed below
                                      "2022-01-06,MON,OTT,2,3,REG\n"
                                      "2022-01-10,BOS,TOR,4,1,REG\n"
                                      "2022-01-12,OTT,MON,,,\n"  // after the last score: to play
                                      "2022-13-01,TOR,OTT,,,\n"; // no date: kept for the check
    const Schedule all = scheduleFrom(text, "");
    EXPECT_EQ(all.postponedSkipped, 1u);
    EXPECT_EQ(all.played.size(), 2u);
    ASSERT_EQ(all.toPlay.size(), 2u);
    EXPECT_EQ(all.toPlay[0].visitor, "OTT");
    EXPECT_EQ(all.toPlay[1].date, "2022-13-01");
    EXPECT_EQ(scheduleProblems(all, "S").size(), 1u);

    // As of the 3rd BOS and TOR meet once, on the day of the replay.
    const Schedule onThird = scheduleFrom(text, "2022-01-03");
    EXPECT_EQ(onThird.postponedSkipped, 1u);
    EXPECT_TRUE(onThird.played.empty());
    ASSERT_EQ(onThird.toPlay.size(), 4u);
    EXPECT_EQ(onThird.toPlay[0].date, "2022-01-06");
    EXPECT_EQ(onThird.toPlay[1].date, "2022-01-10");
    EXPECT_EQ(onThird.toPlay[1].visitor, "BOS");

    // A listing on the day of the last score has not been passed: that day's other games
    // may still be going on.
    const Schedule sameDay = scheduleFrom(Header + "2022-01-10,BOS,TOR,4,1,REG\n"
                                                   "2022-01-10,OTT,MON,,,\n",
                                          "");
    EXPECT_EQ(sameDay.postponedSkipped, 0u);
    ASSERT_EQ(sameDay.toPlay.size(), 1u);
    EXPECT_EQ(sameDay.toPlay[0].visitor, "OTT");

    // A file of games still to play only skips nothing.
    EXPECT_EQ(scheduleFrom(Header + "2022-01-05,BOS,TOR,,,\n2022-01-04,TOR,BOS,,,\n", "")
                  .postponedSkipped,
              0u);
}

TEST(Schedule, ReaderRefusesABadDayAndAMissingFile) {
    EXPECT_THROW(readSchedule("/nonexistent/schedule.csv", TeamCodeMap(), ""), InputFileError);
    EXPECT_THROW(readSchedule("/nonexistent/schedule.csv", TeamCodeMap(), "2022-13-01"),
                 InputDataError);
}

} // namespace
} // namespace zelkor
