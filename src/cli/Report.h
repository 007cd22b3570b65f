#pragma once

#include "cli/ConsoleWindow.h"
#include "core/PredictionState.h"
#include "simulation/SeriesSummary.h"

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zelkor {

// The results of one completed series, as zelkor-cli writes them.
struct SeriesReport {
    std::string visitor;
    std::string home;
    std::optional<std::uint64_t> seed;
    std::vector<std::string> log; ///< one entry per line, without line ends
    std::vector<PlayedGame> games;
    int visitorAverage = 0;
    int homeAverage = 0;
    std::string moneyLine;
    int winsVisitor = 0;
    int winsHome = 0;
    int ties = 0; ///< level games, counted once
    int goalsVisitor = 0;
    int goalsHome = 0;
    std::string ratings; ///< where the ratings came from: "built-in" or the file
};

// Gathers the report of a completed run from the state, the series' facts and the log
// the window kept.
SeriesReport collectReport(const PredictionState& state, const SeriesFacts& facts,
                           const ConsoleWindow& window, std::optional<std::uint64_t> seed);

// The log, then the two average scores and the money line, one labelled line each.
void writeTextReport(const SeriesReport& report, std::ostream& out);

// One JSON object. Bytes that are not UTF-8 (a roster saved in a Windows code page) are
// written as U+FFFD rather than making the output invalid.
void writeJsonReport(const SeriesReport& report, std::ostream& out);

} // namespace zelkor
