#include "season/FitCheckSummary.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zelkor {

namespace {

double miss(double model, double real) {
    if (real > 0) {
        return std::abs(model - real) / real;
    }
    return model == real ? 0 : std::numeric_limits<double>::infinity();
}

double largestMiss(const TeamFitCheck& team) {
    double largest = 0;
    for (const VenueCheck* venue : {&team.road, &team.home}) {
        largest = std::max({largest, miss(venue->simulatedFor, venue->goalsFor),
                            miss(venue->simulatedAgainst, venue->goalsAgainst)});
    }
    return largest;
}

} // namespace

FitCheckSummary summarizeFitCheck(const std::vector<TeamFitCheck>& check, std::size_t worstShown,
                                  double tolerance) {
    FitCheckSummary summary;
    summary.clubs = check.size();
    std::vector<FitCheckMiss> misses;
    for (const TeamFitCheck& team : check) {
        if (team.road.within(tolerance) && team.home.within(tolerance)) {
            ++summary.within;
        }
        misses.push_back({team.code, largestMiss(team)});
    }
    std::sort(misses.begin(), misses.end(), [](const FitCheckMiss& a, const FitCheckMiss& b) {
        return a.largestMiss != b.largestMiss ? a.largestMiss > b.largestMiss : a.code < b.code;
    });
    misses.resize(std::min(misses.size(), worstShown));
    summary.worst = std::move(misses);
    return summary;
}

} // namespace zelkor
