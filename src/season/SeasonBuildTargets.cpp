#include "season/SeasonBuildTargets.h"

#include "core/Errors.h"
#include "season/Elo.h"
#include "season/LeagueAlignment.h"
#include "season/SeasonFit.h"
#include "teamdata/RatingsFile.h"
#include "teamdata/SeasonRatings.h"

#include <set>
#include <string>
#include <system_error>

namespace zelkor {

namespace fs = std::filesystem;

std::vector<fs::path> existingBuildTargets(const SeasonBuildRequest& request) {
    std::set<std::string> names{RatingsFileName, ShootoutsFileName, EloFileName, DivisionsFileName,
                                PlayoffFormatFileName};
    try {
        for (const Skater& skater : readSeasonSkaters(request).skaters) {
            names.insert(skater.team);
        }
    } catch (const ZelkorError&) {
        return {};
    }
    std::vector<fs::path> existing;
    for (const std::string& name : names) {
        std::error_code unknown;
        // A link in the way counts, as it does for the writer.
        if (fs::exists(fs::symlink_status(request.folder / name, unknown))) {
            existing.push_back(request.folder / name);
        }
    }
    return existing;
}

} // namespace zelkor
