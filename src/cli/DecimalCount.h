#pragma once

#include "core/DisplayText.h"

#include <CLI/CLI.hpp>

#include <string>

namespace zelkor {

// CLI11 reads 0x10 as 16 and 0b11 as 3: a count is written in decimal digits alone.
inline CLI::Validator decimalCount() {
    return CLI::Validator(
        [](std::string& text) {
            return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos
                       ? std::string{}
                       : "'" + quotedText(text) + "' is not a whole number in decimal digits";
        },
        "", "");
}

} // namespace zelkor
