#pragma once

#include "teamdata/RatingTable.h"

#include <QString>
#include <QStringList>

#include <string_view>
#include <vector>

namespace zelkor {

// Engine text for the screen. Roster files written on Windows may not be UTF-8: such
// bytes are taken as Latin-1 rather than shown as replacement marks.
QString screenText(std::string_view text);

// The same with control characters shown visibly, for text that comes from a user's file.
QString visibleScreenText(std::string_view text);

// The codes of a half of the rating table, in its order.
QStringList teamCodes(const std::vector<RatedTeam>& half);

} // namespace zelkor
