#include "season/SeasonFit.h"

#include "season/Backtest.h"
#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"

namespace zelkor {

namespace {

// A results file without goals-against averages needs none for the fit.
constexpr Single UnusedGaa = 3.0f;

std::string fileLabel(const std::filesystem::path& file) {
    return "The file '" + shownPath(file) + "'";
}

} // namespace

SeasonSkaters readSeasonSkaters(const std::filesystem::path& file) {
    return {readSkaterStatistics(readCsvFile(file), fileLabel(file), TeamCodeMap(), std::nullopt)};
}

SeasonGames readSeasonGames(const SeasonBuildRequest& request) {
    SeasonGames games;
    for (const ResultRow& row : readResults(readCsvFile(request.results),
                                            fileLabel(request.results), TeamCodeMap(), UnusedGaa)) {
        if (!request.before.empty() && !(row.date < request.before)) {
            continue;
        }
        games.games.push_back({row.visitor, row.home, row.visitorGoals, row.homeGoals});
    }
    return games;
}

std::optional<SeasonFit> fitSeason(const SeasonBuildRequest&, const std::vector<ImportedRoster>&,
                                   const SeasonGames&, std::stop_token,
                                   const std::function<void(double)>&) {
    throw SeasonBuildError("The ratings fit is not in this build yet.");
}

} // namespace zelkor
