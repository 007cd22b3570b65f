#include "season/SeasonFit.h"

#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/FitGames.h"
#include "season/MessageText.h"
#include "season/SeasonRatingsFit.h"
#include "teamdata/RatingsFile.h"

#include <charconv>
#include <memory>

namespace zelkor {

SkaterStatistics readSeasonSkaters(const SeasonBuildRequest& request) {
    const std::string label = fileLabel(SkatersFileKind, request.skaters);
    const std::vector<CsvRow> rows = readCsvFile(request.skaters, label);
    // The season names a season of the files that hold several; a table of one season
    // has no season column.
    std::optional<std::string> season;
    if (!trimmed(request.season).empty() && hasSeasonColumn(rows)) {
        season = request.season;
    }
    return readSkaterStatistics(rows, label, TeamCodeMap({}, TeamCodeKind::League), std::nullopt,
                                season);
}

std::vector<ResultRow> readSeasonGames(const SeasonBuildRequest& request) {
    return gamesBefore(
        readResultsFile(request.results, TeamCodeMap({}, TeamCodeKind::League), DefaultGaa).games,
        request.before);
}

std::optional<int> seasonYear(const SeasonBuildRequest& request) {
    const std::string_view season = trimmed(request.season);
    int year = 0;
    const auto [end, error] = std::from_chars(season.data(), season.data() + season.size(), year);
    if (season.empty()) {
        return std::nullopt;
    }
    if (error != std::errc{} || end - season.data() != 4) {
        throw SeasonBuildError("The season '" + shownText(season) +
                               "' does not begin with its year, like 2013 or 2013-14.");
    }
    return year;
}

std::map<std::string, TeamTotals> readSeasonTeams(const SeasonBuildRequest& request) {
    if (!request.teamStats) {
        return {};
    }
    const std::string label = fileLabel(TeamStatsFileKind, *request.teamStats);
    return readTeamTotals(readCsvFile(*request.teamStats, label), label,
                          TeamCodeMap({}, TeamCodeKind::League), seasonYear(request));
}

FitOptions seasonFitOptions(const SeasonBuildRequest& request, const std::vector<ResultRow>& games,
                            const std::map<std::string, TeamTotals>& teams) {
    FitOptions options;
    if (request.prior) {
        options.prior = std::make_shared<const RatingTable>(readRatingsFile(*request.prior));
    }
    for (const auto& [code, team] : teams) {
        if (!team.games || *team.games <= 0) {
            continue;
        }
        if (team.timesShortHanded && team.powerPlayGoals && team.powerPlayChances) {
            options.specialTeams[code] = {*team.games, *team.timesShortHanded, *team.powerPlayGoals,
                                          *team.powerPlayChances,
                                          team.shortHandedGoalsFor.value_or(0)};
        }
    }
    options.shootout = hadShootouts(games);
    return options;
}

std::optional<RatingsFit> fitSeason(const SeasonBuildRequest& request,
                                    const std::vector<ResultRow>& games,
                                    const std::vector<std::string>& codes,
                                    const std::filesystem::path& rosterFolder,
                                    const FitOptions& options, std::stop_token stop,
                                    const std::function<void(double)>& progress) {
    const CalibrationRun run{CalibrationRounds, request.series.value_or(CalibrationSeries)};
    return fitSeasonRatings(games, rosterFolder, options, run, codes, stop,
                            [&progress](int done, int total) {
                                if (progress && total > 0) {
                                    progress(double(done) / double(total));
                                }
                            });
}

} // namespace zelkor
