#include "season/RatingsFit.h"

#include "odds/ManySeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zelkor {
namespace {

const std::filesystem::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

// Known ratings with the league-typical special teams, so that only offence and defence
// differ from what the fit starts from.
RatingTable knownTable() {
    const auto road = [](Single offence, Single defence) {
        return TeamRating{offence, 0.2128f, 0.9394f, 1.0399f, defence};
    };
    const auto home = [](Single offence, Single defence) {
        return TeamRating{offence, 0.2128f, 1.0545f, 1.0676f, defence};
    };
    return RatingTable(
        {{"BOS", road(0.9f, 0.8f)}, {"TOR", road(0.6f, 1.1f)}, {"MON", road(0.75f, 0.95f)}},
        {{"BOS", home(1.2f, 0.9f)}, {"TOR", home(0.8f, 1.2f)}, {"MON", home(1.0f, 1.0f)}});
}

// The games the model itself plays with the known table, as results.
std::vector<ResultRow> playedSeason(const std::shared_ptr<const RatingTable>& table,
                                    std::uint64_t series) {
    std::vector<ResultRow> games;
    for (const char* visitor : {"BOS", "TOR", "MON"}) {
        for (const char* home : {"BOS", "TOR", "MON"}) {
            if (std::string(visitor) == home) {
                continue;
            }
            ManySeriesRequest request;
            request.visitor = visitor;
            request.home = home;
            request.visitorGaa = request.homeGaa = {"2.8", 2.8f};
            request.rosterFolder = SampleRosters;
            request.series = series;
            request.baseSeed = games.size();
            request.ratings = table;
            const OddsTally tally = *playManySeries(request, {});
            for (const auto& [score, count] : tally.scores()) {
                for (std::uint64_t game = 0; game < count; ++game) {
                    games.push_back({0, "2000-01-01", visitor, home, score.first, score.second,
                                     2.8f, 2.8f, std::nullopt});
                }
            }
        }
    }
    return games;
}

TEST(RatingsFit, RecoversTheGoalsOfKnownRatings) {
    const auto known = std::make_shared<const RatingTable>(knownTable());
    const std::vector<ResultRow> games = playedSeason(known, 150);
    FitOptions options;
    options.priorGames = 0;
    options.venueGames = 0; // the known table's venues differ club by club
    options.defaultGaa = 2.8f;
    const RatingsFit fit = fitRatings(games, readTeamScoring(SampleRosters, {"BOS", "TOR", "MON"}),
                                      SampleRosters, options);
    // Offence times the opposing defence is what the goals show; each pairing within 6 %.
    for (const char* visitor : {"BOS", "TOR", "MON"}) {
        for (const char* home : {"BOS", "TOR", "MON"}) {
            const auto product = [&](const RatingTable& table) {
                return table.roadRating(visitor)->offence * table.homeRating(home)->defence;
            };
            EXPECT_NEAR(product(fit.table) / product(*known), 1.0, 0.06)
                << visitor << " at " << home;
        }
    }
}

TEST(RatingsFit, CalibrationPlaysTheSeasonBackWithinTheTolerance) {
    const auto known = std::make_shared<const RatingTable>(knownTable());
    const std::vector<ResultRow> games = playedSeason(known, 8);
    FitOptions options;
    options.defaultGaa = 2.8f;
    const auto scoring = readTeamScoring(SampleRosters, {"BOS", "TOR", "MON"});
    const std::optional<RatingsFit> fit = calibrateRatings(
        fitRatings(games, scoring, SampleRosters, options), games, SampleRosters, options, 3, 2);
    ASSERT_TRUE(fit);
    ASSERT_EQ(fit->check.size(), 3U);
    for (const TeamFitCheck& check : fit->check) {
        EXPECT_TRUE(check.road.within(FitTolerance)) << check.code;
        EXPECT_TRUE(check.home.within(FitTolerance)) << check.code;
        for (const RatedTeam& row : fit->table.road()) {
            EXPECT_TRUE(std::isfinite(row.rating.offence) && row.rating.offence >= 0);
            EXPECT_TRUE(row.rating.penalty >= 0 && row.rating.penalty <= 1);
        }
    }
}

TEST(RatingsFitGoalie, StarterCountsRelativeToHisClubsUsualGoalie) {
    FitOptions options;
    options.defaultGaa = 2.75f;
    options.gaa = {{"BOS", 2.5f}, {"TOR", 3.3f}};
    // 2.75 * 3.0 / 2.5 = 3.3: a starter worse than Boston's usual goalie.
    EXPECT_NEAR(goalieGaa(options, "BOS", 3.0f), 3.3f, 1e-5);
    // 2.75 * 3.3 / 3.3: Toronto's usual goalie plays at the default.
    EXPECT_NEAR(goalieGaa(options, "TOR", 3.3f), 2.75f, 1e-5);
    // A club without a usual goalie keeps the starter's own average.
    EXPECT_EQ(goalieGaa(options, "MON", 2.9f), 2.9f);
}

// Two clubs of a prior whose venues differ, and their scoring (no roster files needed
// while no game is fitted): at the league's goals per assist, rosters of 3 and 2 goals a
// game.
struct TwoClubPrior {
    std::shared_ptr<const RatingTable> table;
    std::map<std::string, TeamScoring> scoring{{"BOS", {3.0, 0.5893}}, {"TOR", {2.0, 0.5893}}};

