#include "season/LeagueAlignment.h"

#include "season/PlayoffPlaces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace zelkor {
namespace {

const ClubAlignment* find(const LeagueAlignment& alignment, const std::string& code) {
    const auto club = std::find_if(alignment.clubs.begin(), alignment.clubs.end(),
                                   [&](const ClubAlignment& c) { return c.code == code; });
    return club == alignment.clubs.end() ? nullptr : &*club;
}

TEST(LeagueAlignment, SeasonOfADate) {
    EXPECT_EQ(seasonStartYear("2021-10-12"), 2021);
    EXPECT_EQ(seasonStartYear("2022-04-29"), 2021);
    EXPECT_EQ(seasonStartYear("2021-01-13"), 2020); // the late start of 2020-21
    EXPECT_EQ(seasonStartYear("2021-06-30"), 2020); // June ends a season's year
    EXPECT_EQ(seasonStartYear("2021-07-01"), 2021); // and July starts the next
    EXPECT_EQ(seasonName(2009), "2009-10");
    EXPECT_EQ(seasonName(1999), "1999-00");
}

// The moves the built-in alignments follow, a season on each side of each.
TEST(LeagueAlignment, BuiltinSeasonsFollowTheLeaguesMoves) {
    struct Row {
        int year;
        std::size_t clubs;
        const char* code;
        const char* division; // none: the club is absent
        PlayoffFormat format;
    };
    const Row rows[] = {
        {2013, 30, "PHX", "Pacific", PlayoffFormat::WildCard},
        {2014, 30, "ARI", "Pacific", PlayoffFormat::WildCard},
        {2016, 30, "VGK", nullptr, PlayoffFormat::WildCard},
        {2017, 31, "VGK", "Pacific", PlayoffFormat::WildCard},
        {2020, 31, "WPG", "North", PlayoffFormat::DivisionTopFour},
        {2021, 32, "ARI", "Central", PlayoffFormat::WildCard},
        {2021, 32, "SEA", "Pacific", PlayoffFormat::WildCard},
        {2023, 32, "UTA", nullptr, PlayoffFormat::WildCard},
        {2024, 32, "UTA", "Central", PlayoffFormat::WildCard},
        {2024, 32, "ARI", nullptr, PlayoffFormat::WildCard},
    };
    for (const Row& row : rows) {
        const auto alignment = builtinAlignment(row.year, TeamCodeKind::League);
        ASSERT_TRUE(alignment) << row.year;
        EXPECT_EQ(alignment->clubs.size(), row.clubs) << row.year;
        EXPECT_EQ(alignment->format, row.format) << row.year;
        const ClubAlignment* club = find(*alignment, row.code);
        if (row.division == nullptr) {
            EXPECT_EQ(club, nullptr) << row.year << " " << row.code;
        } else {
            ASSERT_NE(club, nullptr) << row.year << " " << row.code;
            EXPECT_EQ(club->division, row.division) << row.year << " " << row.code;
        }
        EXPECT_TRUE(formatProblems(*alignment).empty()) << row.year;
    }
    EXPECT_FALSE(builtinAlignment(2010, TeamCodeKind::League));
    EXPECT_THROW(builtinAlignment(2019, TeamCodeKind::League), AlignmentError);
}

// 2000-01 in the sample rosters' codes: Montreal is MON in the Northeast, Calgary CAL in
// the Northwest, Dallas in the Pacific; six divisions of five, eight a conference.
TEST(LeagueAlignment, TheBuiltinSeasonUsesTheSamplesCodes) {
    const auto alignment = builtinAlignment(2000, TeamCodeKind::Program);
    ASSERT_TRUE(alignment);
    EXPECT_EQ(alignment->clubs.size(), 30u);
    EXPECT_EQ(alignment->format, PlayoffFormat::ConferenceTopEight);
    ASSERT_NE(find(*alignment, "MON"), nullptr);
    EXPECT_EQ(find(*alignment, "MON")->division, "Northeast");
    ASSERT_NE(find(*alignment, "CAL"), nullptr);
    EXPECT_EQ(find(*alignment, "CAL")->conference, "Western");
    EXPECT_EQ(find(*alignment, "DAL")->division, "Pacific");
    EXPECT_EQ(find(*alignment, "MTL"), nullptr);
}

// What a build writes reads back as the same alignment.
TEST(LeagueAlignment, FilesReadBackAsWritten) {
    const auto alignment = builtinAlignment(2020, TeamCodeKind::League);
    const LeagueAlignment back = parseAlignment(divisionsFileText(*alignment),
                                                playoffFormatFileText(alignment->format), "D", "P");
    ASSERT_EQ(back.clubs.size(), alignment->clubs.size());
    for (std::size_t k = 0; k < back.clubs.size(); ++k) {
        EXPECT_EQ(back.clubs[k].code, alignment->clubs[k].code);
        EXPECT_EQ(back.clubs[k].division, alignment->clubs[k].division);
    }
    EXPECT_EQ(back.format, PlayoffFormat::DivisionTopFour);

    ResultRow opening;
    opening.date = "2021-01-13";
    opening.visitor = "MTL";
    opening.home = "TOR";
    ResultRow later = opening;
    later.date = "2021-03-01";
    later.visitor = "VGK";
    const auto files = alignmentFiles({opening, later});
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].first, DivisionsFileName);
    EXPECT_EQ(files[1].second, "division-top-four\n");
    later.visitor = "SEA"; // no Seattle in 2020-21
    EXPECT_TRUE(alignmentFiles({opening, later}).empty());
}

// Every problem of the two files in one message, each with its line.
TEST(LeagueAlignment, ProblemsOfTheFilesAreListedTogether) {
    const std::string divisions = "code,conference,division\n"
                                  "AAA,East,North\n"
                                  "BBB,East,North\n"
                                  "AAA,East,North\n"
                                  "CCC,West,North\n"
                                  "DDD,,South\n";
    try {
        parseAlignment(divisions, "best-of-seven\n", "D", "P");
        ADD_FAILURE() << "refused files were read";
    } catch (const AlignmentError& error) {
        const std::string message = error.what();
        for (const char* part :
             {"P names the playoff format 'best-of-seven', which is none of:", "wild-card",
              "D, line 4: AAA is listed twice (first on line 2)",
              "D, line 5: the division North is in the West conference here, but in the East "
              "conference on line 2",
              "D, line 6, conference: it is empty"}) {
            EXPECT_NE(message.find(part), std::string::npos) << part << "\n" << message;
        }
    }
    // Just enough clubs for the format: a conference of five for three division places and
    // two wild cards, a division of four for the top four.
    EXPECT_NO_THROW(parseAlignment("code,conference,division\nA,E,N\nB,E,N\nC,E,N\nD,E,N\nF,E,N\n",
                                   "wild-card", "D", "P"));
    EXPECT_NO_THROW(parseAlignment("code,conference,division\nA,E,N\nB,E,N\nC,E,N\nD,E,N\n",
                                   "division-top-four", "D", "P"));
    // Read, but too small for the format: two places short in the conference.
    try {
        parseAlignment("code,conference,division\nA,E,N\nB,E,N\nC,E,N\n", "wild-card", "D", "P");
        ADD_FAILURE() << "a conference of 3 was read for the wild-card format";
    } catch (const AlignmentError& error) {
        EXPECT_NE(std::string(error.what()).find("the conference E has 3 clubs, fewer than the 5"),
                  std::string::npos)
            << error.what();
    }
    EXPECT_THROW(parseAlignment("code,division\nA,N\n", "wild-card", "D", "P"), AlignmentError);
}

} // namespace
} // namespace zelkor
