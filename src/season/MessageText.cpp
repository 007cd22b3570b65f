#include "season/MessageText.h"

#include "core/DisplayText.h"

namespace zelkor {

std::string shownText(std::string_view text) {
    return quotedText(text);
}

std::string shownPath(const std::filesystem::path& path) {
    return visibleText(path.string());
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::string upperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

} // namespace zelkor
