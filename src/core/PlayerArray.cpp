#include "core/PlayerArray.h"

#include "core/Errors.h"

namespace zelkor {

void throwSubscriptError(const char* what, int index, int last) {
    throw SubscriptError(std::string("Subscript out of range: ") + what + " index " +
                         std::to_string(index) + " is outside 0 to " + std::to_string(last));
}

} // namespace zelkor
