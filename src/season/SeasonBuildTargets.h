#pragma once

#include "season/SeasonBuild.h"

#include <filesystem>
#include <vector>

namespace zelkor {

// The files of the request's season folder that a build would replace, those there
// already: each team's roster file, ratings.csv and shootouts.csv. The teams are those of
// the skater statistics; a statistics file that cannot be read gives none, since the
// build itself then says what is wrong with it.
std::vector<std::filesystem::path> existingBuildTargets(const SeasonBuildRequest& request);

} // namespace zelkor
