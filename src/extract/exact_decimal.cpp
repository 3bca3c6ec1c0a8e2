// Integer quotients rounded half away from zero, and scaled integers as decimal text.
#include "extract/exact_decimal.hpp"

namespace corvane::extract {

std::int64_t rounded_quotient(std::int64_t numerator, std::int64_t denominator) {
    const bool negative = numerator < 0;
    const std::int64_t magnitude = negative ? -numerator : numerator;
    const std::int64_t rounded = (2 * magnitude + denominator) / (2 * denominator);
    return negative ? -rounded : rounded;
}

std::string decimal_text(std::int64_t scaled, int decimals) {
    const bool negative = scaled < 0;
    std::string digits = std::to_string(negative ? -scaled : scaled);
    if (decimals > 0) {
        if (digits.size() <= static_cast<std::size_t>(decimals)) {
            digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
        }
        digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, '.');
    }
    return negative ? '-' + digits : digits;
}

std::int64_t power_of_ten(int exponent) {
    std::int64_t p = 1;
    for (int i = 0; i < exponent; ++i) p *= 10;
    return p;
}

}  // namespace corvane::extract
