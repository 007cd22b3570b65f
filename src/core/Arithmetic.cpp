#include "core/Arithmetic.h"

#include "core/Errors.h"

#include <cmath>
#include <limits>
#include <string>

namespace zelkor {

namespace {

[[noreturn]] void throwIntegerOverflow(long long value) {
    throw OverflowError("Overflow: " + std::to_string(value) +
                        " does not fit in a 16-bit integer (-32768 to 32767)");
}

// A sum formed wide enough that no int operand can overflow it before the range check.
Integer checkedSum(long long sum) {
    if (sum < std::numeric_limits<std::int16_t>::min() ||
        sum > std::numeric_limits<std::int16_t>::max()) {
        throwIntegerOverflow(sum);
    }
    return Integer(static_cast<int>(sum));
}

} // namespace

Integer::Integer(int value) {
    if (value < std::numeric_limits<std::int16_t>::min() ||
        value > std::numeric_limits<std::int16_t>::max()) {
        throwIntegerOverflow(value);
    }
    value_ = static_cast<std::int16_t>(value);
}

Integer Integer::fromReal(double value) {
    // nearbyint rounds in the current mode, which is round-to-nearest-even unless a
    // caller changed it; the engine never does.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min() &&
          rounded <= std::numeric_limits<std::int16_t>::max())) {
        if (std::isnan(value)) {
            throw OverflowError("Overflow: an invalid number cannot be stored in an integer");
        }
        throw OverflowError("Overflow: " + std::to_string(value) +
                            " does not fit in a 16-bit integer (-32768 to 32767)");
    }
    return Integer(static_cast<int>(rounded));
}

Integer& Integer::operator+=(int amount) {
    return *this = checkedSum(static_cast<long long>(value_) + amount);
}

Integer& Integer::operator-=(int amount) {
    return *this = checkedSum(static_cast<long long>(value_) - amount);
}

Integer& Integer::operator++() {
    return *this += 1;
}

Integer& Integer::operator--() {
    return *this -= 1;
}

Single toSingle(double value, const char* step) {
    if (std::isnan(value)) {
        throw ArithmeticError(std::string("Invalid operation in ") + step);
    }
    // The smallest magnitude that rounds to infinity in single precision.
    constexpr double singleOverflowLimit = 0x1.ffffffp+127;
    if (std::fabs(value) >= singleOverflowLimit) {
        throw OverflowError(std::string("Overflow in ") + step +
                            ": the result is too large for a single-precision number");
    }
    return static_cast<Single>(value);
}

double checkedDivide(double numerator, double denominator, const char* step) {
    if (denominator == 0.0) {
        if (numerator == 0.0 || std::isnan(numerator)) {
            throw ArithmeticError(std::string("Invalid operation in ") + step + ": 0 / 0");
        }
        throw ArithmeticError(std::string("Division by zero in ") + step);
    }
    const double quotient = numerator / denominator;
    if (std::isnan(quotient)) {
        throw ArithmeticError(std::string("Invalid operation in ") + step);
    }
    if (std::isinf(quotient)) {
        throw OverflowError(std::string("Overflow in ") + step);
    }
    return quotient;
}

} // namespace zelkor
