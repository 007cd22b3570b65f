#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace zelkor {

// A single-precision real. Intermediate values are carried in double and rounded to
// Single only when stored.
using Single = float;

namespace detail {
// The throws of the checks below, out of line so that the checks themselves stay small.
[[noreturn]] void throwIntegerOverflow(long long value);
[[noreturn]] void throwRealIntegerOverflow(double value);
[[noreturn]] void throwInvalidOperation(const char* step, const char* detail);
[[noreturn]] void throwSingleOverflow(const char* step);
[[noreturn]] void throwDivisionByZero(const char* step);
[[noreturn]] void throwQuotientOverflow(const char* step);

inline constexpr int IntegerMin = -32768;
inline constexpr int IntegerMax = 32767;
// The smallest magnitude that rounds to infinity in single precision.
inline constexpr double SingleOverflowLimit = 0x1.ffffffp+127;
} // namespace detail

// A 16-bit signed integer whose arithmetic raises OverflowError instead of wrapping.
class Integer {
public:
    constexpr Integer() = default;
    // Throws OverflowError when value is outside -32768 to 32767.
    Integer(int value) // NOLINT(google-explicit-constructor): stored like the Integer it is
        : value_(checked(value)) {}

    // A real stored into an Integer: rounded to nearest, ties to even (1.35 -> 1,
    // 2.5 -> 2, 1.5 -> 2); OverflowError when out of range or not a number.
    static Integer fromReal(double value) {
#if defined(__SSE2__)
        // One conversion in the current rounding mode, which is round-to-nearest-even
        // unless a caller changed it (the engine never does); a NaN or a value beyond the
        // 64-bit range gives the lowest 64-bit value, which the range check refuses.
        const long long rounded = _mm_cvtsd_si64(_mm_set_sd(value));
#else
        const double rounded = std::nearbyint(value);
#endif
        if (!(rounded >= detail::IntegerMin && rounded <= detail::IntegerMax)) {
            detail::throwRealIntegerOverflow(value);
        }
        return Integer(static_cast<int>(rounded));
    }

    constexpr operator int() const {
        return value_;
    } // NOLINT(google-explicit-constructor)

    Integer& operator+=(int amount) {
        return *this = checkedSum(value_ + static_cast<long long>(amount));
    }
    Integer& operator-=(int amount) {
        return *this = checkedSum(value_ - static_cast<long long>(amount));
    }
    Integer& operator++() {
        return *this += 1;
    }
    Integer& operator--() {
        return *this -= 1;
    }

private:
    static std::int16_t checked(int value) {
        if (value < detail::IntegerMin || value > detail::IntegerMax) {
            detail::throwIntegerOverflow(value);
        }
        return static_cast<std::int16_t>(value);
    }
    // A sum formed wide enough that no int operand can overflow it before the range check.
    static Integer checkedSum(long long sum) {
        if (sum < detail::IntegerMin || sum > detail::IntegerMax) {
            detail::throwIntegerOverflow(sum);
        }
        return Integer(static_cast<int>(sum));
    }

    std::int16_t value_ = 0;
};

// Rounds a double result to single precision and checks it: a NaN is an invalid
// operation, an infinity (or a finite value beyond the single range) an overflow.
// `step` names the computation for the message.
inline Single toSingle(double value, const char* step) {
    if (std::isnan(value)) {
        detail::throwInvalidOperation(step, "");
    }
    if (std::fabs(value) >= detail::SingleOverflowLimit) {
        detail::throwSingleOverflow(step);
    }
    return static_cast<Single>(value);
}

// numerator / denominator in double precision, checked: a zero denominator is a division
// by zero (0 / 0 an invalid operation), a non-finite quotient an overflow.
inline double checkedDivide(double numerator, double denominator, const char* step) {
    if (denominator == 0.0) {
        if (numerator == 0.0 || std::isnan(numerator)) {
            detail::throwInvalidOperation(step, ": 0 / 0");
        }
        detail::throwDivisionByZero(step);
    }
    const double quotient = numerator / denominator;
    if (std::isnan(quotient)) {
        detail::throwInvalidOperation(step, "");
    }
    if (std::isinf(quotient)) {
        detail::throwQuotientOverflow(step);
    }
    return quotient;
}

} // namespace zelkor
