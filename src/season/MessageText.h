#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace zelkor {

// A user's text as it can stand in a message: control characters shown, long texts cut.
std::string shownText(std::string_view text);

// A path as it can stand in a message: control characters shown, in full.
std::string shownPath(const std::filesystem::path& path);

// The text with blanks and tabs at both ends removed.
std::string_view trimmed(std::string_view text);

// ASCII upper case, for codes and header names.
std::string upperCase(std::string_view text);

} // namespace zelkor
