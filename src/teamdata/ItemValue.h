#pragma once

#include "core/Arithmetic.h"

#include <string>
#include <string_view>

namespace zelkor {

// The numeric value of an item: blanks, tabs and line feeds dropped, then the leading
// decimal number as the nearest Single, or 0. OverflowError beyond the single range.
Single itemValue(std::string_view item);

// How much of an item its number took: all of it, a leading part, or none (the item
// counts 0).
enum class NumberForm { Whole, Leading, None };

struct ItemNumber {
    Single value = 0;
    NumberForm form = NumberForm::None;
    std::string overflow; ///< why the number cannot be a Single; empty when it can
};

// The item's value as itemValue reads it, and how; never throws.
ItemNumber itemNumber(std::string_view item);

// The same, with where (file, row, field) leading the overflow message.
Single itemValue(std::string_view item, const std::string& where);

} // namespace zelkor
