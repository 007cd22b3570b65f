#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace zelkor {

// A report object as zelkor-cli writes it: two spaces a level, readable and still one
// object to parse, bytes that are not UTF-8 replaced so that the output stays valid JSON,
// and a line end.
inline std::string jsonText(const nlohmann::ordered_json& object) {
    return object.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

} // namespace zelkor
