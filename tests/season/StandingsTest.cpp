#include "season/Standings.h"

#include "season/PlayoffPlaces.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace zelkor {
namespace {

constexpr GameEnd Reg = GameEnd::Regulation;
constexpr GameEnd OT = GameEnd::Overtime;
constexpr GameEnd SO = GameEnd::Shootout;

std::vector<std::size_t> ranked(const Standings& standings) {
    std::vector<std::size_t> order(standings.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    standings.rank(order);
    return order;
}

// Each way a game ends, seen from both sides: 2 points a win, 1 an overtime or shootout
// loss, 1 each for a tie; a shootout's goal counts in the goals.
TEST(Standings, CountsEachEndForBothSides) {
    Standings standings({"AAA", "BBB"});
    standings.add(0, 1, 3, 1, Reg); // AAA wins on the road
    standings.add(0, 1, 2, 3, OT);  // BBB wins in overtime at home
    standings.add(1, 0, 4, 3, SO);  // BBB wins a shootout on the road
    standings.add(1, 0, 2, 2, GameEnd::Tie);
    standings.add(1, 0, 5, 0, GameEnd::Unknown); // a winner without an end: regulation
    const ClubRecord& a = standings.record(0);
    const ClubRecord& b = standings.record(1);
    EXPECT_EQ(a.games, 5);
    EXPECT_EQ(a.wins, 1);
    EXPECT_EQ(a.regulationWins, 1);
    EXPECT_EQ(a.losses, 1);
    EXPECT_EQ(a.overtimeLosses, 2);
    EXPECT_EQ(a.ties, 1);
    EXPECT_EQ(a.points(), 2 + 2 + 1);
    EXPECT_EQ(a.goalsFor, 3 + 2 + 3 + 2 + 0);
    EXPECT_EQ(a.goalsAgainst, 1 + 3 + 4 + 2 + 5);
    EXPECT_EQ(b.wins, 3);
    EXPECT_EQ(b.regulationWins, 1);
    EXPECT_EQ(b.overtimeWins, 1);
    EXPECT_EQ(b.regulationAndOvertimeWins(), 2);
    EXPECT_EQ(b.losses, 1);
    EXPECT_EQ(b.overtimeLosses, 0);
    EXPECT_EQ(b.points(), 6 + 1);
}

// Each step of the tie-break order settles a pair of clubs level on every step before it.
// The club that should rank first is always ZZZ, so that the last step (the code) would
// put it second: a step that is skipped or reversed fails. FIL is the opponent of both.
TEST(Standings, EachTieBreakStepInOrder) {
    struct Case {
        const char* step;
        std::vector<std::tuple<int, int, int, int, GameEnd>> games; // visitor, home, goals, end
    };
    // Clubs: 0 = ZZZ, 1 = BBB, 2 = FIL.
    const Case cases[] = {
        // 3 points in 2 games (75 %) beat 4 in 4 (50 %).
        {"points percentage",
         {{0, 2, 3, 1, Reg},
          {0, 2, 1, 2, OT},
          {1, 2, 2, 1, Reg},
          {1, 2, 2, 1, Reg},
          {1, 2, 0, 1, Reg},
          {1, 2, 0, 1, Reg}}},
        // 3 points each; a regulation win beats an overtime one.
        {"regulation wins",
         {{0, 2, 3, 1, Reg}, {0, 2, 1, 2, OT}, {1, 2, 2, 1, OT}, {1, 2, 4, 5, OT}}},
        // An overtime win beats a shootout win.
        {"regulation and overtime wins",
         {{0, 2, 3, 2, OT}, {0, 2, 1, 2, OT}, {1, 2, 4, 3, SO}, {1, 2, 1, 2, SO}}},
        // A shootout win and a loss (2 points) beat two ties.
        {"wins",
         {{0, 2, 3, 2, SO},
          {0, 2, 0, 1, Reg},
          {1, 2, 1, 1, GameEnd::Tie},
          {1, 2, 2, 2, GameEnd::Tie}}},
        // Level on 1 to 4; ZZZ beat BBB, though BBB's goal difference is far better.
        {"points between the clubs", {{0, 1, 2, 1, Reg}, {0, 2, 0, 5, Reg}, {1, 2, 6, 0, Reg}}},
        // One regulation win each; +2 beats +1 though BBB scored more.
        {"goal difference", {{0, 2, 2, 0, Reg}, {1, 2, 5, 4, Reg}}},
        // +2 each; 5 goals beat 3.
        {"goals for", {{0, 2, 5, 3, Reg}, {1, 2, 3, 1, Reg}}},
    };
    for (const Case& c : cases) {
        Standings standings({"ZZZ", "BBB", "FIL"});
        for (const auto& [visitor, home, visitorGoals, homeGoals, end] : c.games) {
            standings.add(static_cast<std::size_t>(visitor), static_cast<std::size_t>(home),
                          visitorGoals, homeGoals, end);
        }
        std::vector<std::size_t> pair{1, 0};
        standings.rank(pair);
        EXPECT_EQ(pair, (std::vector<std::size_t>{0, 1})) << c.step;
    }
    // Before shootouts the league went from points to wins. 4 points in 3 games each: ZZZ
    // by two overtime wins and a loss, BBB by a regulation win and two ties. Regulation wins
    // put BBB first; wins alone put ZZZ first.
    for (const TieBreaks order : {TieBreaks::ShootoutEra, TieBreaks::BeforeShootouts}) {
        Standings standings({"ZZZ", "BBB", "FIL"}, order);
        standings.add(0, 2, 3, 2, OT);
        standings.add(2, 0, 1, 2, OT);
        standings.add(0, 2, 0, 1, Reg);
        standings.add(1, 2, 3, 1, Reg);
        standings.add(1, 2, 2, 2, GameEnd::Tie);
        standings.add(2, 1, 0, 0, GameEnd::Tie);
        std::vector<std::size_t> pair{0, 1};
        standings.rank(pair);
        EXPECT_EQ(pair.front(), order == TieBreaks::ShootoutEra ? 1u : 0u);
    }
    // Level on everything: the code decides.
    Standings level({"ZZZ", "BBB", "FIL"});
    level.add(0, 2, 2, 1, Reg);
    level.add(1, 2, 2, 1, Reg);
    std::vector<std::size_t> pair{0, 1};
    level.rank(pair);
    EXPECT_EQ(pair, (std::vector<std::size_t>{1, 0}));
}

// Three clubs level on points with a circle of results among them: the points between
// them are level too (2 each), so the goal difference decides; a fourth club ahead on
// points stays first.
TEST(Standings, ThreeClubTieGoesByPointsAmongAllOfThem) {
    Standings standings({"AAA", "BBB", "CCC", "TOP"});
    standings.add(0, 1, 2, 1, Reg); // AAA beats BBB
    standings.add(1, 2, 5, 1, Reg); // BBB beats CCC by 4
    standings.add(2, 0, 3, 1, Reg); // CCC beats AAA by 2
    standings.add(3, 0, 1, 0, Reg);
    standings.add(3, 1, 1, 0, Reg);
    standings.add(3, 2, 1, 0, Reg);
    // Each of AAA, BBB, CCC: 2 points in 3 games, 1 regulation win. Differences: AAA
    // +1 -2 -1 = -2, BBB -1 +4 -1 = +2, CCC -4 +2 -1 = -3.
    EXPECT_EQ(ranked(standings), (std::vector<std::size_t>{3, 1, 0, 2}));
}

// The points between the clubs of a tie are a share of the points their games among them
// could give: ZZZ's one win over BBB (2 of 2) beats BBB's two wins over CCC and the loss to
// ZZZ (4 of 6), though BBB has more points among them. Each club: 2 regulation wins and 2
// losses in 4 games, the rest against FIL.
TEST(Standings, PointsAmongTheTiedClubsAreAShareOfTheirGamesAmongThem) {
    Standings standings({"ZZZ", "BBB", "CCC", "FIL"});
    standings.add(1, 0, 1, 2, Reg); // ZZZ beats BBB
    standings.add(2, 1, 0, 3, Reg); // BBB beats CCC twice
    standings.add(1, 2, 4, 1, Reg);
    standings.add(0, 3, 3, 1, Reg); // ZZZ: one more win, two losses
    standings.add(0, 3, 0, 1, Reg);
    standings.add(3, 0, 2, 1, Reg);
    standings.add(1, 3, 1, 2, Reg); // BBB: one more loss
    standings.add(2, 3, 5, 0, Reg); // CCC: two wins
    standings.add(3, 2, 0, 2, Reg);
    std::vector<std::size_t> tied{2, 1, 0};
    standings.rank(tied);
    EXPECT_EQ(tied, (std::vector<std::size_t>{0, 1, 2}));
}

// A club with wins regulation wins against FIL and losses for the rest of 12 games.
Standings standingsByWins(const std::vector<std::string>& codes, const std::vector<int>& wins) {
    std::vector<std::string> all = codes;
    all.push_back("FIL");
    Standings standings(all);
    for (std::size_t club = 0; club < codes.size(); ++club) {
        for (int game = 0; game < 12; ++game) {
            const bool won = game < wins[club];
            standings.add(club, codes.size(), won ? 3 : 1, won ? 1 : 3, Reg);
        }
    }
    return standings;
}

LeagueAlignment alignmentOf(const std::vector<std::vector<std::string>>& divisions,
                            const std::vector<std::string>& conferences, PlayoffFormat format) {
    LeagueAlignment alignment;
    alignment.format = format;
    for (std::size_t d = 0; d < divisions.size(); ++d) {
        for (const std::string& code : divisions[d]) {
            alignment.clubs.push_back({code, conferences[d], "D" + std::to_string(d)});
        }
    }
    alignment.clubs.push_back({"FIL", "Filler", "Filler"});
    return alignment;
}

// Three places in each division and two wild cards: both fourth and fifth of the strong
// division take the wild cards ahead of the weak division's fourth, while the weak
// division's third is in with fewer wins than either.
TEST(PlayoffPlaces, WildCardsGoToTheBestOfTheRestOfTheConference) {
    const LeagueAlignment alignment =
        alignmentOf({{"A1", "A2", "A3", "A4", "A5"}, {"M1", "M2", "M3", "M4", "M5"}},
                    {"East", "East"}, PlayoffFormat::WildCard);
    const Standings standings =
        standingsByWins({"A1", "A2", "A3", "A4", "A5", "M1", "M2", "M3", "M4", "M5"},
                        {10, 9, 8, 7, 6, 5, 4, 3, 2, 1});
    const FinalPlaces places = finalPlaces(standings, LeagueTable(alignment));
    const std::vector<bool> expected{true, true, true, true, true, true, true, true, false, false};
    for (std::size_t club = 0; club < expected.size(); ++club) {
        EXPECT_EQ(places.playoffs[club], expected[club]) << alignment.clubs[club].code;
    }
    EXPECT_TRUE(places.divisionTitle[0]);
    EXPECT_TRUE(places.divisionTitle[5]);
    EXPECT_FALSE(places.divisionTitle[1]);
    EXPECT_EQ(places.conferencePlace[5], 6); // M1, a division winner, is sixth by points
    EXPECT_EQ(places.conferencePlace[4], 5);
    EXPECT_EQ(places.mostPoints, 0u);
}

// The top eight of a conference with the division winners first: the weakest division's
// winner is in with fewer wins than the eighth and ninth clubs by points, one of whom
// makes way.
TEST(PlayoffPlaces, ConferenceTopEightTakesEveryDivisionWinner) {
    const LeagueAlignment alignment =
        alignmentOf({{"a", "b", "c", "d"}, {"e", "f", "g", "h"}, {"i", "j", "k", "l"}},
                    {"W", "W", "W"}, PlayoffFormat::ConferenceTopEight);
    const Standings standings =
        standingsByWins({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"},
                        {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1});
    const FinalPlaces places = finalPlaces(standings, LeagueTable(alignment));
    const std::string in = "abcdefgi";
    for (std::size_t club = 0; club < 12; ++club) {
        const std::string& code = alignment.clubs[club].code;
        EXPECT_EQ(places.playoffs[club], in.find(code) != std::string::npos) << code;
    }
}

// The top four of each division, whatever the other division holds; last place of the
// league is the one with fewest points anywhere.
TEST(PlayoffPlaces, DivisionTopFourAndTheLeaguesLast) {
    const LeagueAlignment alignment =
        alignmentOf({{"N1", "N2", "N3", "N4", "N5"}, {"S1", "S2", "S3", "S4", "S5"}},
                    {"North", "South"}, PlayoffFormat::DivisionTopFour);
    const Standings standings =
        standingsByWins({"N1", "N2", "N3", "N4", "N5", "S1", "S2", "S3", "S4", "S5"},
                        {3, 4, 1, 2, 5, 6, 7, 8, 9, 10});
    const FinalPlaces places = finalPlaces(standings, LeagueTable(alignment));
    EXPECT_FALSE(places.playoffs[2]); // N3, fewest in the North
    EXPECT_FALSE(places.playoffs[5]); // S1, fewest in the South though ahead of every N
    EXPECT_TRUE(places.playoffs[0]);
    EXPECT_EQ(places.conferencePlace[4], 1);
    EXPECT_EQ(places.fewestPoints, 2u); // N3: 1 win in 12; FIL won 65 of its 120
    EXPECT_EQ(places.mostPoints, 9u);   // S5: 10 in 12
}

} // namespace
} // namespace zelkor