    TwoClubPrior() {
        const auto row = [](Single offence, Single defence) {
            return TeamRating{offence, 0.25f, 1.1f, 0.9f, defence};
        };
        table = std::make_shared<const RatingTable>(
            RatingTable({{"BOS", row(0.8f, 0.9f)}, {"TOR", row(0.6f, 1.3f)}},
                        {{"BOS", row(1.0f, 1.0f)}, {"TOR", row(0.6f, 1.2f)}}));
    }
};

TEST(RatingsFitPrior, OpeningNightPlaysThePriorCarriedTowardTheLeagueMean) {
    const TwoClubPrior prior;
    FitOptions options;
    options.prior = prior.table;
    options.priorCarry = 0.5;
    const RatingsFit fit = fitRatings({}, prior.scoring, SampleRosters, options);
    // Offence levels: road (0.8 + 0.6) / 2 = 0.7, home (1.0 + 0.6) / 2 = 0.8. Boston's one
    // offence (0.8 / 0.7 + 1.0 / 0.8) / 2 = 1.196429 scores 3 * 1.196429 = 3.589286,
    // Toronto's (0.6 / 0.7 + 0.6 / 0.8) / 2 = 0.803571 scores 1.607143; their mean 2.598214.
    // Carried half way to it: Boston 3.09375 / 3 = 1.03125, Toronto 2.102679 / 2 = 1.051339
    // (a weak roster's club comes back as much as a strong one's).
    struct Case {
        const char* code;
        double roadOffence, homeOffence, roadDefence, homeDefence;
    };
    // Defence levels: road 1.1, home 1.1; Boston (0.9 + 1.0) / 2.2 = 0.863636 -> 0.931818,
    // Toronto (1.3 + 1.2) / 2.2 = 1.136364 -> 1.068182.
    for (const Case& c : {Case{"BOS", 0.721875, 0.825000, 1.025000, 1.025000},
                          Case{"TOR", 0.735938, 0.841071, 1.175000, 1.175000}}) {
        const TeamRating& road = *fit.table.roadRating(c.code);
        const TeamRating& home = *fit.table.homeRating(c.code);
        EXPECT_NEAR(road.offence, c.roadOffence, 1e-5) << c.code;
        EXPECT_NEAR(home.offence, c.homeOffence, 1e-5) << c.code;
        EXPECT_NEAR(road.defence, c.roadDefence, 1e-5) << c.code;
        EXPECT_NEAR(home.defence, c.homeDefence, 1e-5) << c.code;
        // Special teams stay the prior's.
        EXPECT_EQ(road.powerPlay, 1.1f);
        EXPECT_EQ(home.penalty, 0.25f);
    }
    EXPECT_TRUE(fit.newClubs.empty());
}

TEST(RatingsFitPrior, AClubThePriorLacksStartsFromItsRosterAtTheLeaguesLevel) {
    TwoClubPrior prior;
    prior.scoring["MON"] = {2.5, 0.5893};
    FitOptions options;
    options.prior = prior.table;
    options.priorCarry = 0.5;
    const RatingsFit fit = fitRatings({}, prior.scoring, SampleRosters, options);
    ASSERT_EQ(fit.newClubs, std::vector<std::string>{"MON"});
    // The prior's average rows are its level (0.7 and 0.8), Montreal's strength 1.
    EXPECT_NEAR(fit.table.roadRating("MON")->offence, 0.7, 1e-5);
    EXPECT_NEAR(fit.table.homeRating("MON")->offence, 0.8, 1e-5);
    EXPECT_NEAR(fit.table.homeRating("MON")->defence, 1.1, 1e-5);
}

TEST(RatingsFitPrior, FullCarryKeepsEachClubsMeanButNotItsVenueSplit) {
    const TwoClubPrior prior;
    FitOptions options;
    options.prior = prior.table;
    options.priorCarry = 1;
    const RatingsFit fit = fitRatings({}, prior.scoring, SampleRosters, options);
    // Boston's road offence: 0.7 * 1.196429 = 0.8375, not its prior row's 0.8.
    EXPECT_NEAR(fit.table.roadRating("BOS")->offence, 0.8375, 1e-5);
    EXPECT_NEAR(fit.table.homeRating("BOS")->offence, 0.957143, 1e-5);
    EXPECT_NEAR(fit.table.roadRating("TOR")->defence, 1.25, 1e-5);
}

// A season's special teams shrunk toward the league's: BOS is short-handed 2 a game, TOR 4,
// the league 3; power plays score 30 % and 10 % against 20 %; short-handed goals come 1 in
// 10 and 1 in 20 against 1 in 15 (shares 2/3, 4/3; 1.5, 0.5; 1.5, 0.75). The league counted
// as 1 season of penalties keeps half of each penalty share, as 4 seasons of goals a fifth
// of each goal share; on the league-typical road row 0.2128, 0.9394, 1.0399.
TEST(RatingsFitSpecialTeams, SharesShrinkTowardTheLeaguesBySeasons) {
    const std::map<std::string, TeamScoring> scoring{{"BOS", {3.0, 0.5893}},
                                                     {"TOR", {2.0, 0.5893}}};
    FitOptions options;
    options.specialTeams["BOS"] = {10, 20, 15, 50, 2};
    options.specialTeams["TOR"] = {10, 40, 5, 50, 2};
    options.penaltySeasons = 1;
    options.specialGoalsSeasons = 4;
    const RatingTable table = fitRatings({}, scoring, SampleRosters, options).table;
    const struct {
        const char* code;
        double penalty, powerPlay, shortHanded;
    } expected[] = {{"BOS", 5.0 / 6, 1.1, 1.1}, {"TOR", 7.0 / 6, 0.9, 0.95}};
    for (const auto& club : expected) {
        SCOPED_TRACE(club.code);
        const TeamRating& road = *table.roadRating(club.code);
        EXPECT_NEAR(road.penalty, 0.2128 * club.penalty, 1e-5);
        EXPECT_NEAR(road.powerPlay, 0.9394 * club.powerPlay, 1e-5);
        EXPECT_NEAR(road.shortHanded, 1.0399 * club.shortHanded, 1e-5);
    }
    // By default every club plays at the league's (a season's did not foretell the next).
    FitOptions byDefault;
    byDefault.specialTeams = options.specialTeams;
    const RatingTable league = fitRatings({}, scoring, SampleRosters, byDefault).table;
    EXPECT_NEAR(league.roadRating("TOR")->penalty, 0.2128, 1e-5);
    EXPECT_NEAR(league.roadRating("BOS")->powerPlay, 0.9394, 1e-5);
    EXPECT_NEAR(league.roadRating("BOS")->shortHanded, 1.0399, 1e-5);
    // No seasons of the league: the club's own shares, as its totals give them.
    options.penaltySeasons = 0;
    options.specialGoalsSeasons = 0;
    const RatingTable own = fitRatings({}, scoring, SampleRosters, options).table;
    EXPECT_NEAR(own.roadRating("TOR")->penalty, 0.2128 * 4 / 3, 1e-5);
    EXPECT_NEAR(own.roadRating("BOS")->powerPlay, 0.9394 * 1.5, 1e-5);
}

// A season of the three sample clubs in which Boston scores far more at home than on the
// road, and Toronto the other way round.
std::vector<ResultRow> splitVenueSeason() {
    std::vector<ResultRow> games;
    const char* codes[] = {"BOS", "TOR", "MON"};
    int day = 1;
    for (int round = 0; round < 6; ++round) {
        for (const char* visitor : codes) {
            for (const char* home : codes) {
                if (std::string(visitor) == home) {
                    continue;
                }
                const int visitorGoals = std::string(visitor) == "TOR" ? 5 : 1;
                const int homeGoals = std::string(home) == "BOS" ? 6 : 2;
                const std::string date =
                    "2001-01-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
                games.push_back({static_cast<int>(games.size()) + 2, date, visitor, home,
                                 visitorGoals, homeGoals, 2.75f, 2.75f, std::nullopt});
                day = day % 28 + 1;
            }
        }
    }
    return games;
}

double homeOverRoad(const RatingTable& table, const char* code) {
    return table.homeRating(code)->offence / table.roadRating(code)->offence;
}

TEST(RatingsFitVenues, DeviationsShrinkTowardTheLeaguesHomeFactor) {
    const std::vector<ResultRow> games = splitVenueSeason();
    const auto scoring = readTeamScoring(SampleRosters, {"BOS", "TOR", "MON"});
    FitOptions options;
    options.priorGames = 0;
    options.venueGames = 0;
    const RatingsFit free = fitRatings(games, scoring, SampleRosters, options);
    // Unshrunk, Boston's offence is far higher at home and Toronto's on the road.
    EXPECT_GT(homeOverRoad(free.table, "BOS"), 2 * homeOverRoad(free.table, "MON"));
    EXPECT_LT(homeOverRoad(free.table, "TOR"), homeOverRoad(free.table, "MON") / 2);

    options.venueGames = 1e9;
    const RatingsFit shrunk = fitRatings(games, scoring, SampleRosters, options);
    // Shrunk all the way, every club's home over road offence is the league's.
    EXPECT_NEAR(homeOverRoad(shrunk.table, "BOS"), homeOverRoad(shrunk.table, "MON"), 1e-4);
    EXPECT_NEAR(homeOverRoad(shrunk.table, "TOR"), homeOverRoad(shrunk.table, "MON"), 1e-4);
    // Boston's and Toronto's scoring still tells them apart.
    EXPECT_NE(shrunk.table.roadRating("BOS")->offence, shrunk.table.roadRating("TOR")->offence);
}

TEST(RatingsFitVenues, ScorelessFirstRoadGamesLeaveARoadOffenceAboveZero) {
    std::vector<ResultRow> games;
    for (int day = 1; day <= 4; ++day) {
        const bool bostonAway = day % 2 == 1;
        games.push_back({day + 1, "2001-10-0" + std::to_string(day), bostonAway ? "BOS" : "TOR",
                         bostonAway ? "TOR" : "BOS", bostonAway ? 0 : 2, bostonAway ? 3 : 4, 2.75f,
                         2.75f, std::nullopt});
    }
    const RatingsFit fit = fitRatings(games, readTeamScoring(SampleRosters, {"BOS", "TOR"}),
                                      SampleRosters, FitOptions{});
    EXPECT_GT(fit.table.roadRating("BOS")->offence, 0.05f);
    EXPECT_LT(fit.table.roadRating("BOS")->offence, fit.table.homeRating("BOS")->offence);
}

TEST(RatingsFitLevel, PriorLevelCountsAsGamesOfTheLeague) {
    // 10 games scored 30 goals where level 1 expects 20: the games' level is 1.5.
    EXPECT_NEAR(shrunkLevel(30, 20, 10, 0.8, 0), 1.5, 1e-12);
    // The prior's 0.8 as 30 games: (10 * 1.5 + 30 * 0.8) / 40 = 0.975.
    EXPECT_NEAR(shrunkLevel(30, 20, 10, 0.8, 30), 0.975, 1e-12);
    // As 10 games, half way: (1.5 + 0.8) / 2.
    EXPECT_NEAR(shrunkLevel(30, 20, 10, 0.8, 10), 1.15, 1e-12);
    // Twice the games at the same rate weigh twice: (20 * 1.5 + 30 * 0.8) / 50 = 1.08.
    EXPECT_NEAR(shrunkLevel(60, 40, 20, 0.8, 30), 1.08, 1e-12);
    // Scoreless games pull toward 0 as far as their number allows: 30 * 0.8 / 40.
    EXPECT_NEAR(shrunkLevel(0, 20, 10, 0.8, 30), 0.6, 1e-12);
    // Nothing to weigh, or nothing expected: the prior's level, never a division by 0.
    EXPECT_EQ(shrunkLevel(0, 0, 0, 0.8, 0), 0.8);
    EXPECT_EQ(shrunkLevel(3, 0, 1, 0.8, 1000), 0.8);
    EXPECT_EQ(shrunkLevel(3, 2, 0, 0.8, 1000), 0.8);
}

// Three clubs of one strength whose prior's home offence is 8/7 of its road one, and one
// week of every pairing in which every home side scores 5 and every visitor 1.
struct HomeHeavyWeek {
    std::shared_ptr<const RatingTable> prior;
    std::vector<ResultRow> games;

