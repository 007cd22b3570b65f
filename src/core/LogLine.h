#pragma once

#include <string_view>

namespace zelkor {

// How every line of the play-by-play log ends, as the window shows it.
inline constexpr std::string_view LogLineEnd = "\r\n";

} // namespace zelkor
