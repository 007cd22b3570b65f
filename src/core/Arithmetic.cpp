#include "core/Arithmetic.h"

#include "core/Errors.h"

#include <array>
#include <charconv>
#include <string>

namespace zelkor::detail {

namespace {

// A real as the shortest text that reads back as it, whatever the locale.
std::string realText(double value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

} // namespace

void throwIntegerOverflow(long long value) {
    throw OverflowError("Overflow: " + std::to_string(value) +
                        " does not fit in a 16-bit integer (-32768 to 32767)");
}

void throwRealIntegerOverflow(double value) {
    if (std::isnan(value)) {
        throw OverflowError("Overflow: an invalid number cannot be stored in an integer");
    }
    throw OverflowError("Overflow: " + realText(value) +
                        " does not fit in a 16-bit integer (-32768 to 32767)");
}

void throwInvalidOperation(const char* step, const char* detail) {
    throw ArithmeticError(std::string("Invalid operation in ") + step + detail);
}

void throwSingleOverflow(const char* step) {
    throw OverflowError(std::string("Overflow in ") + step +
                        ": the result is too large for a single-precision number");
}

void throwDivisionByZero(const char* step) {
    throw ArithmeticError(std::string("Division by zero in ") + step);
}

void throwQuotientOverflow(const char* step) {
    throw OverflowError(std::string("Overflow in ") + step);
}

} // namespace zelkor::detail
