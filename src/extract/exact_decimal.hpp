// Decimals from scaled integers: the file's values are integers in units of 10^-d, and the
// derived series (means, sums, anomalies) are quotients of such integers. Computing them as
// integer quotients rounded half away from zero, and printing the integer with its point
// put in by hand, gives the decimal a person computes on paper, never binary noise.
#pragma once

#include <cstddef>
#include <cstdint>
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

// 10^exponent, for 0 <= exponent <= 18.
std::int64_t power_of_ten(int exponent);

}  // namespace corvane::extract
