#include "season/SeasonFit.h"

#include "season/DataErrors.h"
#include "season/RatingsFit.h"
#include "support/SeasonRows.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <stop_token>

namespace zelkor {
namespace {

namespace fs = std::filesystem;
using testing::gameRow;

const fs::path SampleRosters = ZELKOR_SAMPLE_ROSTERS;

const std::map<std::string, TeamScoring>& twoClubs() {
    static const auto scoring = readTeamScoring(SampleRosters, {"BOS", "TOR"});
    return scoring;
}

RatingsFit fit(const std::vector<ResultRow>& games, const FitOptions& options) {
    return fitRatings(games, twoClubs(), SampleRosters, options);
}

// What the fitted table expects of the visitors' and the home side's goals when visitor
// plays at home: the offence of one side times the defence of the other at its venue.
double visitorProduct(const RatingTable& table, const char* visitor, const char* home) {
    return table.roadRating(visitor)->offence * table.homeRating(home)->defence;
}
double homeProduct(const RatingTable& table, const char* visitor, const char* home) {
    return table.homeRating(home)->offence * table.roadRating(visitor)->defence;
}

bool sameRating(const TeamRating& a, const TeamRating& b) {
    return a.offence == b.offence && a.penalty == b.penalty && a.powerPlay == b.powerPlay &&
           a.shortHanded == b.shortHanded && a.defence == b.defence;
}

void expectSameTable(const RatingTable& a, const RatingTable& b) {
    ASSERT_EQ(a.road().size(), b.road().size());
    ASSERT_EQ(a.home().size(), b.home().size());
    for (std::size_t row = 0; row < a.road().size(); ++row) {
        EXPECT_EQ(a.road()[row].code, b.road()[row].code);
        EXPECT_TRUE(sameRating(a.road()[row].rating, b.road()[row].rating)) << a.road()[row].code;
    }
    for (std::size_t row = 0; row < a.home().size(); ++row) {
        EXPECT_EQ(a.home()[row].code, b.home()[row].code);
        EXPECT_TRUE(sameRating(a.home()[row].rating, b.home()[row].rating)) << a.home()[row].code;
    }
}

// A shootout won by each side, and a regulation game at each venue.
std::vector<ResultRow> withShootouts() {
    return {
        gameRow("2001-01-01", "BOS", "TOR", 3, 2, GameEnd::Shootout),
        gameRow("2001-01-02", "TOR", "BOS", 2, 3, GameEnd::Shootout),
        gameRow("2001-01-03", "BOS", "TOR", 1, 4),
        gameRow("2001-01-04", "TOR", "BOS", 3, 1),
    };
}

// Without shootouts in the simulations a shootout's deciding goal is the winner's and is
// taken off: the fit sees a level game, as if the file had said so.
TEST(RatingsFitRules, ShootoutGoalComesOffTheWinner) {
    std::vector<ResultRow> level = withShootouts();
    for (const std::size_t game : {0u, 1u}) {
        level[game].visitorGoals = level[game].homeGoals = 2;
        testing::setEnd(level[game], GameEnd::Tie);
    }
    FitOptions options;
    expectSameTable(fit(withShootouts(), options).table, fit(level, options).table);

    // The check plays the season back against the same goals: BOS on the road 2-2 and 1-4,
    // at home 2-2 and 1-3.
    const auto check = [&](bool shootout) {
        FitOptions played;
        played.shootout = shootout;
        const auto calibrated = calibrateRatings(fit(withShootouts(), played), withShootouts(),
                                                 SampleRosters, played, 0, 1);
        std::map<std::string, TeamFitCheck> byCode;
        for (const TeamFitCheck& team : calibrated->check) {
            byCode[team.code] = team;
        }
        return byCode;
    };
    const auto without = check(false);
    EXPECT_DOUBLE_EQ(without.at("BOS").road.goalsFor, 1.5);
    EXPECT_DOUBLE_EQ(without.at("BOS").road.goalsAgainst, 3.0);
    EXPECT_DOUBLE_EQ(without.at("BOS").home.goalsFor, 1.5);
    EXPECT_DOUBLE_EQ(without.at("BOS").home.goalsAgainst, 2.5);
    EXPECT_DOUBLE_EQ(without.at("TOR").road.goalsFor, 2.5);
    EXPECT_DOUBLE_EQ(without.at("TOR").home.goalsFor, 3.0);
    EXPECT_EQ(without.at("TOR").home.games, 2);
    // With shootouts played the goal stays.
    const auto with = check(true);
    EXPECT_DOUBLE_EQ(with.at("BOS").road.goalsFor, 2.0);
    EXPECT_DOUBLE_EQ(with.at("BOS").home.goalsFor, 2.0);
    EXPECT_DOUBLE_EQ(with.at("TOR").home.goalsAgainst, 2.0);
}

std::vector<ResultRow> evenSeason() {
    return {
        gameRow("2001-01-01", "BOS", "TOR", 3, 2),
        gameRow("2001-01-02", "TOR", "BOS", 2, 4),
        gameRow("2001-01-03", "BOS", "TOR", 2, 3),
        gameRow("2001-01-04", "TOR", "BOS", 3, 2),
    };
}

// A goalie's average changes what the other club is expected to score, never his own
// club's: raising BOS's from 2.0 to 3.6 leaves BOS's scoring ratings as they were and
// lowers TOR's by about 2.0 / 3.6.
TEST(RatingsFitRules, EachSideScoresAgainstTheOtherSidesGoalie) {
    const auto fitWith = [](Single bostonGaa) {
        std::vector<ResultRow> games = evenSeason();
        for (ResultRow& row : games) {
            (row.visitor == "BOS" ? row.visitorGaa : row.homeGaa) = bostonGaa;
            (row.visitor == "TOR" ? row.visitorGaa : row.homeGaa) = 2.8f;
        }
        FitOptions options;
        options.priorGames = 0;
        return fit(games, options).table;
    };
    const RatingTable low = fitWith(2.0f);
    const RatingTable high = fitWith(3.6f);
    const double ratio = 2.0 / 3.6;
    // BOS scores against TOR's goalie: unchanged.
    EXPECT_NEAR(visitorProduct(high, "BOS", "TOR") / visitorProduct(low, "BOS", "TOR"), 1, 0.12);
    EXPECT_NEAR(homeProduct(high, "TOR", "BOS") / homeProduct(low, "TOR", "BOS"), 1, 0.12);
    // TOR scores against BOS's goalie.
    EXPECT_NEAR(visitorProduct(high, "TOR", "BOS") / visitorProduct(low, "TOR", "BOS"), ratio,
                0.12);
    EXPECT_NEAR(homeProduct(high, "BOS", "TOR") / homeProduct(low, "BOS", "TOR"), ratio, 0.12);

    // A club's usual goalie (the options') plays at the default, 3.6 here: BOS's starters
    // at 2.0, its usual average, play at 3.6; TOR, without a usual goalie, at its own 2.8.
    FitOptions options;
    options.priorGames = 0;
    options.defaultGaa = 3.6f;
    options.gaa = {{"BOS", 2.0f}};
    std::vector<ResultRow> usual = evenSeason();
    for (ResultRow& row : usual) {
        (row.visitor == "BOS" ? row.visitorGaa : row.homeGaa) = 2.0f;
        (row.visitor == "TOR" ? row.visitorGaa : row.homeGaa) = 2.8f;
    }
    expectSameTable(fit(usual, options).table, high);
}

// TOR scores 6 at home and 1 on the road: the home row shows the home goals.
TEST(RatingsFitRules, HomeRowsHoldTheHomeRatings) {
    const std::vector<ResultRow> games = {
        gameRow("2001-01-01", "BOS", "TOR", 2, 6),
        gameRow("2001-01-02", "TOR", "BOS", 1, 2),
        gameRow("2001-01-03", "BOS", "TOR", 1, 6),
        gameRow("2001-01-04", "TOR", "BOS", 1, 3),
    };
    FitOptions options;
    options.priorGames = 0;
    options.venueGames = 0; // each venue free, so that a swap of the rows shows
    const RatingTable table = fit(games, options).table;
    ASSERT_EQ(table.road().size(), 2u);
    ASSERT_EQ(table.home().size(), 2u);
    // At home TOR expects 6 a game, on the road 1; BOS 2.5 at home, 1.5 on the road.
    const double torontoHome = homeProduct(table, "BOS", "TOR");
    const double torontoRoad = visitorProduct(table, "TOR", "BOS");
    EXPECT_GT(torontoHome / torontoRoad, 3.0);
    EXPECT_GT(homeProduct(table, "TOR", "BOS") / visitorProduct(table, "BOS", "TOR"), 1.2);
    for (const char* code : {"BOS", "TOR"}) {
        EXPECT_FALSE(sameRating(*table.roadRating(code), *table.homeRating(code))) << code;
    }
    // A season's own ratings shrink the split a little (5 games), keeping its direction.
    options.venueGames = FitOptions{}.venueGames;
    const RatingTable shrunk = fit(games, options).table;
    const double shrunkSplit =
        homeProduct(shrunk, "BOS", "TOR") / visitorProduct(shrunk, "TOR", "BOS");
    EXPECT_GT(shrunkSplit, 1.2);
    EXPECT_LT(shrunkSplit, torontoHome / torontoRoad);
}

// A prior table whose clubs differ at each venue; DET is rated but does not play.
std::shared_ptr<const RatingTable> priorTable() {
    return std::make_shared<const RatingTable>(
        RatingTable({{"BOS", {0.8f, 0.25f, 0.95f, 1.1f, 0.85f}},
                     {"TOR", {0.6f, 0.18f, 0.9f, 0.95f, 1.15f}},
                     {"DET", {0.7f, 0.3f, 1.2f, 0.8f, 0.9f}}},
                    {{"BOS", {1.1f, 0.22f, 1.05f, 1.02f, 0.9f}},
                     {"TOR", {0.9f, 0.2f, 1.1f, 1.0f, 1.25f}},
                     {"DET", {1.3f, 0.28f, 0.98f, 0.9f, 1.05f}}}));
}

// A prior of very many games (and venue splits of very many) is what the fit returns:
// the prior carried 70 % of the way from the league's mean, without its venue split. The
// data move it only when the prior weighs less. Clubs without games keep the prior's rows
// as they are.
TEST(RatingsFitRules, ShrinksTowardThePriorCarriedTowardTheLeagueMean) {
    FitOptions options;
    options.prior = priorTable();
    options.priorGames = 1e7;
    options.venueGames = 1e7;
    const std::vector<ResultRow> games = {
        gameRow("2001-01-01", "BOS", "TOR", 7, 0),
        gameRow("2001-01-02", "TOR", "BOS", 0, 6),
    };
    const RatingsFit held = fit(games, options);
    EXPECT_TRUE(held.newClubs.empty());
    // Defence levels of the clubs that play: road (0.85 + 1.15) / 2 = 1, home (0.9 + 1.25)
    // / 2 = 1.075. BOS's strength (0.85 / 1 + 0.9 / 1.075) / 2 = 0.843605 keeps 70 % of its
    // distance from 1: 0.890523; TOR's 1.156395: 1.109477.
    struct Case {
        const char* code;
        double roadDefence, homeDefence;
    };
    for (const Case& c : {Case{"BOS", 0.890523, 0.957313}, Case{"TOR", 1.109477, 1.192687}}) {
        const TeamRating& road = *held.table.roadRating(c.code);
        const TeamRating& home = *held.table.homeRating(c.code);
        EXPECT_NEAR(road.defence, c.roadDefence, 1e-3) << c.code;
        EXPECT_NEAR(home.defence, c.homeDefence, 1e-3) << c.code;
        EXPECT_EQ(road.penalty, options.prior->roadRating(c.code)->penalty) << c.code;
        EXPECT_EQ(home.powerPlay, options.prior->homeRating(c.code)->powerPlay) << c.code;
    }
    const auto offenceRatio = [](const RatingTable& table, bool home) {
        return home ? table.homeRating("BOS")->offence / table.homeRating("TOR")->offence
                    : table.roadRating("BOS")->offence / table.roadRating("TOR")->offence;
    };
    // One offence a club: the same ratio at both venues.
    EXPECT_NEAR(offenceRatio(held.table, false), offenceRatio(held.table, true), 1e-4);
    EXPECT_TRUE(sameRating(*held.table.roadRating("DET"), *options.prior->roadRating("DET")));
    EXPECT_TRUE(sameRating(*held.table.homeRating("DET"), *options.prior->homeRating("DET")));

    // Carried whole, the strengths are the prior's means over the levels (road 0.7, home
    // 1.0): BOS (0.8 / 0.7 + 1.1) / 2 = 1.121429, TOR (0.6 / 0.7 + 0.9) / 2 = 0.878571, a
    // ratio of 1.276423 at both venues instead of the prior's 1.3333 and 1.2222.
    options.priorCarry = 1;
    const RatingsFit whole = fit(games, options);
    EXPECT_NEAR(offenceRatio(whole.table, false), 1.276423, 1e-3);
    EXPECT_NEAR(offenceRatio(whole.table, true), 1.276423, 1e-3);
    EXPECT_NEAR(whole.table.roadRating("TOR")->defence, 1.156395, 1e-3);
    options.priorCarry = FitOptions{}.priorCarry;

    // Weighed as two games, 13 goals to none move BOS's scoring well above TOR's.
    options.priorGames = 2;
    options.levelGames = 2;
    const RatingsFit moved = fit(games, options);
    EXPECT_GT(visitorProduct(moved.table, "BOS", "TOR") / visitorProduct(held.table, "BOS", "TOR"),
              1.5);
    EXPECT_LT(visitorProduct(moved.table, "TOR", "BOS") / visitorProduct(held.table, "TOR", "BOS"),
              0.7);
}

// A club the prior rates at one venue only starts from league-typical ratings at the
// other, and is new; so is one it lacks.
TEST(RatingsFitRules, ClubThePriorRatesAtOneVenueOnlyIsNew) {
    FitOptions options;
    options.prior = std::make_shared<const RatingTable>(RatingTable(
        {{"BOS", {0.8f, 0.25f, 0.95f, 1.1f, 0.85f}}, {"TOR", {0.6f, 0.18f, 0.9f, 0.95f, 1.15f}}},
        {{"BOS", {1.1f, 0.22f, 1.05f, 1.02f, 0.9f}}}));
    const RatingsFit fitted = fit(evenSeason(), options);
    EXPECT_EQ(fitted.newClubs, std::vector<std::string>{"TOR"});
    ASSERT_NE(fitted.table.homeRating("TOR"), nullptr);
    EXPECT_EQ(fitted.table.home().size(), 2u);
    EXPECT_EQ(fitted.table.road().size(), 2u);

    options.prior = std::make_shared<const RatingTable>(
        RatingTable({{"BOS", {0.8f, 0.25f, 0.95f, 1.1f, 0.85f}}},
                    {{"BOS", {1.1f, 0.22f, 1.05f, 1.02f, 0.9f}}}));
    EXPECT_EQ(fit(evenSeason(), options).newClubs, std::vector<std::string>{"TOR"});
    options.prior.reset();
    EXPECT_TRUE(fit(evenSeason(), options).newClubs.empty());
}

// In a season of two clubs a pairing's goals are one club's goals for and the other's
// against, so one round moves the expected goals by exactly the real over the simulated.
TEST(RatingsFitRules, OneCalibrationRoundCorrectsThePairingOnce) {
    FitOptions options;
    options.shootout = false;
    const std::vector<ResultRow> games = {
        gameRow("2001-01-01", "BOS", "TOR", 5, 1),
        gameRow("2001-01-02", "TOR", "BOS", 4, 2),
        gameRow("2001-01-03", "BOS", "TOR", 4, 2),
        gameRow("2001-01-04", "TOR", "BOS", 3, 1),
    };
    const RatingsFit start = fit(games, options);
    const auto measured = calibrateRatings(start, games, SampleRosters, options, 0, 3);
    ASSERT_TRUE(measured);
    expectSameTable(measured->table, start.table);
    const auto corrected = calibrateRatings(start, games, SampleRosters, options, 1, 3);
    ASSERT_TRUE(corrected);
    for (const TeamFitCheck& check : measured->check) {
        const char* self = check.code == "BOS" ? "BOS" : "TOR";
        const char* other = check.code == "BOS" ? "TOR" : "BOS";
        SCOPED_TRACE(check.code);
        EXPECT_NEAR(visitorProduct(corrected->table, self, other) /
                        visitorProduct(start.table, self, other),
                    check.road.goalsFor / check.road.simulatedFor, 1e-4);
        EXPECT_NEAR(homeProduct(corrected->table, other, self) /
                        homeProduct(start.table, other, self),
                    check.home.goalsFor / check.home.simulatedFor, 1e-4);
    }
    std::stop_source stop;
    stop.request_stop();
    EXPECT_FALSE(calibrateRatings(start, games, SampleRosters, options, 1, 3, stop.get_token()));
}

// BOS's power play is strong and TOR takes many penalties, TOR's power play is nil and BOS
// takes few: each side's goals carry its own special teams. Fitted with them, the table
// plays each club's goals at each venue back within a fifth before any calibration.
TEST(RatingsFitRules, EachSidesGoalsCarryItsOwnSpecialTeams) {
    FitOptions options;
    options.specialTeams["BOS"] = {10, 10, 60, 100, 2};
    options.specialTeams["TOR"] = {10, 80, 5, 100, 2};
    options.penaltySeasons = 0;
    options.specialGoalsSeasons = 0;
    const std::vector<ResultRow> games = {
        gameRow("2001-01-01", "BOS", "TOR", 5, 2), gameRow("2001-01-02", "TOR", "BOS", 1, 6),
        gameRow("2001-01-03", "BOS", "TOR", 4, 3), gameRow("2001-01-04", "TOR", "BOS", 2, 5),
        gameRow("2001-01-05", "BOS", "TOR", 6, 2), gameRow("2001-01-06", "TOR", "BOS", 2, 4),
    };
    options.priorGames = 0;
    const auto played = calibrateRatings(fit(games, options), games, SampleRosters, options, 0, 20);
    ASSERT_TRUE(played);
    for (const TeamFitCheck& check : played->check) {
        SCOPED_TRACE(check.code);
        EXPECT_NEAR(check.road.simulatedFor / check.road.goalsFor, 1, 0.2);
        EXPECT_NEAR(check.home.simulatedFor / check.home.goalsFor, 1, 0.2);
    }
}

// Within the tolerance means both simulated figures, each against its own real one.
TEST(RatingsFitRules, CheckIsWithinWhenBothSidesAre) {
    const auto check = [](double simulatedFor, double simulatedAgainst) {
        return VenueCheck{10, 3.0, 2.0, simulatedFor, simulatedAgainst}.within(FitTolerance);
    };
    EXPECT_TRUE(check(3.08, 2.05));
    EXPECT_TRUE(check(2.92, 1.95));
    EXPECT_FALSE(check(3.1, 2.0));
    EXPECT_FALSE(check(3.0, 2.07));
    EXPECT_FALSE(check(3.0, 1.93));
}

// Special teams as a club's totals stand to the league's, on the league-typical 0.2128
// penalty chance, power play 0.9394 / 1.0545 and short-handed 1.0399 / 1.0676 (road /
// home): BOS is short-handed 2 a game, TOR 4, the league 3; power plays score 30 % and 10 %
// against 20 %; short-handed goals come 1 in 10 and 1 in 20 against 1 in 15.
TEST(RatingsFitRules, SpecialTeamsStandToTheLeaguesTotals) {
    FitOptions options;
    options.specialTeams["BOS"] = {10, 20, 15, 50, 2};
    options.specialTeams["TOR"] = {10, 40, 5, 50, 2};
    options.penaltySeasons = 0;
    options.specialGoalsSeasons = 0;
    const RatingTable table = fit(evenSeason(), options).table;
    const struct {
        const char* code;
        double penalty;
        double powerPlay;
        double shortHanded;
    } expected[] = {{"BOS", 2.0 / 3, 1.5, 1.5}, {"TOR", 4.0 / 3, 0.5, 0.75}};
    for (const auto& club : expected) {
        SCOPED_TRACE(club.code);
        const TeamRating& road = *table.roadRating(club.code);
        const TeamRating& home = *table.homeRating(club.code);
        EXPECT_NEAR(road.penalty, 0.2128 * club.penalty, 1e-5);
        EXPECT_NEAR(home.penalty, 0.2128 * club.penalty, 1e-5);
        EXPECT_NEAR(road.powerPlay, 0.9394 * club.powerPlay, 1e-5);
        EXPECT_NEAR(home.powerPlay, 1.0545 * club.powerPlay, 1e-5);
        EXPECT_NEAR(road.shortHanded, 1.0399 * club.shortHanded, 1e-5);
        EXPECT_NEAR(home.shortHanded, 1.0676 * club.shortHanded, 1e-5);
    }
}

SeasonBuildRequest requestFor(const fs::path& folder) {
    SeasonBuildRequest request;
    request.results = folder / "results.csv";
    request.folder = folder / "season";
    return request;
}

// The team table's goals against are no goalie's average (the defences hold the
// goaltending); special teams come from the clubs with them; one shootout anywhere in the
// season turns shootouts on.
TEST(SeasonFit, FitOptionsFromTheTeamsTotalsAndTheGames) {
    std::map<std::string, TeamTotals> teams;
    teams["BOS"] = {"BOS", 2, 80, 240, 220, 900, 50, 250, 40, 300, 7, 5, 6, 4};
    teams["TOR"].code = "TOR";
    teams["TOR"].games = 82;
    teams["TOR"].goalsAgainst = 246;
    teams["DET"] = {"DET", 3, 82, 250, 230, 800, 40, std::nullopt, 45, 300, 4, 6, 7, 5};
    teams["MON"].code = "MON";
    teams["MON"].games = 0;
    teams["MON"].goalsAgainst = 10;
    const SeasonBuildRequest request = requestFor(fs::temp_directory_path());
    const std::vector<ResultRow> games = {
        gameRow("2014-10-01", "BOS", "TOR", 3, 2, GameEnd::Shootout),
        gameRow("2014-10-02", "TOR", "BOS", 1, 4),
    };
    const FitOptions options = seasonFitOptions(request, games, teams);
    EXPECT_TRUE(options.gaa.empty());
    // DET's power plays are not counted: its special teams are not known.
    ASSERT_EQ(options.specialTeams.size(), 1u);
    const TeamSpecialTeams& boston = options.specialTeams.at("BOS");
    EXPECT_EQ(boston.games, 80);
    EXPECT_EQ(boston.timesShortHanded, 300);
    EXPECT_EQ(boston.powerPlayGoals, 50);
    EXPECT_EQ(boston.powerPlayChances, 250);
    EXPECT_EQ(boston.shortHandedGoalsFor, 7);
    EXPECT_TRUE(options.shootout);
    EXPECT_FALSE(options.prior);
    EXPECT_FALSE(seasonFitOptions(request, {games[1], games[1]}, teams).shootout);
    EXPECT_TRUE(seasonFitOptions(request, {games[1], games[0], games[1]}, {}).shootout);
}

// A folder of its own for the files a test writes.
class Scratch {
public:
    Scratch()
        : path_(fs::temp_directory_path() /
                ("zelkor-seasonfit-" + std::to_string(std::random_device{}()))) {
        fs::create_directories(path_);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const fs::path& path() const { return path_; }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }

private:
    fs::path path_;
};

TEST(SeasonFit, GamesBeforeTheDateOnlyAndTheSeasonsYearOfTheTotals) {
    const Scratch scratch;
    scratch.write("results.csv", "date,visitor,home,visitor_goals,home_goals,result\n"
                                 "2014-10-08,BOS,TOR,2,3,REG\n"
                                 "2014-10-09,Toronto Maple Leafs,MTL,4,1,REG\n"
                                 "2014-10-10,MTL,BOS,2,2,\n"
                                 "2014-10-11,BOS,MTL,,,\n");
    SeasonBuildRequest request = requestFor(scratch.path());
    const std::vector<ResultRow> all = readSeasonGames(request);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].visitor, "TOR");
    EXPECT_EQ(all[1].home, "MTL");
    EXPECT_EQ(all[2].end, GameEnd::Tie);
    request.before = "2014-10-10";
    const std::vector<ResultRow> before = readSeasonGames(request);
    ASSERT_EQ(before.size(), 2u);
    EXPECT_EQ(before.back().date, "2014-10-09");

    EXPECT_TRUE(readSeasonTeams(request).empty());
    scratch.write("teams.csv", "year,tmID,G,GA,SoW,SoL\n"
                               "2012,BOS,48,109,3,2\n"
                               "2013,BOS,82,177,6,4\n"
                               "2013,TOR,82,256,10,5\n");
    request.teamStats = scratch.path() / "teams.csv";
    request.season = "2013-14";
    const auto teams = readSeasonTeams(request);
    ASSERT_EQ(teams.size(), 2u);
    EXPECT_EQ(teams.at("BOS").goalsAgainst, 177);
    EXPECT_EQ(teams.at("TOR").shootoutWins, 10);
    for (const char* season : {"13-14", "season 2013", "20134"}) {
        request.season = season;
        EXPECT_THROW(readSeasonTeams(request), SeasonBuildError) << season;
    }
    request.season = "";
    EXPECT_THROW(readSeasonTeams(request), InputDataError); // two years, none chosen
}

} // namespace
} // namespace zelkor
