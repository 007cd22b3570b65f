#include "season/Elo.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zelkor {
namespace {

// Ratings 400 points apart, the home advantage included, are 10 to 1.
constexpr double Favoured = 1565; // at home against Underdog: 1565 + 35 - 1200 = 400
constexpr double Underdog = 1200;

TEST(Elo, HomeChanceCountsTheHomeAdvantageForTheHomeClubOnly) {
    const EloParameters elo;
    EXPECT_NEAR(eloHomeProbability(Favoured, Underdog, elo), 10.0 / 11.0, 1e-12);
    // 1165 + 35 - 1600 = -400: the same odds the other way.
    EXPECT_NEAR(eloHomeProbability(1165, 1600, elo), 1.0 / 11.0, 1e-12);
    // Level ratings: only the 35 points of the home advantage.
    EXPECT_NEAR(eloHomeProbability(1500, 1500, elo), 1 / (1 + std::pow(10.0, -35.0 / 400)), 1e-12);
    EXPECT_NEAR(eloHomeProbability(1600, 1450, elo), 0.7436345220073278, 1e-12);
    EXPECT_NEAR(eloHomeProbability(1450, 1600, elo), 1 / (1 + std::pow(10.0, 115.0 / 400)), 1e-12);

    EloParameters flat;
    flat.homeAdvantage = 0;
    flat.scale = 200;
    EXPECT_DOUBLE_EQ(eloHomeProbability(1500, 1500, flat), 0.5);
    EXPECT_NEAR(eloHomeProbability(1700, 1500, flat), 10.0 / 11.0, 1e-12);
}

TEST(Elo, MarginCountsLessThanInProportionAndAOneGoalWinLessThanALevelGame) {
    EXPECT_DOUBLE_EQ(eloMarginMultiplier(0), 1.0);
    EXPECT_NEAR(eloMarginMultiplier(1), 0.8048, 1e-12);
    EXPECT_NEAR(eloMarginMultiplier(-1), 0.8048, 1e-12);
    EXPECT_NEAR(eloMarginMultiplier(2), 0.6686 * std::log(2.0) + 0.8048, 1e-12);
    EXPECT_NEAR(eloMarginMultiplier(-3), 1.5393321762034982, 1e-12);
    EXPECT_NEAR(eloMarginMultiplier(3), eloMarginMultiplier(-3), 1e-15);
}

// Worked by hand at K 6: points = 6 x multiplier x (score - home chance).
TEST(Elo, StepOfKnownResultsInEachDirection) {
    EloParameters elo;
    elo.k = 6;
    const struct {
        const char* label;
        double home;
        double visitor;
        int homeGoals;
        int visitorGoals;
        double change;
    } cases[] = {
        {"favourite wins by one", Favoured, Underdog, 2, 1, 6 * 0.8048 * (1 - 10.0 / 11)},
        {"favourite loses by three", Favoured, Underdog, 1, 4,
         6 * 1.5393321762034982 * (0 - 10.0 / 11)},
        {"underdog draws", 1165, 1600, 2, 2, 6 * 1.0 * (0.5 - 1.0 / 11)},
        {"underdog wins by two", 1165, 1600, 3, 1, 6.917662935940251},
        {"level ratings, visitors win by one", 1500, 1500, 0, 1, -6 * 0.8048 * 0.550199353253537},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(eloHomeChange(c.home, c.visitor, c.homeGoals, c.visitorGoals, elo), c.change,
                    1e-9)
            << c.label;
    }
    EloParameters quick;
    quick.k = 20;
    EXPECT_NEAR(eloHomeChange(Favoured, Underdog, 2, 1, quick), 20 * 0.8048 / 11, 1e-9);
}

} // namespace
} // namespace zelkor
