#pragma once

#include "season/ResultsFile.h"
#include "season/TeamCodes.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace zelkor {

// A season's games as they stand on a day: those played, with their scores, and those
// still to play. A results file is its own schedule: a game without a score is still to
// play.
struct Schedule {
    std::vector<ResultRow> played; ///< with a score and before the day, in file order
    std::vector<ResultRow> toPlay; ///< the rest by date (file order within a day); no score
    // Games listed without a score on a day the season had already passed, left out: a
    // postponed game whose replay the file lists again.
    std::size_t postponedSkipped = 0;
};

// Splits the games of a results file on the day asOf (YYYY-MM-DD): a game on or after it
// is still to play even with a score. Empty asOf: every game with a score is played. A
// game without a score dated before the file's last game with one was postponed and is
// skipped, not played: its replay is listed again.
Schedule scheduleOf(const ResultsFile& file, const std::string& asOf);

// What makes a schedule unusable, one line each, with the label and the lines: a day that
// is no date, a club playing itself, a club playing twice on one day. Empty when none.
std::vector<std::string> scheduleProblems(const Schedule& schedule, const std::string& label);

// How messages name a schedule: fileLabel(ScheduleFileKind, path).
inline constexpr std::string_view ScheduleFileKind = "Schedule";

// Reads a results file in any layout the results reader takes as the schedule on asOf
// and checks it. Throws InputFileError or InputDataError listing every problem at once.
Schedule readSchedule(const std::filesystem::path& file, const TeamCodeMap& codes,
                      const std::string& asOf);

} // namespace zelkor
