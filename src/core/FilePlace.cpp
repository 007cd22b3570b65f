#include "core/FilePlace.h"

namespace zelkor {

std::string shownFileLabel(std::string_view kind, std::string_view shownName) {
    return std::string(kind) + " file '" + std::string(shownName) + "'";
}

std::string filePlace(std::string_view label, int line, std::string_view field) {
    std::string place = std::string(label) + ", line " + std::to_string(line);
    if (!field.empty()) {
        place += ", " + std::string(field);
    }
    return place + ": ";
}

} // namespace zelkor
