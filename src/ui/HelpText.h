#pragma once

#include <string_view>

namespace zelkor::ui {

// The fixed text of the ReadMe window. Every line, the last one too, ends in CR LF.
std::string_view helpText();

} // namespace zelkor::ui
