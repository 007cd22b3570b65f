#include "season/SeasonTest.h"

#include "season/DataErrors.h"
#include "season/Elo.h"
#include "season/MessageText.h"
#include "season/MovedClubs.h"
#include "season/SeriesOdds.h"
#include "teamdata/RatingsFile.h"

#include <fstream>
#include <set>

namespace zelkor {

namespace {

constexpr Single SeasonTestGaa = 2.8f; // every goalie's GAA, as a backtest's default

std::vector<ResultRow> readGames(const std::filesystem::path& file) {
    return readResultsFile(file, TeamCodeMap({}, TeamCodeKind::League), SeasonTestGaa).games;
}

// The season's games with the odds of the file.
std::vector<ResultRow> gamesWithOdds(const SeasonTestRequest& request) {
    std::vector<ResultRow> games = readGames(request.results);
    const std::string label = fileLabel(OddsFileKind, request.odds);
    joinOdds(games,
             readOddsFile(readCsvFile(request.odds, label), label,
                          TeamCodeMap({}, TeamCodeKind::League), request.line),
             label);
    return games;
}

} // namespace

void checkSeasonTestInputs(const SeasonTestRequest& request) {
    gamesWithOdds(request);
    if (request.priorResults) {
        readGames(*request.priorResults);
    }
}

MarketSummary testSeasonFolder(const SeasonTestRequest& request,
                               const std::function<void(int, int)>& progress) {
    std::vector<ResultRow> games = gamesWithOdds(request);
    std::vector<MovedClubNote> moved = playMovedClubsAsPredecessors(games, request.folder);
    WalkForwardOptions options;
    options.series = request.series;
    options.seed = request.seed;
    options.fit.defaultGaa = SeasonTestGaa;
    if (request.prior) {
        options.fit.prior = priorWithMovedClubs(readRatingsFile(*request.prior), games, moved);
    }
    if (request.priorResults) {
        options.eloStart =
            carriedElo(playElo(readGames(*request.priorResults), options.elo), options.elo);
        eloWithMovedClubs(options.eloStart, games, moved);
    }
    std::set<std::string> codes;
    for (const ResultRow& row : games) {
        codes.insert(row.visitor);
        codes.insert(row.home);
    }
    const WalkForwardReport report =
        runWalkForward(games, readTeamScoring(request.folder, {codes.begin(), codes.end()}),
                       request.folder, options, ratedSeriesOdds(request.folder), progress);
    const MarketSummary summary = marketSummaryOf(report);
    writeMarketSummary(summary, request.folder);
    return summary;
}

void writeMarketSummary(const MarketSummary& summary, const std::filesystem::path& folder) {
    const std::string text = marketSummaryText(summary);
    parseMarketSummary(parseCsv(text, "The summary"), "The summary");
    const std::filesystem::path target = folder / MarketSummaryFileName;
    const std::filesystem::path temporary = folder / (std::string(".") + MarketSummaryFileName);
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << text;
        if (!file.flush()) {
            throw InputFileError("Cannot write the summary '" + shownPath(temporary) + "'.");
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw InputFileError("Cannot write the summary '" + shownPath(target) + "'.");
    }
}

} // namespace zelkor
