#pragma once

#include "core/Arithmetic.h"
#include "season/BacktestMetrics.h"
#include "season/CsvFile.h"
#include "season/TeamCodes.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zelkor {

// How a game ended.
enum class GameEnd { Unknown, Regulation, Overtime, Shootout, Tie };

// One game of a results file.
struct ResultRow {
    int line = 0; ///< line of the file, for messages
    std::string date;
    std::string visitor; ///< team codes of the kind the reader was asked for
    std::string home;
    int visitorGoals = 0; ///< final score, a shootout's winning goal included
    int homeGoals = 0;
    Single visitorGaa = 0;
    Single homeGaa = 0;
    std::optional<GameOdds> odds;   ///< decimal closing odds
    GameEnd end = GameEnd::Unknown; ///< Unknown when the file does not say
};

// How a results file writes the end: REG, OT, SO, T, or empty for Unknown.
std::string_view resultText(GameEnd end);

// The games of a results file, and how many it lists without a score (postponed).
struct ResultsFile {
    std::vector<ResultRow> games;
    int skipped = 0;
    // The games without a score, in file order: line, date (as written, unchecked),
    // visitor and home only. A schedule plays them; the backtest skips them.
    std::vector<ResultRow> unplayed;
};

// Whether text is a calendar day written YYYY-MM-DD.
bool isDate(std::string_view text);

// How messages name a results file: fileLabel(ResultsFileKind, path).
inline constexpr std::string_view ResultsFileKind = "Results";

// Reads a results file in either of two layouts:
// - date, visitor, home, visitor_goals, home_goals and optionally result (REG, OT, SO, T),
//   visitor_gaa, home_gaa, visitor_odds, home_odds (decimal or American), in any order;
// - a statistics site's game table: Date, Visitor, G, Home, G and an unnamed column
//   holding OT or SO (each G is the goals of the team before it).
// Teams are codes, abbreviations or full names, written as codes of the map's kind. A
// level score after overtime, or with no result, is a tie; a game without goals is
// skipped. A missing GAA is defaultGaa. Throws InputDataError listing every unknown team
// with its lines, or naming the line and column of a value that cannot be used.
ResultsFile readResults(const std::vector<CsvRow>& rows, const std::string& label,
                        const TeamCodeMap& codes, Single defaultGaa);

// readResults of a file, named in messages as a results file.
ResultsFile readResultsFile(const std::filesystem::path& file, const TeamCodeMap& codes,
                            Single defaultGaa);

} // namespace zelkor
