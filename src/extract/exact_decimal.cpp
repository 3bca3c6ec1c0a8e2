// Integer quotients rounded half away from zero, and scaled integers as decimal text.
#include "extract/exact_decimal.hpp"

#include <cstring>

namespace corvane::extract {

std::int64_t rounded_quotient(std::int64_t numerator, std::int64_t denominator) {
    const bool negative = numerator < 0;
    const std::int64_t magnitude = negative ? -numerator : numerator;
    const std::int64_t rounded = (2 * magnitude + denominator) / (2 * denominator);
    return negative ? -rounded : rounded;
}

std::string decimal_text(std::int64_t scaled, int decimals) {
    char text[max_decimal_length];
    return std::string(text, put_decimal(text, scaled, decimals));
}

// The digits are made from the right, zeros in front until there is one before the point.
char* put_decimal(char* at, std::int64_t scaled, int decimals) {
    if (scaled < 0) *at++ = '-';
    std::uint64_t magnitude = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    char digits[max_decimal_length];
    char* const end = digits + sizeof digits;
    char* first = end;
    do {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0 || end - first <= decimals);
    const auto whole = static_cast<std::size_t>(end - first - decimals);
    std::memcpy(at, first, whole);
    at += whole;
    if (decimals > 0) {
        *at++ = '.';
        std::memcpy(at, first + whole, static_cast<std::size_t>(decimals));
        at += decimals;
    }
    return at;
}

std::int64_t power_of_ten(int exponent) {
    std::int64_t p = 1;
    for (int i = 0; i < exponent; ++i) p *= 10;
    return p;
}

}  // namespace corvane::extract
