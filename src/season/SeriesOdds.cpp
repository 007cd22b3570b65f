#include "season/SeriesOdds.h"

#include "core/Errors.h"
#include "engine/InputChecks.h"
#include "odds/ManySeries.h"

#include <optional>
#include <stop_token>

namespace zelkor {

GameOddsEngine seriesBySeriesOdds(const std::filesystem::path& rosterFolder,
                                  std::shared_ptr<const RatingTable> ratings,
                                  ShootoutRules shootouts) {
    return [engine = ratedSeriesOdds(rosterFolder, std::move(shootouts)),
            ratings = std::move(ratings)](const OddsRequest& request) {
        return engine(request, ratings);
    };
}

RatedOddsEngine ratedSeriesOdds(const std::filesystem::path& rosterFolder,
                                ShootoutRules shootouts) {
    return [rosterFolder, shootouts = std::move(shootouts)](
               const OddsRequest& request, const std::shared_ptr<const RatingTable>& ratings) {
        ManySeriesRequest run;
        run.visitor = request.visitor;
        run.home = request.home;
        run.visitorGaa = gaaEntry(request.visitorGaa);
        run.homeGaa = gaaEntry(request.homeGaa);
        run.rosterFolder = rosterFolder;
        run.series = static_cast<std::uint64_t>(request.series);
        run.baseSeed = request.seed;
        run.ratings = ratings;
        run.shootout = shootouts.on;
        run.shootoutVisitorChance = shootouts.visitorChance(request.visitor, request.home);
        const std::optional<OddsTally> tally = playManySeries(run, std::stop_token{});
        GameCounts counts;
        counts.visitorWins =
            static_cast<int>(tally->visitorWinsRegulation + tally->visitorWinsOvertime);
        counts.homeWins = static_cast<int>(tally->homeWinsRegulation + tally->homeWinsOvertime);
        counts.level = static_cast<int>(tally->ties);
        counts.games = static_cast<int>(tally->games);
        return counts;
    };
}

} // namespace zelkor