    HomeHeavyWeek() {
        const auto row = [](Single offence, Single powerPlay) {
            return TeamRating{offence, 0.2128f, powerPlay, 1.05f, 1.0f};
        };
        prior = std::make_shared<const RatingTable>(RatingTable(
            {{"BOS", row(0.7f, 0.94f)}, {"TOR", row(0.7f, 0.94f)}, {"MON", row(0.7f, 0.94f)}},
            {{"BOS", row(0.8f, 1.05f)}, {"TOR", row(0.8f, 1.05f)}, {"MON", row(0.8f, 1.05f)}}));
        for (const char* visitor : {"BOS", "TOR", "MON"}) {
            for (const char* home : {"BOS", "TOR", "MON"}) {
                if (std::string(visitor) != home) {
                    games.push_back({static_cast<int>(games.size()) + 2, "2001-10-05", visitor,
                                     home, 1, 5, 2.8f, 2.8f, std::nullopt});
                }
            }
        }
    }

    double homeFactor(double levelGames) const {
        FitOptions options;
        options.prior = prior;
        options.venueGames = 1e9; // every club at the league's home factor
        options.levelGames = levelGames;
        const RatingsFit fit = fitRatings(
            games, readTeamScoring(SampleRosters, {"BOS", "TOR", "MON"}), SampleRosters, options);
        return homeOverRoad(fit.table, "MON");
    }
};

TEST(RatingsFitLevel, AWeekOfGamesHardlyMovesTheLeaguesHomeFactor) {
    const HomeHeavyWeek week;
    const double prior = 0.8 / 0.7;
    // Six games against the prior's thousand: the home factor stays the prior's (the short
    // simulation's correction of each venue aside).
    EXPECT_NEAR(week.homeFactor(1000) / prior, 1.0, 0.04);
    // Unweighted, the week's five goals to one make the home factor several times the prior's.
    EXPECT_GT(week.homeFactor(0), 2.5 * prior);
    // As many prior games as played ones: in between.
    const double even = week.homeFactor(6);
    EXPECT_GT(even, 1.2 * prior);
    EXPECT_LT(even, 0.8 * week.homeFactor(0));
}

// Toronto wins every game against Boston early in the month and loses every one late.
std::vector<ResultRow> turningSeason(const std::string& badDate = "") {
    std::vector<ResultRow> games;
    for (int day = 1; day <= 28; ++day) {
        const bool early = day <= 14;
        const std::string date =
            "2001-02-" + std::string(day < 10 ? "0" : "") + std::to_string(day);
        games.push_back({day + 1, day == 1 && !badDate.empty() ? badDate : date,
                         day % 2 ? "TOR" : "BOS", day % 2 ? "BOS" : "TOR", 0, 0, 2.75f, 2.75f,
                         std::nullopt});
        ResultRow& row = games.back();
        const bool torontoHome = row.home == "TOR";
        (torontoHome == early ? row.homeGoals : row.visitorGoals) = 5;
        (torontoHome == early ? row.visitorGoals : row.homeGoals) = 1;
    }
    return games;
}

double torontoOverBoston(const RatingTable& table) {
    return (table.roadRating("TOR")->offence + table.homeRating("TOR")->offence) /
           (table.roadRating("BOS")->offence + table.homeRating("BOS")->offence);
}

TEST(RatingsFitRecency, RecentGamesCountMore) {
    const auto scoring = readTeamScoring(SampleRosters, {"BOS", "TOR"});
    FitOptions options;
    options.priorGames = 0;
    const double even =
        torontoOverBoston(fitRatings(turningSeason(), scoring, SampleRosters, options).table);
    options.recencyHalfLife = 3;
    const double recent =
        torontoOverBoston(fitRatings(turningSeason(), scoring, SampleRosters, options).table);
    // Boston's late wins outweigh Toronto's early ones only when recent games count more.
    EXPECT_LT(recent, 0.5 * even);
    // A date that is not one counts fully rather than failing the fit.
    const double withBadDate = torontoOverBoston(
        fitRatings(turningSeason("Feb 1"), scoring, SampleRosters, options).table);
    EXPECT_TRUE(std::isfinite(withBadDate) && withBadDate > 0);
}

} // namespace
} // namespace zelkor
