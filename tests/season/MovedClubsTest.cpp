#include "season/MovedClubs.h"

#include "season/TeamCodes.h"
#include "season/TeamDirectory.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

namespace zelkor {
namespace {

// A folder of empty roster files by their codes, removed at the end.
class RosterFolder {
public:
    explicit RosterFolder(const std::vector<std::string>& codes)
        : path_(std::filesystem::temp_directory_path() /
                ("zelkor-moved-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(path_);
        for (const std::string& code : codes) {
            std::ofstream(path_ / code) << "roster\n";
        }
    }
    ~RosterFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    RosterFolder(const RosterFolder&) = delete;
    RosterFolder& operator=(const RosterFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

ResultRow game(const std::string& visitor, const std::string& home) {
    ResultRow row;
    row.date = "2024-10-10";
    row.visitor = visitor;
    row.home = home;
    return row;
}

TEST(MovedClubs, AClubWithoutItsRosterPlaysWithItsPredecessorsOnesAndIsNamed) {
    const RosterFolder folder({"ARI", "CHI", "WPG", "PHX"});
    std::vector<ResultRow> games = {game("UTA", "CHI"), game("CHI", "UTA"), game("WPG", "CHI")};
    const std::vector<MovedClubNote> notes = playMovedClubsAsPredecessors(games, folder.path());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0].club, "UTA");
    EXPECT_EQ(notes[0].predecessor, "ARI"); // the nearest, not PHX
    EXPECT_EQ(notes[0].season, 2024);
    EXPECT_TRUE(notes[0].roster);
    EXPECT_EQ(games[0].visitor, "ARI");
    EXPECT_EQ(games[1].home, "ARI");
    EXPECT_EQ(games[2].visitor, "WPG"); // has its own roster
}

TEST(MovedClubs, APredecessorTwoMovesBackServesWhenTheNearestIsMissing) {
    const RosterFolder folder({"PHX", "CHI"});
    std::vector<ResultRow> games = {game("UTA", "CHI")};
    const std::vector<MovedClubNote> notes = playMovedClubsAsPredecessors(games, folder.path());
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(games[0].visitor, "PHX");
    EXPECT_EQ(notes[0].season, 2024);
}

TEST(MovedClubs, AnExpansionClubTakesNothing) {
    const RosterFolder folder({"CHI"});
    std::vector<ResultRow> games = {game("SEA", "CHI")};
    EXPECT_TRUE(playMovedClubsAsPredecessors(games, folder.path()).empty());
    EXPECT_EQ(games[0].visitor, "SEA");
    EloRatings elo = {{"CHI", 1510}};
    std::vector<MovedClubNote> notes;
    eloWithMovedClubs(elo, games, notes);
    EXPECT_FALSE(elo.contains("SEA"));
    EXPECT_TRUE(notes.empty());
}

TEST(MovedClubs, PriorRatingsAndEloOfThePredecessorAreCopiedWhereTheClubHasNone) {
    const TeamRating arizonaRoad{0.9f, 0.2f, 1.0f, 1.0f, 1.1f};
    const TeamRating arizonaHome{0.95f, 0.21f, 1.02f, 1.01f, 1.05f};
    const RatingTable prior({{"ARI", arizonaRoad}, {"CHI", arizonaHome}},
                            {{"ARI", arizonaHome}, {"CHI", arizonaRoad}});
    const std::vector<ResultRow> games = {game("UTA", "CHI"), game("CHI", "WPG")};
    std::vector<MovedClubNote> notes;
    const auto table = priorWithMovedClubs(prior, games, notes);
    ASSERT_TRUE(table->canVisit("UTA") && table->canHost("UTA"));
    EXPECT_EQ(table->roadRating("UTA")->offence, arizonaRoad.offence);
    EXPECT_EQ(table->homeRating("UTA")->offence, arizonaHome.offence);
    EXPECT_FALSE(table->canHost("WPG")); // the prior lacks ATL too: WPG starts at the average

    EloRatings elo = {{"ARI", 1480}, {"CHI", 1530}, {"ATL", 1490}};
    eloWithMovedClubs(elo, games, notes);
    EXPECT_DOUBLE_EQ(elo.at("UTA"), 1480);
    EXPECT_DOUBLE_EQ(elo.at("WPG"), 1490);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_TRUE(notes[0].ratings && notes[0].elo);
    EXPECT_EQ(notes[1].club, "WPG");
    EXPECT_EQ(notes[1].season, 2011);
    EXPECT_TRUE(notes[1].elo && !notes[1].ratings);
}

TEST(TeamDirectory, AnOddsArchivesShortNamesFindTheirClubs) {
    const std::pair<const char*, const char*> known[] = {
        {"NYRangers", "NYR"}, {"NYIslanders", "NYI"},   {"NY Islanders", "NYI"},
        {"TampaBay", "TBL"},  {"Tampa", "TBL"},         {"St.Louis", "STL"},
        {"Seattle", "SEA"},   {"SeattleKraken", "SEA"}, {"LosAngeles", "LAK"},
        {"Vegas", "VGK"},     {"Minnesota", "MIN"},     {"Arizona", "ARI"},
        {"Utah", "UTA"},      {"Winnipeg", "WPG"},      {"maple leafs", "TOR"},
        {"Montreal", "MTL"},  {"Phoenix", "PHX"},       {"Atlanta", "ATL"},
    };
    for (const auto& [name, code] : known) {
        SCOPED_TRACE(name);
        EXPECT_EQ(leagueCodeForShortName(name), std::optional<std::string>(code));
    }
    for (const char* name : {"NewYork", "Arizonas", "", "York"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(leagueCodeForShortName(name), std::nullopt);
    }
}

TEST(TeamCodes, TheKindOfCodesIsToldByTheCodesOnlyOneKindUses) {
    EXPECT_EQ(codeKindOf({"BOS", "MTL", "TOR"}), TeamCodeKind::League);
    EXPECT_EQ(codeKindOf({"BOS", "MON", "TOR"}), TeamCodeKind::Program);
    EXPECT_EQ(codeKindOf({"BOS", "TOR"}), std::nullopt);
    EXPECT_EQ(codeKindOf({"MTL", "MON"}), std::nullopt);
    const RosterFolder league({"VGK", "BOS", "notes.txt"});
    EXPECT_EQ(codeKindOfFolder(league.path()), TeamCodeKind::League);
    EXPECT_EQ(codeKindOfFolder(league.path() / "missing"), std::nullopt);
}

} // namespace
} // namespace zelkor
