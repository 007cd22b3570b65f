#pragma once

#include "core/Arithmetic.h"
#include "season/ResultsFile.h"

#include <map>
#include <string>
#include <vector>

namespace zelkor {

// Games at the default average added to a club's own when its GAA comes from the
// results, so that one shutout cannot give it an average of 0.
inline constexpr double GaaPriorGames = 2;

// Each club's goals against per game in games, with GaaPriorGames games at defaultGaa
// added, as its goalie's average: the visitors' goals count against the home club and the
// home goals against the visitors. A club of codes without a game has defaultGaa.
std::map<std::string, Single> gaaFromResults(const std::vector<ResultRow>& games,
                                             const std::vector<std::string>& codes,
                                             double defaultGaa);

} // namespace zelkor
