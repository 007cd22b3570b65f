#pragma once

#include "season/RatingsFit.h"

#include <string>
#include <vector>

namespace zelkor {

// A club's line of the fit's check: its goals a game, real and simulated, for and against,
// on the road and at home, and whether all four are within the tolerance.
struct FitCheckRow {
    std::string code;
    VenueCheck road;
    VenueCheck home;
    bool within = false;
};

// The fit's check as every front end shows it: one row per club in code order.
struct FitCheckTable {
    std::vector<FitCheckRow> rows;
    int clubsWithin = 0;             ///< rows within the tolerance at both venues
    double tolerance = FitTolerance; ///< a share of the real goals
};

FitCheckTable fitCheckTable(const std::vector<TeamFitCheck>& check);

} // namespace zelkor
