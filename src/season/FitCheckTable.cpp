#include "season/FitCheckTable.h"

#include <algorithm>

namespace zelkor {

FitCheckTable fitCheckTable(const std::vector<TeamFitCheck>& check) {
    FitCheckTable table;
    for (const TeamFitCheck& team : check) {
        const bool within = team.road.within(FitTolerance) && team.home.within(FitTolerance);
        table.rows.push_back({team.code, team.road, team.home, within});
        table.clubsWithin += within ? 1 : 0;
    }
    std::stable_sort(table.rows.begin(), table.rows.end(),
                     [](const FitCheckRow& a, const FitCheckRow& b) { return a.code < b.code; });
    return table;
}

} // namespace zelkor
