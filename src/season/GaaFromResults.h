#pragma once

#include "core/Arithmetic.h"
#include "season/ResultsFile.h"

#include <map>
#include <string>
#include <vector>

namespace zelkor {

// Games at the default average added to a club's own when its usual goalie comes from the
// results, so that one game's starter cannot be all of its usual goalie.
inline constexpr double GaaPriorGames = 2;

// Each club's usual goalie in games: the mean of the averages of its starters, with
// GaaPriorGames starters at defaultGaa added. A club of codes without a game has
// defaultGaa, and so does every club of results that give no averages (the reader gives
// each such row the default).
std::map<std::string, Single> gaaFromResults(const std::vector<ResultRow>& games,
                                             const std::vector<std::string>& codes,
                                             double defaultGaa);

} // namespace zelkor
