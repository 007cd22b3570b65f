#pragma once

#include "season/RatingsFit.h"

#include <cstddef>
#include <string>
#include <vector>

namespace zelkor {

// A club's largest miss of the fit's check: of its four figures (goals for and against, on
// the road and at home), the one furthest from the real one, as a share of the real one.
struct FitCheckMiss {
    std::string code;
    double largestMiss =
        0; ///< 0.042 is 4.2 %; infinite where a real figure is 0 and the model's not
};

// What a window shows of the fit's check in a line: how many clubs play their season back
// within the tolerance, and the clubs that miss most.
struct FitCheckSummary {
    std::size_t clubs = 0;
    std::size_t within = 0;
    std::vector<FitCheckMiss> worst; ///< largest miss first, equal ones by code
};

// Clubs the summary names as the worst, unless asked for another number.
inline constexpr std::size_t WorstClubsShown = 3;

FitCheckSummary summarizeFitCheck(const std::vector<TeamFitCheck>& check,
                                  std::size_t worstShown = WorstClubsShown,
                                  double tolerance = FitTolerance);

} // namespace zelkor
