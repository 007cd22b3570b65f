#include "season/GaaFromResults.h"

#include <utility>

namespace zelkor {

std::map<std::string, Single> gaaFromResults(const std::vector<ResultRow>& games,
                                             const std::vector<std::string>& codes,
                                             double defaultGaa) {
    std::map<std::string, std::pair<double, double>> against; // goals, games
    for (const ResultRow& row : games) {
        against[row.visitor].first += row.homeGoals;
        against[row.visitor].second += 1;
        against[row.home].first += row.visitorGoals;
        against[row.home].second += 1;
    }
    std::map<std::string, Single> gaa;
    for (const std::string& code : codes) {
        const auto [goals, played] = against[code];
        gaa[code] =
            static_cast<Single>((goals + GaaPriorGames * defaultGaa) / (played + GaaPriorGames));
    }
    return gaa;
}

} // namespace zelkor
