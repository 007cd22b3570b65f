#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <functional>
#include <ostream>
#include <string>

namespace zelkor {

// A report object as zelkor-cli writes it: two spaces a level, readable and still one
// object to parse, bytes that are not UTF-8 replaced so that the output stays valid JSON,
// and a line end.
inline std::string jsonText(const nlohmann::ordered_json& object) {
    return object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

// Writes object as jsonText does, with its top-level array key (left empty in object)
// holding element(0) to element(count - 1), made and written one at a time so that a
// report of many rows is never held whole. Stops early once out has failed.
inline void writeJsonStreaming(std::ostream& out, const nlohmann::ordered_json& object,
                               const std::string& key, std::size_t count,
                               const std::function<nlohmann::ordered_json(std::size_t)>& element) {
    const std::string text = jsonText(object);
    // Strings hold no raw line end, so only the member itself can match.
    const std::string member = "\n  " + nlohmann::ordered_json(key).dump() + ": ";
    const std::size_t at = text.find(member + "[]");
    out << text.substr(0, at + member.size());
    if (count == 0) {
        out << "[]";
    } else {
        out << "[\n";
        for (std::size_t index = 0; index < count && out; ++index) {
            const std::string item =
                nlohmann::ordered_json(element(index))
                    .dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
            out << (index == 0 ? "    " : ",\n    ");
            std::size_t from = 0;
            for (std::size_t end = item.find('\n'); end != std::string::npos;
                 end = item.find('\n', from)) {
                out << std::string_view(item).substr(from, end + 1 - from) << "    ";
                from = end + 1;
            }
            out << std::string_view(item).substr(from);
        }
        out << "\n  ]";
    }
    out << std::string_view(text).substr(at + member.size() + 2);
}

} // namespace zelkor
