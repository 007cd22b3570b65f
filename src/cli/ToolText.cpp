#include "cli/ToolText.h"

namespace zelkor {

namespace {

constexpr std::size_t LongestShownText = 60; // more would bury the message

std::string printable(std::string_view text) {
    std::string result;
    for (const char c : text) {
        result.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c);
    }
    return result;
}

} // namespace

std::string shownText(std::string_view text) {
    if (text.size() > LongestShownText) {
        return printable(text.substr(0, LongestShownText)) + "...";
    }
    return printable(text);
}

std::string shownPath(const std::filesystem::path& path) {
    return printable(path.string());
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
