#include "season/MessageText.h"

#include "core/DisplayText.h"

namespace zelkor {

std::string shownText(std::string_view text) {
    return quotedText(text);
}

std::string shownPath(const std::filesystem::path& path) {
    return visibleText(path.string());
}

std::string shownList(const std::set<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : ", ") + shownText(item);
    }
    return text;
}

std::string fileLabel(std::string_view kind, const std::filesystem::path& file) {
    return shownFileLabel(kind, shownPath(file));
}

} // namespace zelkor
