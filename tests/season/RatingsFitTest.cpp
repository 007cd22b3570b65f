#include "season/RatingsFit.h"

#include "odds/ManySeries.h"

#include <gtest/gtest.h>

#include <cmath>

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

} // namespace
} // namespace zelkor
