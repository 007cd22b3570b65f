#pragma once

#include "season/RatingsFit.h"
#include "season/ResultsFile.h"
#include "teamdata/RosterWriter.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace zelkor {

// How long the simulations that correct and check a fit play.
struct CalibrationRun {
    int rounds = CalibrationRounds;
    int seriesPerGame = CalibrationSeries;
};

// The season fit as every caller makes it (the window's season build, backtest, ratings,
// season build): the scoring of the clubs of the games and of codes read from the rosters
// of rosterFolder, the analytic fit, then run.rounds corrections by simulation and the
// check of the table returned. None when stop was requested; progress(done, total) counts
// the games simulated.
std::optional<RatingsFit>
fitSeasonRatings(const std::vector<ResultRow>& games, const std::filesystem::path& rosterFolder,
                 const FitOptions& options, const CalibrationRun& run = {},
                 const std::vector<std::string>& codes = {}, std::stop_token stop = {},
                 const std::function<void(int, int)>& progress = {});

// Writes the table as a ratings file through a temporary file beside it, renamed into
// place, after checking that it reads back; a file already there is kept as NAME.bak.
// The target is never cut short: a failed write leaves it as it was. Throws RosterWriteError
// when the file cannot be written.
RosterWrite writeRatingsFile(const RatingTable& table, const std::filesystem::path& file);

// Why writeRatingsFile could not write file, if it could not: for a check before a long fit.
std::optional<std::string> ratingsFileTargetProblem(const std::filesystem::path& file);

// A whole season's fit written to a file.
struct WrittenFit {
    RatingsFit fit;
    RosterWrite written;
};

// Fits the whole season (each game's starters relative to their club's usual goalie, as
// gaaFromResults finds it, when goaliesFromResults) and writes the table to file.
WrittenFit fitAndWriteRatings(const std::vector<ResultRow>& games,
                              const std::filesystem::path& rosterFolder, FitOptions options,
                              bool goaliesFromResults, const CalibrationRun& run,
                              const std::filesystem::path& file,
                              const std::function<void(int, int)>& progress = {});

} // namespace zelkor
