#pragma once

#include "season/ResultsFile.h"

#include <string>

namespace zelkor::testing {

// Sets how a game ended.
template <typename Row> void setEnd(Row& row, GameEnd end) {
    row.end = end;
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
