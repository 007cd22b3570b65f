#pragma once

#include "season/ResultsFile.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// Why text cannot be the day before which a fit takes its games, if it cannot: it must be
// a day of the calendar written YYYY-MM-DD.
std::optional<std::string> beforeDateProblem(std::string_view text);

// The games before the day before (YYYY-MM-DD) in file order; every game when before is
// empty. Throws InputDataError for a day that is not a date, which compared as text would
// keep or drop games at random ("tomorrow" keeps every one).
std::vector<ResultRow> gamesBefore(std::vector<ResultRow> games, std::string_view before);

// Throws InputDataError when games, the games of file before the day before, hold none
// to fit ratings to.
void checkGamesToFit(const std::vector<ResultRow>& games, const std::filesystem::path& file,
                     std::string_view before);

// Whether a season's fit plays shootouts: when any of its games went to one.
bool hadShootouts(const std::vector<ResultRow>& games);

// The clubs of the games, each once, in code order.
std::vector<std::string> clubsOf(const std::vector<ResultRow>& games);

} // namespace zelkor
