#pragma once

#include <cstdint>

namespace zelkor {

// A single-precision real. Intermediate values are carried in double and rounded to
// Single only when stored.
using Single = float;

// A 16-bit signed integer whose arithmetic raises OverflowError instead of wrapping.
class Integer {
public:
    constexpr Integer() = default;
    // Throws OverflowError when value is outside -32768 to 32767.
    Integer(int value); // NOLINT(google-explicit-constructor): stored like the Integer it is

    // A real stored into an Integer: rounded to nearest, ties to even (1.35 -> 1,
    // 2.5 -> 2, 1.5 -> 2); OverflowError when out of range or not a number.
    static Integer fromReal(double value);

    constexpr operator int() const { return value_; } // NOLINT(google-explicit-constructor)

    Integer& operator+=(int amount);
    Integer& operator-=(int amount);
    Integer& operator++();
    Integer& operator--();

private:
    std::int16_t value_ = 0;
};

// Rounds a double result to single precision and checks it: a NaN is an invalid
// operation, an infinity (or a finite value beyond the single range) an overflow.
// `step` names the computation for the message.
Single toSingle(double value, const char* step);

// numerator / denominator in double precision, checked: a zero denominator is a division
// by zero (0 / 0 an invalid operation), a non-finite quotient an overflow.
double checkedDivide(double numerator, double denominator, const char* step);

} // namespace zelkor
