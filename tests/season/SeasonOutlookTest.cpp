#include "season/SeasonOutlook.h"

#include "simulation/GameLoop.h"
#include "simulation/RandomSource.h"
#include "simulation/ScoringModel.h"
#include "teamdata/RatingTable.h"
#include "teamdata/RosterReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numeric>
#include <string>
#include <vector>

#include <unistd.h>

namespace zelkor {
namespace {

const std::filesystem::path Samples = ZELKOR_SAMPLE_ROSTERS;

ResultRow game(const char* date, const char* visitor, const char* home, int visitorGoals = 0,
               int homeGoals = 0, GameEnd end = GameEnd::Regulation) {
    static int line = 1;
    ResultRow row;
    row.line = ++line;
    row.date = date;
    row.visitor = visitor;
    row.home = home;
    row.visitorGoals = visitorGoals;
    row.homeGoals = homeGoals;
    row.end = end;
    return row;
}

// One division of five sample clubs, four of whom reach the playoffs: a few games played,
// each club with games left (BOS the most).
OutlookRequest fiveClubs() {
    OutlookRequest request;
    request.rosterFolder = Samples;
    request.alignment.format = PlayoffFormat::DivisionTopFour;
    for (const char* code : {"BOS", "TOR", "MON", "OTT", "BUF"}) {
        request.alignment.clubs.push_back({code, "East", "Northeast"});
    }
    request.schedule.played = {
        game("2001-01-02", "BOS", "TOR", 3, 1),
        game("2001-01-02", "MON", "OTT", 2, 3, GameEnd::Overtime),
        game("2001-01-03", "BUF", "BOS", 1, 1, GameEnd::Tie),
    };
    const char* pairs[][2] = {{"TOR", "BOS"}, {"OTT", "MON"}, {"BOS", "BUF"}, {"BUF", "TOR"},
                              {"MON", "BOS"}, {"OTT", "BUF"}, {"TOR", "MON"}, {"BOS", "OTT"}};
    int day = 10;
    for (const auto& pair : pairs) {
        const std::string date = "2001-01-" + std::to_string(day++);
        request.schedule.toPlay.push_back(game(date.c_str(), pair[0], pair[1]));
    }
    request.seasons = 60;
    request.baseSeed = 11;
    return request;
}

SeasonOutlook played(const OutlookRequest& request) {
    std::optional<SeasonOutlook> outlook = playOutlook(request, std::stop_token{});
    EXPECT_TRUE(outlook);
    return *outlook;
}

// The seasons are the seed's, whatever the threads: every figure is the same on one
// thread and on three; another seed plays other seasons.
TEST(SeasonOutlook, FiguresAreTheSeedsOnAnyNumberOfThreads) {
    OutlookRequest request = fiveClubs();
    request.threads = 1;
    const SeasonOutlook one = played(request);
    request.threads = 3;
    const SeasonOutlook three = played(request);
    ASSERT_EQ(one.clubs.size(), three.clubs.size());
    for (std::size_t k = 0; k < one.clubs.size(); ++k) {
        EXPECT_EQ(one.clubs[k].code, three.clubs[k].code);
        EXPECT_EQ(one.clubs[k].finalPoints, three.clubs[k].finalPoints) << one.clubs[k].code;
        EXPECT_EQ(one.clubs[k].playoffs, three.clubs[k].playoffs);
        EXPECT_EQ(one.clubs[k].conferencePlace, three.clubs[k].conferencePlace);
        EXPECT_EQ(one.clubs[k].mostPoints, three.clubs[k].mostPoints);
    }
    ASSERT_EQ(one.players.size(), three.players.size());
    for (std::size_t k = 0; k < one.players.size(); ++k) {
        EXPECT_EQ(one.players[k].name, three.players[k].name);
        EXPECT_EQ(one.players[k].projectedGoals, three.players[k].projectedGoals);
        EXPECT_EQ(one.players[k].goalLeader, three.players[k].goalLeader);
    }
    request.baseSeed = 12;
    const SeasonOutlook other = played(request);
    bool differs = false;
    for (std::size_t k = 0; k < one.clubs.size(); ++k) {
        differs = differs || one.clubs[k].finalPoints != other.clubs[k].finalPoints;
    }
    EXPECT_TRUE(differs);
}

// What every season must add up to: four playoff places, one first and one last club of
// the league, one goal leader, each club in one place; final points between the points so
// far and two more a game left; goals never below the roster's.
TEST(SeasonOutlook, ChancesAddUpSeasonBySeason) {
    const SeasonOutlook outlook = played(fiveClubs());
    EXPECT_EQ(outlook.seasons, 60u);
    EXPECT_EQ(outlook.gamesPlayed, 3u);
    EXPECT_EQ(outlook.gamesLeft, 8u);
    double playoffs = 0;
    double most = 0;
    double fewest = 0;
    double titles = 0;
    for (const ClubOutlook& club : outlook.clubs) {
        playoffs += club.playoffs;
        most += club.mostPoints;
        fewest += club.fewestPoints;
        titles += club.divisionTitle;
        ASSERT_EQ(club.conferencePlace.size(), 5u);
        EXPECT_NEAR(std::accumulate(club.conferencePlace.begin(), club.conferencePlace.end(), 0.0),
                    1.0, 1e-12);
        EXPECT_GE(club.points5, club.soFar.points());
        EXPECT_LE(club.points95, club.soFar.points() + 2 * club.gamesLeft);
        // The box a chart draws: each percentile in order.
        EXPECT_LE(club.points5, club.points25);
        EXPECT_LE(club.points25, club.pointsMedian);
        EXPECT_LE(club.pointsMedian, club.points75);
        EXPECT_LE(club.points75, club.points95);
        // Each percentile is the least points that at least that share of the seasons, counted
        // from the histogram, did not exceed (of 60 seasons: 3, 15, 30, 45 and 57).
        const std::pair<int, std::uint64_t> percentiles[] = {{club.points5, 5},
                                                             {club.points25, 25},
                                                             {club.pointsMedian, 50},
                                                             {club.points75, 75},
                                                             {club.points95, 95}};
        for (const auto& [points, percent] : percentiles) {
            std::uint64_t upTo = 0;
            for (int p = 0; p <= points; ++p) {
                upTo += club.finalPoints[std::size_t(p)];
            }
            EXPECT_GE(upTo * 100, percent * outlook.seasons) << club.code << " p" << percent;
            EXPECT_LT((upTo - club.finalPoints[std::size_t(points)]) * 100,
                      percent * outlook.seasons)
                << club.code << " p" << percent;
        }
        EXPECT_GE(club.meanPoints, club.points5);
        EXPECT_LE(club.meanPoints, club.points95);
    }
    EXPECT_NEAR(playoffs, 4.0, 1e-12);
    EXPECT_NEAR(most, 1.0, 1e-12);
    EXPECT_NEAR(fewest, 1.0, 1e-12);
    EXPECT_NEAR(titles, 1.0, 1e-12);
    ASSERT_EQ(outlook.players.size(), 5u * 18u);
    double leaders = 0;
    for (const PlayerOutlook& player : outlook.players) {
        leaders += player.goalLeader;
        EXPECT_GE(player.projectedGoals, player.goals);
    }
    EXPECT_NEAR(leaders, 1.0, 1e-9);
    for (std::size_t k = 1; k < outlook.players.size(); ++k) {
        EXPECT_GE(outlook.players[k - 1].projectedGoals, outlook.players[k].projectedGoals);
    }
    // The records so far are the games played: BOS won one and tied one; OTT won in
    // overtime, so MON has an overtime loss.
    for (const ClubOutlook& club : outlook.clubs) {
        if (club.code == "BOS") {
            EXPECT_EQ(club.soFar.points(), 3);
            EXPECT_EQ(club.gamesLeft, 4);
        }
        if (club.code == "MON") {
            EXPECT_EQ(club.soFar.overtimeLosses, 1);
            EXPECT_EQ(club.soFar.points(), 1);
        }
    }
}

// With every game played the outlook is the final table, whatever the seed: points by
// hand, the last club out, its goals the roster's.
TEST(SeasonOutlook, ASeasonWithEveryGamePlayedIsItsTable) {
    OutlookRequest request = fiveClubs();
    request.schedule.toPlay.clear();
    request.schedule.played.push_back(game("2001-01-05", "TOR", "BUF", 4, 2));
    request.schedule.played.push_back(game("2001-01-05", "OTT", "BOS", 0, 2));
    request.seasons = 3;
    const SeasonOutlook outlook = played(request);
    // BOS 2 + 1 + 2 = 5 in 3 games. TOR (2 in 2), OTT (2 in 2) and MON (1 in 1) are all at
    // 50 %: TOR won in regulation, OTT in overtime, MON not at all. BUF 1 in 2, 25 %.
    const std::vector<std::string> order{"BOS", "TOR", "OTT", "MON", "BUF"};
    ASSERT_EQ(outlook.clubs.size(), order.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        const ClubOutlook& club = outlook.clubs[k];
        EXPECT_EQ(club.code, order[k]);
        EXPECT_EQ(club.conferencePlace[k], 1.0) << club.code;
        EXPECT_EQ(club.playoffs, k < 4 ? 1.0 : 0.0) << club.code;
        EXPECT_EQ(club.points5, club.soFar.points());
        EXPECT_EQ(club.meanPoints, club.soFar.points());
    }
    EXPECT_EQ(outlook.clubs[0].mostPoints, 1.0);
    EXPECT_EQ(outlook.clubs[4].fewestPoints, 1.0);
    EXPECT_EQ(outlook.players[0].projectedGoals, outlook.players[0].goals);
}

// A roster of more games than the club has played so far (a past season replayed from a
// day) has its goals counted down to the games so far; one of fewer keeps them.
TEST(SeasonOutlook, GoalsSoFarFollowTheGamesPlayed) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zelkor-outlook-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* club : {"TOR", "MON", "OTT", "BUF"}) {
        std::filesystem::copy_file(Samples / club, folder / club,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    const auto writeBos = [&](int games) {
        std::ofstream roster(folder / "BOS");
        for (int row = 1; row <= 18; ++row) {
            roster << "Player " << row << "," << games << "," << 2 * row << ",3\n";
        }
    };
    OutlookRequest request = fiveClubs();
    request.rosterFolder = folder;
    request.seasons = 2;
    const auto goalsOfRow = [](const SeasonOutlook& outlook, int row) {
        for (const PlayerOutlook& player : outlook.players) {
            if (player.club == "BOS" && player.row == row) {
                return player.goals;
            }
        }
        return -1;
    };
    writeBos(4); // BOS has played 2 games: half the goals
    const SeasonOutlook halved = played(request);
    EXPECT_EQ(goalsOfRow(halved, 9), 9);
    EXPECT_EQ(goalsOfRow(halved, 1), 1);
    writeBos(2);
    const SeasonOutlook kept = played(request);
    EXPECT_EQ(goalsOfRow(kept, 9), 18);
    std::filesystem::remove_all(folder);
}

// Everything wrong with the inputs in one message before anything is played.
TEST(SeasonOutlook, EveryInputProblemIsNamedAtOnce) {
    OutlookRequest request = fiveClubs();
    request.alignment.clubs.push_back({"PHI", "East", "Atlantic"});      // no games
    request.schedule.toPlay.push_back(game("2001-02-01", "NYR", "QQQ")); // no division; QQQ nothing
    request.seasons = 0;
    const std::vector<std::string> problems = outlookProblems(request);
    std::string all;
    for (const std::string& problem : problems) {
        all += problem + "\n";
    }
    for (const char* part :
         {"The seasons must be 1 to", "QQQ", "without a division: NYR, QQQ.",
          "without a game in the schedule: PHI.", "do not rate on the road: QQQ.",
          "do not rate at home: QQQ.", "check-rosters"}) {
        EXPECT_NE(all.find(part), std::string::npos) << part << "\n" << all;
    }
    EXPECT_THROW(playOutlook(request, std::stop_token{}), OutlookInputError);
}

TEST(SeasonOutlook, AStopEndsTheRunWithoutFigures) {
    OutlookRequest request = fiveClubs();
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(playOutlook(request, stop.get_token()));
}

// A game alone, on a generator seeded as a series would be, is that series' first game:
// the same score and the same goals.
TEST(SeasonOutlook, OneGameIsTheFirstGameOfTheSeries) {
    PredictionState prepared;
    prepared.VISITOR = "TOR";
    prepared.HOME = "MON";
    prepared.GAAV = 2.9f;
    prepared.GAAH = 2.6f;
    prepared.shootout = true;
    prepared.shootoutVisitorChance = 0.4f;
    LoadTeamRatings(prepared, *RatingTable::builtin());
    ReadRosters(prepared, "TOR", "MON", Samples);
    for (std::uint64_t seed : {1ULL, 77ULL, 123456789ULL}) {
        PredictionState seriesState = prepared;
        Xoshiro256StarStar seriesDraws;
        FixedSeed seeds(seed);
        SeriesOutcome series;
        playQuietSeries(seriesState, seriesDraws, seeds, series);

        PredictionState gameState = prepared;
        Xoshiro256StarStar gameDraws(seed);
        SeriesOutcome single;
        RateCache rates;
        playQuietGame(gameState, gameDraws, single, rates);
        EXPECT_EQ(single.games[0].visitorGoals, series.games[0].visitorGoals) << seed;
        EXPECT_EQ(single.games[0].homeGoals, series.games[0].homeGoals) << seed;
        EXPECT_EQ(single.games[0].overtime, series.games[0].overtime) << seed;
        std::size_t firstGame = 0;
        while (firstGame < series.goals.size() && series.goals[firstGame].game == 1) {
            ++firstGame;
        }
        ASSERT_EQ(single.goals.size(), firstGame) << seed;
        for (std::size_t k = 0; k < firstGame; ++k) {
            EXPECT_EQ(single.goals[k].row, series.goals[k].row);
            EXPECT_EQ(single.goals[k].visiting, series.goals[k].visiting);
            EXPECT_EQ(single.goals[k].minute, series.goals[k].minute);
        }
    }
}

} // namespace
} // namespace zelkor
