// Decimals from scaled integers: the file's values are integers in units of 10^-d, and the
// derived series (means, sums, anomalies) are quotients of such integers. Computing them as
// integer quotients rounded half away from zero, and printing the integer with its point
// put in by hand, gives the decimal a person computes on paper, never binary noise.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace corvane::extract {

// numerator / denominator (denominator > 0) rounded half away from zero to an integer.
std::int64_t rounded_quotient(std::int64_t numerator, std::int64_t denominator);

// `scaled` in units of 10^-decimals as a decimal: (1234, 2) -> "12.34", (-5, 2) -> "-0.05".
std::string decimal_text(std::int64_t scaled, int decimals);

// Room for any decimal_text with 0 <= decimals <= 18: a sign, at most 20 digits and a point.
constexpr std::size_t max_decimal_length = 24;

// decimal_text written at `at` (room for max_decimal_length characters); returns its end.
char* put_decimal(char* at, std::int64_t scaled, int decimals);

// "00" to "99": the digits of the numbers below 100, two by two.
inline constexpr auto digit_pairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// put_decimal for hundredths, the unit of the version 3 and 4 files: their values, at most
// five digits, are made with 32-bit arithmetic and no loop.
inline char* put_hundredths(char* at, std::int64_t scaled) {
    if (scaled <= -100000 || scaled >= 100000) return put_decimal(at, scaled, 2);
    if (scaled < 0) *at++ = '-';
    const auto magnitude = static_cast<std::uint32_t>(scaled < 0 ? -scaled : scaled);
    const std::uint32_t whole = magnitude / 100;
    if (whole >= 100) {
        *at++ = static_cast<char>('0' + whole / 100);
        std::memcpy(at, &digit_pairs[2 * (whole % 100)], 2);
        at += 2;
    } else if (whole >= 10) {
        std::memcpy(at, &digit_pairs[2 * whole], 2);
        at += 2;
    } else {
        *at++ = static_cast<char>('0' + whole);
    }
    *at++ = '.';
    std::memcpy(at, &digit_pairs[2 * (magnitude % 100)], 2);
    return at + 2;
}

// 10^exponent, for 0 <= exponent <= 18.
std::int64_t power_of_ten(int exponent);

}  // namespace corvane::extract
