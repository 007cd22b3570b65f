#pragma once

#include "core/Arithmetic.h"

#include <filesystem>
#include <string>

namespace zelkor {

// The pieces of the roster reader's messages, so that every message names a file, a row
// and a field the same way.

// The folder as a message shows it: absolute, control characters shown.
std::string shownFolder(const std::filesystem::path& folder);
// A value as a message shows it, in the shortest form that reads back the same.
std::string shownValue(Single value);
// "Roster file 'BOS'", and the same within a sentence.
std::string fileLabel(const std::string& code);
std::string fileInSentence(const std::string& code);
// "games played" for GamesColumn, and so on.
const char* columnName(int column);
// "Roster file 'BOS', player row 3, goals": where a value or item is.
std::string cellLabel(const std::string& code, int player, int column);

} // namespace zelkor
