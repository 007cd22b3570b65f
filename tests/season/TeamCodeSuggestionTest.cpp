#include "season/TeamCodeSuggestion.h"

#include <gtest/gtest.h>

namespace zelkor {
namespace {

// A season of league codes in which Vegas only visits, so that the sides differ.
RatingTable leagueTable() {
    const TeamRating rating{1.0f, 0.2128f, 1.0f, 1.0f, 1.0f};
    return RatingTable({{"CGY", rating}, {"VGK", rating}, {"TOR", rating}},
                       {{"CGY", rating}, {"TOR", rating}});
}

TEST(TeamCodeSuggestion, OffersTheCodeTheDirectoryMapsToWhereTheTableHasIt) {
    const RatingTable league = leagueTable();
    const RatingTable& builtIn = *RatingTable::builtin();
    const struct {
        const char* code;
        const RatingTable* table;
        bool visiting;
        std::optional<std::string> offered;
    } rows[] = {
        {"VEG", &league, true, "VGK"},         // a site's abbreviation
        {"VEG", &league, false, std::nullopt}, // Vegas has no home row
        {"CAL", &league, true, "CGY"},         // the built-in season's code
        {"CAL", &league, false, "CGY"},
        {"TOR", &league, true, std::nullopt}, // known: nothing to offer
        {"XYZ", &league, true, std::nullopt}, // unknown to the directory too
        {"", &league, true, std::nullopt},
        {"CGY", &builtIn, true, "CAL"},        // a league code in the built-in season
        {"VGK", &builtIn, true, std::nullopt}, // a club the built-in table does not rate
    };
    for (const auto& row : rows) {
        EXPECT_EQ(suggestedTeamCode(row.code, *row.table, row.visiting), row.offered)
            << row.code << (row.visiting ? " visiting" : " at home");
    }
    EXPECT_EQ(teamCodeSuggestionText("VEG", league, true), " (did you mean VGK?)");
    EXPECT_EQ(teamCodeSuggestionText("VEG", league, false), "");
}

} // namespace
} // namespace zelkor
