#include "season/GaaFromResults.h"

#include <utility>

namespace zelkor {

std::map<std::string, Single> gaaFromResults(const std::vector<ResultRow>& games,
                                             const std::vector<std::string>& codes,
                                             double defaultGaa) {
    std::map<std::string, std::pair<double, double>> starters; // averages, games
    for (const ResultRow& row : games) {
        starters[row.visitor].first += row.visitorGaa;
        starters[row.visitor].second += 1;
        starters[row.home].first += row.homeGaa;
        starters[row.home].second += 1;
    }
    std::map<std::string, Single> gaa;
    for (const std::string& code : codes) {
        const auto [sum, played] = starters[code];
        gaa[code] =
            static_cast<Single>((sum + GaaPriorGames * defaultGaa) / (played + GaaPriorGames));
    }
    return gaa;
}

} // namespace zelkor
