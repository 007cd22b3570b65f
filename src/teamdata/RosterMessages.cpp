#include "teamdata/RosterMessages.h"

#include "core/DisplayText.h"
#include "core/FilePlace.h"
#include "core/PlayerArray.h"

#include <array>
#include <charconv>
#include <system_error>

namespace zelkor {

std::string shownFolder(const std::filesystem::path& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path absolute = fs::absolute(folder, error);
    return visibleText((error ? folder : absolute.lexically_normal()).string());
}

std::string shownValue(Single value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

std::string fileLabel(const std::string& code) {
    return shownFileLabel("Roster", quotedText(code));
}

std::string fileInSentence(const std::string& code) {
    return "roster file '" + quotedText(code) + "'";
}

const char* columnName(int column) {
    switch (column) {
    case NameColumn:
        return "name";
    case GamesColumn:
        return "games played";
    case GoalsColumn:
        return "goals";
    default:
        return "assists";
    }
}

std::string cellLabel(const std::string& code, int player, int column) {
    return fileLabel(code) + ", player row " + std::to_string(player) + ", " + columnName(column);
}

} // namespace zelkor
