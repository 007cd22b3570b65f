#pragma once

#include <QFont>

namespace zelkor::ui {

// The windows' typeface, MS Sans Serif, at the given size; where the system has no
// outline version of it, a close sans serif of about the same width.
QFont windowFont(qreal points, bool bold, bool italic = false);

} // namespace zelkor::ui
