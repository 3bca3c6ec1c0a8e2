// Integer quotients rounded half away from zero, and scaled integers as decimal text.
#include "extract/exact_decimal.hpp"

#include <algorithm>
#include <array>
#include <bit>
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

namespace {

char* put_pair_before(char* first, std::uint64_t two_digits) {
    first -= 2;
    std::memcpy(first, &digit_pairs[static_cast<std::size_t>(2 * two_digits)], 2);
    return first;
}

constexpr auto powers_of_ten = [] {
    std::array<std::uint64_t, 20> powers{};
    std::uint64_t p = 1;
    for (std::uint64_t& power : powers) {
        power = p;
        p *= 10;
    }
    return powers;
}();

// How many digits `magnitude` has (at least one): its binary length gives the count or one
// less (1233 / 4096 is just above log10 2), and one comparison tells which.
int digit_count(std::uint64_t magnitude) {
    const int low = (std::bit_width(magnitude) * 1233) >> 12;
    return std::max(1, low + (magnitude >= powers_of_ten[static_cast<std::size_t>(low)] ? 1 : 0));
}

}  // namespace

// Made from the right, two digits at a time where it can (the divisions are
// multiplications), straight in its place: the values tables write one for every value,
// and a copy from a buffer of its own would read the digits back while they are still
// being stored.
char* put_decimal(char* at, std::int64_t scaled, int decimals) {
    if (scaled < 0) *at++ = '-';
    std::uint64_t magnitude = scaled < 0 ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    const int digits = std::max(digit_count(magnitude), decimals + 1);
    char* const end = at + digits + (decimals > 0 ? 1 : 0);
    char* first = end;
    int fraction = decimals;
    for (; fraction >= 2; fraction -= 2, magnitude /= 100) first = put_pair_before(first, magnitude % 100);
    if (fraction == 1) {
        *--first = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    if (decimals > 0) *--first = '.';
    for (; magnitude >= 100; magnitude /= 100) first = put_pair_before(first, magnitude % 100);
    if (magnitude >= 10) put_pair_before(first, magnitude);
    else *--first = static_cast<char>('0' + magnitude);
    return end;
}

std::int64_t power_of_ten(int exponent) {
    std::int64_t p = 1;
    for (int i = 0; i < exponent; ++i) p *= 10;
    return p;
}

}  // namespace corvane::extract
