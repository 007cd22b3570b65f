#include "core/DisplayText.h"

namespace zelkor {

namespace {

constexpr char HexDigits[] = "0123456789abcdef";

void appendEscaped(std::string& out, unsigned char byte) {
    out += "\\x";
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0xf];
}

} // namespace

std::string visibleText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7f) {
            appendEscaped(out, byte);
        } else if (byte == 0xc2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
            // A C1 control in UTF-8.
            appendEscaped(out, static_cast<unsigned char>(text[++i]));
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string quotedText(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return visibleText(text);
    }
    // Cut at a character boundary, not inside a UTF-8 sequence.
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xc0) == 0x80) {
        --cut;
    }
    return visibleText(text.substr(0, cut)) + "...";
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
