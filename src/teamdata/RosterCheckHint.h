#pragma once

#include <filesystem>
#include <string>

namespace zelkor {

// The sentence added to a message about a roster file: the command that reports every
// problem of the folder's roster files at once, with its line and field.
inline std::string rosterCheckHint(const std::filesystem::path& folder) {
    return "To list every problem of the roster files with its line, run: zelkor-cli "
           "check-rosters \"" +
           folder.string() + "\"";
}

} // namespace zelkor
