#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelkor {

// Text as it can be shown on a terminal or in a message: control characters (C0, DEL,
// C1) written visibly as \xNN, everything else as it is.
std::string visibleText(std::string_view text);

// A user's text quoted in a message: visible, and cut after about limit characters with
// an ellipsis so that a huge item cannot bury the message.
std::string quotedText(std::string_view text, std::size_t limit = 60);

// The text with blanks and tabs at both ends removed, as fields of the files are read.
std::string_view trimmed(std::string_view text);

// ASCII upper case, for codes and header names.
std::string upperCase(std::string_view text);

} // namespace zelkor
