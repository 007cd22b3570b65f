#pragma once

#include "season/ResultsFile.h"

#include <string>

namespace zelkor::testing {

// The text a results file writes for each way a game ends.
inline const char* resultTextOf(GameEnd end) {
    switch (end) {
    case GameEnd::Regulation:
        return "REG";
    case GameEnd::Overtime:
        return "OT";
    case GameEnd::Shootout:
        return "SO";
    case GameEnd::Tie:
        return "T";
    case GameEnd::Unknown:
        break;
    }
    return "";
}

// Sets how a game ended; where a row also carries the result as text, that text agrees.
template <typename Row> void setEnd(Row& row, GameEnd end) {
    row.end = end;
    if constexpr (requires { row.result = std::string(); }) {
        row.result = resultTextOf(end);
    }
}

// One game as a results file gives it, built field by field.
inline ResultRow gameRow(const std::string& date, const std::string& visitor,
                         const std::string& home, int visitorGoals, int homeGoals,
                         GameEnd end = GameEnd::Regulation, Single visitorGaa = 2.8f,
                         Single homeGaa = 2.8f, int line = 0) {
    ResultRow row;
    row.line = line;
    row.date = date;
    row.visitor = visitor;
    row.home = home;
    row.visitorGoals = visitorGoals;
    row.homeGoals = homeGoals;
    row.visitorGaa = visitorGaa;
    row.homeGaa = homeGaa;
    setEnd(row, end);
    return row;
}

} // namespace zelkor::testing
