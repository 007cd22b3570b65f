#pragma once

#include "core/DisplayText.h" // trimmed, upperCase
#include "core/FilePlace.h"   // filePlace

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace zelkor {

// A user's text as it can stand in a message: control characters shown, long texts cut.
std::string shownText(std::string_view text);

// A path as it can stand in a message: control characters shown, in full.
std::string shownPath(const std::filesystem::path& path);

// Codes or names as a message lists them: each shown, in order, joined by ", ".
std::string shownList(const std::set<std::string>& items);

// "Results file 'p'": how every message names a file the user gave (core/FilePlace.h has the whole
// form).
std::string fileLabel(std::string_view kind, const std::filesystem::path& file);

} // namespace zelkor
