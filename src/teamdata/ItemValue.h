#pragma once

#include "core/Arithmetic.h"

#include <string>
#include <string_view>

namespace zelkor {

// The numeric value of an item: blanks, tabs and line feeds dropped, then the leading
// decimal number as the nearest Single, or 0. OverflowError beyond the single range.
Single itemValue(std::string_view item);

// The same, with where (file, row, field) leading the overflow message.
Single itemValue(std::string_view item, const std::string& where);

} // namespace zelkor
