#pragma once

#include "core/Arithmetic.h"
#include "core/PredictionState.h"

#include <span>
#include <string_view>

namespace zelkor {

// One team's five ratings, home or road.
struct TeamRating {
    Single offence;     ///< multiplies the team's own scoring rates
    Single penalty;     ///< chance per minute that the team takes a penalty
    Single powerPlay;   ///< power-play strength
    Single shortHanded; ///< short-handed strength
    Single defence;     ///< multiplies the opponent's scoring rates
};

// A row of the built-in rating table.
struct TeamRatingRow {
    std::string_view code;
    TeamRating rating;
};

// The 32 rows of each half, in lookup order.
std::span<const TeamRatingRow> roadRatingTable();
std::span<const TeamRatingRow> homeRatingTable();

// Exact, case-sensitive matching; the empty code matches nothing.
bool isRoadTeamCode(std::string_view code);
bool isHomeTeamCode(std::string_view code);

// Copies the road row of VISITOR into OFFR..DEFR and the home row of HOME into
// OFFH..DEFH; a side whose code is not in its table keeps its ratings.
void LoadTeamRatings(PredictionState& state);

} // namespace zelkor
