#include "season/SeasonFit.h"

#include "season/CsvFile.h"
#include "season/DataErrors.h"
#include "season/MessageText.h"
#include "teamdata/RatingsFile.h"

#include <charconv>
#include <memory>

namespace zelkor {

namespace {

// Games are fitted with the league-typical goalie on both sides, so that each club's defence
// holds its own goaltending.
const Single UnusedGaa = FitOptions{}.defaultGaa;

std::string fileLabel(const std::filesystem::path& file) {
    return "The file '" + shownPath(file) + "'";
}

} // namespace

SkaterStatistics readSeasonSkaters(const SeasonBuildRequest& request) {
    const std::vector<CsvRow> rows = readCsvFile(request.skaters);
    // The season names a season of the files that hold several; a table of one season
    // has no season column.
    std::optional<std::string> season;
    if (!trimmed(request.season).empty() && hasSeasonColumn(rows)) {
        season = request.season;
    }
    return readSkaterStatistics(rows, fileLabel(request.skaters),
                                TeamCodeMap({}, TeamCodeKind::League), std::nullopt, season);
}

std::vector<ResultRow> readSeasonGames(const SeasonBuildRequest& request) {
    std::vector<ResultRow> games;
    for (ResultRow& row : readResults(readCsvFile(request.results), fileLabel(request.results),
                                      TeamCodeMap({}, TeamCodeKind::League), UnusedGaa)
                              .games) {
        if (request.before.empty() || row.date < request.before) {
            games.push_back(std::move(row));
        }
    }
    return games;
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
    return readTeamTotals(readCsvFile(*request.teamStats), fileLabel(*request.teamStats),
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
    for (const ResultRow& game : games) {
        options.shootout = options.shootout || game.result == "SO";
    }
    return options;
}

std::optional<RatingsFit> fitSeason(const SeasonBuildRequest& request,
                                    const std::vector<ResultRow>& games,
                                    const std::vector<std::string>& codes,
                                    const std::filesystem::path& rosterFolder,
                                    const FitOptions& options, std::stop_token stop,
                                    const std::function<void(double)>& progress) {
    RatingsFit fit = fitRatings(games, readTeamScoring(rosterFolder, codes), rosterFolder, options);
    return calibrateRatings(std::move(fit), games, rosterFolder, options, FitRounds,
                            request.series.value_or(DefaultFitSeries), stop,
                            [&progress](int done, int total) {
                                if (progress && total > 0) {
                                    progress(double(done) / double(total));
                                }
                            });
}

} // namespace zelkor
