#include "season/SeasonRatingsFit.h"

#include "season/FitGames.h"
#include "season/GaaFromResults.h"
#include "teamdata/RatingsFile.h"

#include <algorithm>

namespace zelkor {

std::optional<RatingsFit> fitSeasonRatings(const std::vector<ResultRow>& games,
                                           const std::filesystem::path& rosterFolder,
                                           const FitOptions& options, const CalibrationRun& run,
                                           const std::vector<std::string>& codes,
                                           std::stop_token stop,
                                           const std::function<void(int, int)>& progress) {
    std::vector<std::string> clubs = clubsOf(games);
    clubs.insert(clubs.end(), codes.begin(), codes.end());
    std::sort(clubs.begin(), clubs.end());
    clubs.erase(std::unique(clubs.begin(), clubs.end()), clubs.end());
    RatingsFit fit = fitRatings(games, readTeamScoring(rosterFolder, clubs), rosterFolder, options);
    return calibrateRatings(std::move(fit), games, rosterFolder, options, run.rounds,
                            run.seriesPerGame, stop, progress);
}

namespace {

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : ".";
}

} // namespace

RosterWrite writeRatingsFile(const RatingTable& table, const std::filesystem::path& file) {
    const std::string text = ratingsFileText(table);
    parseRatings(text, "The fitted ratings"); // refuse to write what cannot be read
    return writeFolderFile(folderOf(file), file.filename().string(), text, true);
}

std::optional<std::string> ratingsFileTargetProblem(const std::filesystem::path& file) {
    return rosterTargetProblem(folderOf(file), file.filename().string(), true);
}

WrittenFit fitAndWriteRatings(const std::vector<ResultRow>& games,
                              const std::filesystem::path& rosterFolder, FitOptions options,
                              bool goaliesFromResults, const CalibrationRun& run,
                              const std::filesystem::path& file,
                              const std::function<void(int, int)>& progress) {
    if (goaliesFromResults) {
        options.gaa = gaaFromResults(games, clubsOf(games), options.defaultGaa);
    }
    WrittenFit written;
    written.fit = *fitSeasonRatings(games, rosterFolder, options, run, {}, {}, progress);
    written.written = writeRatingsFile(written.fit.table, file);
    return written;
}

} // namespace zelkor
