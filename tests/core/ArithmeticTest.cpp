#include "core/Arithmetic.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zelkor {
namespace {

TEST(Integer, RealsRoundToNearestWithTiesToEven) {
    const struct {
        double real;
        int stored;
    } cases[] = {
        {1.35, 1},
        {1.2, 1},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {0.5, 0},
        {-0.5, 0},
        {-1.5, -2},
        {2.49, 2},
        {137.5, 138},
        {32767.4, 32767},
        {-32768.4, -32768},
        {0.49999999999999994, 0},
        {2.5000000000000004, 3},
        {-2.5, -2},
        {-32768.5, -32768},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Integer::fromReal(c.real), c.stored) << c.real;
    }
}

TEST(Integer, RealsOutsideTheRangeOverflow) {
    for (double real :
         {32767.5, -32768.6, 1e9, 1e19, -1e300, std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_THROW(Integer::fromReal(real), OverflowError) << real;
    }
}

TEST(Integer, ArithmeticOverflowsInsteadOfWrapping) {
    Integer top = 32766;
    ++top;
    EXPECT_EQ(top, 32767);
    EXPECT_THROW(++top, OverflowError);
    EXPECT_EQ(top, 32767) << "a failed addition leaves the value unchanged";

    Integer bottom = -32767;
    bottom -= 1;
    EXPECT_THROW(--bottom, OverflowError);
    EXPECT_THROW(Integer(40000), OverflowError);
    Integer any = 5;
    EXPECT_THROW(any += std::numeric_limits<int>::max(), OverflowError);
    EXPECT_THROW(any -= std::numeric_limits<int>::min(), OverflowError);
    EXPECT_THROW(Integer(-32769), OverflowError);
}

TEST(Arithmetic, ToSingleRoundsOnceAndChecksTheRange) {
    EXPECT_EQ(toSingle(0.1, "test"), 0.1f);
    EXPECT_EQ(toSingle(3.4028235e38, "test"), std::numeric_limits<float>::max());
    // Beyond half an ulp above the largest single, the rounding would give infinity.
    EXPECT_THROW(toSingle(3.4028236e38, "test"), OverflowError);
    // Exactly half an ulp above it, the tie rounds to infinity; just below, to the largest.
    constexpr double halfUlpAbove = 0x1.ffffffp+127;
    EXPECT_THROW(toSingle(halfUlpAbove, "test"), OverflowError);
    EXPECT_THROW(toSingle(-halfUlpAbove, "test"), OverflowError);
    EXPECT_EQ(toSingle(std::nextafter(halfUlpAbove, 0.0), "test"),
              std::numeric_limits<float>::max());
    EXPECT_THROW(toSingle(-1e300, "test"), OverflowError);
    EXPECT_THROW(toSingle(std::numeric_limits<double>::quiet_NaN(), "test"), ArithmeticError);
}

TEST(Arithmetic, CheckedDivideReportsTheStep) {
    EXPECT_DOUBLE_EQ(checkedDivide(200, 320, "ratio"), 0.625);
    try {
        checkedDivide(1, 0, "the goalie factor");
        FAIL() << "no error";
    } catch (const ArithmeticError& error) {
        EXPECT_STREQ(error.what(), "Division by zero in the goalie factor");
    }
    EXPECT_THROW(checkedDivide(0, 0, "ratio"), ArithmeticError);
    EXPECT_THROW(checkedDivide(1e300, 1e-300, "ratio"), OverflowError);
}

} // namespace
} // namespace zelkor
