#pragma once

#include "core/Arithmetic.h"

#include <array>
#include <string>

namespace zelkor {

// Players of a team: index 1 to 18 is roster row 1 to 18; index 0 is no player, stays 0
// and starts the cumulative sums.
inline constexpr int PlayersPerTeam = 18;

[[noreturn]] void throwSubscriptError(const char* what, int index, int last);

// 19 Singles indexed 0 to 18; any other index is a SubscriptError.
class PlayerArray {
public:
    Single& operator[](int index) {
        checkIndex(index);
        return values_[static_cast<std::size_t>(index)];
    }
    Single operator[](int index) const {
        checkIndex(index);
        return values_[static_cast<std::size_t>(index)];
    }

private:
    static void checkIndex(int index) {
        if (index < 0 || index > PlayersPerTeam) {
            throwSubscriptError("player array", index, PlayersPerTeam);
        }
    }

    std::array<Single, PlayersPerTeam + 1> values_{};
};

// Roster columns: 1 name, 2 games played, 3 goals, 4 assists.
inline constexpr int NameColumn = 1;
inline constexpr int GamesColumn = 2;
inline constexpr int GoalsColumn = 3;
inline constexpr int AssistsColumn = 4;
inline constexpr int RosterColumns = 4;

// A roster as read: rows 0 to 18 by columns 0 to 4, each cell one item's text. Row 0 and
// column 0 are never written. Other indices are a SubscriptError.
class RosterTable {
public:
    std::string& at(int row, int column) {
        checkIndex(row, column);
        return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    const std::string& at(int row, int column) const {
        checkIndex(row, column);
        return cells_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }

private:
    static void checkIndex(int row, int column) {
        if (row < 0 || row > PlayersPerTeam) {
            throwSubscriptError("roster table row", row, PlayersPerTeam);
        }
        if (column < 0 || column > RosterColumns) {
            throwSubscriptError("roster table column", column, RosterColumns);
        }
    }

    std::array<std::array<std::string, RosterColumns + 1>, PlayersPerTeam + 1> cells_{};
};

} // namespace zelkor
