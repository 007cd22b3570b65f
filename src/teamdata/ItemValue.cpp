#include "teamdata/ItemValue.h"

#include "core/DisplayText.h"
#include "core/Errors.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace zelkor {

namespace {

// Larger decimal exponents than this are all alike: far beyond the range of a Single, and
// beyond the number of digits any item can hold, so a capped exponent still tells whether
// the number is at least 1. Small enough that exponent * 10 + 9 cannot overflow.
constexpr long long ExponentCap = 1'000'000'000'000'000;

// The leading decimal number of text (sign, digits, fraction, exponent), without a '+'
// that from_chars refuses; empty when text does not start with a number.
struct LeadingNumber {
    std::string_view text;
    bool negative = false;
    std::string_view wholeDigits;
    std::string_view fractionDigits;
    long long exponent = 0;
};

std::size_t countDigits(std::string_view text, std::size_t from) {
    std::size_t end = from;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    return end - from;
}

LeadingNumber leadingNumber(std::string_view text) {
    LeadingNumber number;
    std::size_t position = 0;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        number.negative = text[position] == '-';
        ++position;
    }
    const std::size_t start = number.negative ? 0 : position;
    number.wholeDigits = text.substr(position, countDigits(text, position));
    position += number.wholeDigits.size();
    if (position < text.size() && text[position] == '.') {
        number.fractionDigits = text.substr(position + 1, countDigits(text, position + 1));
        position += 1 + number.fractionDigits.size();
    }
    if (number.wholeDigits.empty() && number.fractionDigits.empty()) {
        return {};
    }
    // An exponent counts only when at least one digit follows the 'e' and its sign.
    if (position < text.size() && (text[position] == 'e' || text[position] == 'E')) {
        std::size_t digitsAt = position + 1;
        const bool negativeExponent = digitsAt < text.size() && text[digitsAt] == '-';
        if (digitsAt < text.size() && (text[digitsAt] == '+' || text[digitsAt] == '-')) {
            ++digitsAt;
        }
        const std::size_t exponentDigits = countDigits(text, digitsAt);
        if (exponentDigits > 0) {
            for (const char digit : text.substr(digitsAt, exponentDigits)) {
                number.exponent = std::min(number.exponent * 10 + (digit - '0'), ExponentCap);
            }
            if (negativeExponent) {
                number.exponent = -number.exponent;
            }
            position = digitsAt + exponentDigits;
        }
    }
    number.text = text.substr(start, position - start);
    return number;
}

// Whether a number that from_chars found out of range is at least 1 in magnitude (an
// overflow) rather than below the smallest Single (an underflow to 0). Out-of-range
// numbers are never near 1, so the position of the first non-zero digit decides.
bool isAtLeastOne(const LeadingNumber& number) {
    const auto firstWhole = number.wholeDigits.find_first_not_of('0');
    if (firstWhole != std::string_view::npos) {
        const auto wholeOrder = static_cast<long long>(number.wholeDigits.size() - firstWhole);
        return wholeOrder - 1 + number.exponent >= 0;
    }
    const auto firstFraction = number.fractionDigits.find_first_not_of('0');
    if (firstFraction == std::string_view::npos) {
        return false;
    }
    return -static_cast<long long>(firstFraction) - 1 + number.exponent >= 0;
}

} // namespace

ItemNumber itemNumber(std::string_view item) {
    std::string compact;
    compact.reserve(item.size());
    for (const char c : item) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact.push_back(c);
        }
    }
    const LeadingNumber number = leadingNumber(compact);
    if (number.text.empty()) {
        return {};
    }
    const std::size_t taken = number.text.size() + (number.text.data() - compact.data());
    ItemNumber read{0, taken == compact.size() ? NumberForm::Whole : NumberForm::Leading, {}};
    const auto result =
        std::from_chars(number.text.data(), number.text.data() + number.text.size(), read.value);
    if (result.ec == std::errc::result_out_of_range) {
        read.value = number.negative ? -0.0F : 0.0F;
        if (isAtLeastOne(number)) {
            read.overflow = "the number '" + quotedText(number.text) +
                            "' is too large for a single-precision value (at most about 3.4E+38).";
        }
    }
    return read;
}

Single itemValue(std::string_view item) {
    return itemValue(item, {});
}

Single itemValue(std::string_view item, const std::string& where) {
    ItemNumber number = itemNumber(item);
    if (!number.overflow.empty()) {
        throw OverflowError(where.empty() ? "Overflow: " + number.overflow
                                          : where + ": " + number.overflow);
    }
    return number.value;
}

} // namespace zelkor
