#include "simulation/Penalties.h"

#include "support/ScriptedDraws.h"

#include <gtest/gtest.h>

#include <vector>

namespace zelkor {
namespace {

using testing::ScriptedDraws;

// Even strength at minute `minute`, both teams with the given penalty chances.
PredictionState evenStrength(int minute, Single homeChance, Single visitingChance) {
    PredictionState state;
    state.Minute = minute;
    state.PENH = homeChance;
    state.PENR = visitingChance;
    state.PPR = 0.95f;
    state.PPH = 0.9f;
    state.SHR = 0.5f;
    state.SHH = 2.2159f;
    state.powerplayx = 1;
    state.powerplayy = 1;
    state.shorthandx = 1;
    state.shorthandy = 1;
    return state;
}

struct Multipliers {
    int powerplayx, shorthandy, powerplayy, shorthandx, flag;
    bool operator==(const Multipliers&) const = default;
};

Multipliers multipliersOf(const PredictionState& s) {
    return {s.powerplayx, s.shorthandy, s.powerplayy, s.shorthandx, s.PENALFLAG};
}

std::ostream& operator<<(std::ostream& out, const Multipliers& m) {
    return out << "ppx " << m.powerplayx << " shy " << m.shorthandy << " ppy " << m.powerplayy
               << " shx " << m.shorthandx << " flag " << m.flag;
}

TEST(Penalties, DecidesByMinuteAndDraw) {
    struct Case {
        const char* name;
        int minute;
        std::vector<Single> draws;
        Single homeChance, visitingChance;
        Multipliers expected;
        std::size_t drawsTaken;
    };
    const Multipliers even{1, 1, 1, 1, 0};
    const Multipliers homePenalised{2, 0, 1, 1, 0};
    const Multipliers visitorsPenalised{1, 1, 1, 0, 0};
    const Case cases[] = {
        {"no penalty", 30, {0.5f, 0.5f}, 0.2f, 0.2f, even, 2},
        {"draw equal to rating is no penalty", 30, {0.25f, 0.25f}, 0.25f, 0.25f, even, 2},
        {"draw below home rating", 30, {0.1f, 0.5f}, 0.2f, 0.2f, homePenalised, 2},
        {"draw below visiting rating", 30, {0.5f, 0.1f}, 0.2f, 0.2f, visitorsPenalised, 2},
        {"both penalised", 30, {0.1f, 0.1f}, 0.2f, 0.2f, {2, 0, 1, 0, 0}, 2},
        {"minute 5 keeps the plain draws", 5, {0.1f, 0.9f}, 0.2f, 0.2f, homePenalised, 2},
        {"minute 4 narrows: 0 becomes 0.15 and 0.25",
         4,
         {0.9f, 0.9f, 0.0f, 0.0f},
         0.16f,
         0.26f,
         {2, 0, 1, 0, 0},
         4},
        {"minute 4 ignores the plain draws", 4, {0.0f, 0.0f, 0.9f, 0.9f}, 0.5f, 0.5f, even, 4},
        {"late visiting draw never below 0.25", 3, {0.9f, 0.9f, 0.9f, 0.0f}, 0.0f, 0.25f, even, 4},
        {"home chance 0 is never a penalty", 30, {0.0f, 0.9f}, 0.0f, 0.2f, even, 2},
        {"minute 2 leaves the flag down",
         2,
         {0.9f, 0.9f, 0.0f, 0.9f},
         0.5f,
         0.2f,
         homePenalised,
         4},
        {"minute 1 raises the flag", 1, {0.9f, 0.9f, 0.0f, 0.9f}, 0.5f, 0.2f, {2, 0, 1, 1, 1}, 4},
        {"minute 0 raises the flag", 0, {0.9f, 0.9f, 0.9f, 0.0f}, 0.2f, 0.5f, {1, 1, 1, 0, 1}, 4},
    };
    for (const Case& c : cases) {
        PredictionState state = evenStrength(c.minute, c.homeChance, c.visitingChance);
        ScriptedDraws draws(c.draws);
        PENAL(state, draws);
        EXPECT_EQ(multipliersOf(state), c.expected) << c.name;
        EXPECT_EQ(draws.taken, c.drawsTaken) << c.name;
    }
}

TEST(Penalties, KeepsTheDrawsItJudged) {
    PredictionState state = evenStrength(4, 0.2f, 0.2f);
    ScriptedDraws draws({0.9f, 0.9f, 0.5f, 0.5f});
    PENAL(state, draws);
    EXPECT_EQ(state.penaltyx, static_cast<Single>(0.5 * 0.85 + 0.15));
    EXPECT_EQ(state.penaltyy, static_cast<Single>(0.5 * 0.5 + 0.25));
}

TEST(Penalties, CallWithoutPenaltyKeepsEarlierValuesAndFlag) {
    PredictionState state = evenStrength(1, 0.2f, 0.2f);
    state.powerplayx = 2;
    state.shorthandy = 0;
    state.PENALFLAG = 1;
    ScriptedDraws draws({0.9f, 0.9f, 0.9f, 0.9f});
    PENAL(state, draws);
    EXPECT_EQ(multipliersOf(state), (Multipliers{2, 0, 1, 1, 1}));
}

TEST(Penalties, RatingsRoundToMultipliersTiesToEven) {
    struct Case {
        Single powerPlayRating;
        int powerPlay;
        Single shortHandedRating;
        int shortHanded;
    };
    const Case cases[] = {
        {0.9f, 1, 0.0001f, 0}, {0.95f, 2, 2.2159f, 0}, {1.5333f, 2, 2.7f, 1},
        {0.3f, 0, 2.6f, 0},    {0.31f, 1, 2.62f, 1},
    };
    for (const Case& c : cases) {
        PredictionState state = evenStrength(30, 0.5f, 0);
        state.PPR = c.powerPlayRating;
        state.SHH = c.shortHandedRating;
        ScriptedDraws draws({0.1f, 0.9f});
        PENAL(state, draws);
        EXPECT_EQ(state.powerplayx, c.powerPlay) << "PPR " << c.powerPlayRating;
        EXPECT_EQ(state.shorthandy, c.shortHanded) << "SHH " << c.shortHandedRating;
    }
}

} // namespace
} // namespace zelkor
