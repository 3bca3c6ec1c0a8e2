// Derived decimals: integer quotients rounded half away from zero, and their text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "extract/exact_decimal.hpp"

namespace corvane::extract {
namespace {

TEST(ExactDecimal, QuotientsRoundHalfAwayFromZero) {
    struct Case { std::int64_t numerator, denominator, rounded; };
    const Case cases[] = {
        {5, 2, 3},     {-5, 2, -3},   {7, 2, 4},     {-7, 2, -4}, {4, 3, 1},   {5, 3, 2},
        {-4, 3, -1},   {-5, 3, -2},   {0, 7, 0},     {1, 3, 0},   {-1, 3, 0},  {28050, 2, 14025},
        {-28050, 2, -14025}, {123456789012, 12, 10288065751},
    };
    for (const Case& c : cases) EXPECT_EQ(rounded_quotient(c.numerator, c.denominator), c.rounded) << c.numerator << '/' << c.denominator;
}

TEST(ExactDecimal, ScaledIntegersPrintWithTheirPoint) {
    struct Case { std::int64_t scaled; int decimals; const char* text; };
    const Case cases[] = {
        {1234, 2, "12.34"}, {-5, 2, "-0.05"}, {5, 3, "0.005"},   {0, 2, "0.00"},  {-1234, 1, "-123.4"},
        {14025, 3, "14.025"}, {7, 0, "7"},    {-100, 2, "-1.00"}, {99, 2, "0.99"},
        {5, 18, "0.000000000000000005"}, {INT64_MAX, 0, "9223372036854775807"},
        {INT64_MIN, 2, "-92233720368547758.08"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decimal_text(c.scaled, c.decimals), c.text) << c.scaled;
        char row[max_decimal_length + 2] = "x";  // put_decimal writes at a place in a row
        EXPECT_EQ(std::string(row, put_decimal(row + 1, c.scaled, c.decimals)), std::string("x") + c.text);
    }
    // Hundredths take a way of their own: it must agree with the general one everywhere,
    // its edges (five digits) and past them included.
    for (const std::int64_t scaled : {0L, 5L, -5L, 99L, 100L, -100L, 999L, 1000L, 9999L, -9999L, 10000L, 99999L,
                                      -99999L, 100000L, -100000L, 123456789L, INT64_MIN, INT64_MAX}) {
        char row[max_decimal_length + 2] = "x";
        EXPECT_EQ(std::string(row, put_hundredths(row + 1, scaled)), "x" + decimal_text(scaled, 2)) << scaled;
    }
}

TEST(ExactDecimal, WholeNumbersEitherSideOfEachPowerOfTenKeepTheirDigits) {
    for (int exponent = 0; exponent <= 18; ++exponent) {
        const std::int64_t power = power_of_ten(exponent);
        for (const std::int64_t n : {power - 1, power, -power, -(power - 1)})
            EXPECT_EQ(decimal_text(n, 0), std::to_string(n));
    }
}

TEST(ExactDecimal, AMeanThatBinaryArithmeticGetsWrongComesOutExact) {
    // 14.02 and 14.03 (hundredths) average to 14.025; in doubles (14.02 + 14.03) / 2 is
    // 14.024999999999999, which rounds down.
    EXPECT_EQ(decimal_text(rounded_quotient(10 * (1402 + 1403), 2), 3), "14.025");
    EXPECT_EQ(decimal_text(rounded_quotient(10 * (-1402 - 1403), 2), 3), "-14.025");
    EXPECT_EQ(decimal_text(rounded_quotient(10 * (1 + 2 + 2), 3), 2), "0.17");  // 1.666.. tenths
}

}  // namespace
}  // namespace corvane::extract
