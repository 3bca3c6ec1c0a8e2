#include "fmtio/numeric_conversion.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace corvane::fmtio {
namespace {

// Checks the digit string: `leading` followed by zeros over the whole string.
template <typename Real>
void expect_digits(Real value, int asked, RealForm form, const std::string& leading,
                   int integer_digits, int count = 20) {
    const DigitString d = real_to_digits(value, asked, form);
    SCOPED_TRACE(leading);
    EXPECT_EQ(d.special, DigitString::Special::none);
    EXPECT_EQ(d.count, count);
    EXPECT_EQ(std::string(d.digits, d.count), leading + std::string(count - leading.size(), '0'));
    EXPECT_EQ(d.integer_digits, integer_digits);
}

constexpr RealForm F = RealForm::fixed;
constexpr RealForm E = RealForm::floating;

TEST(RealToDigits, FourByteValuesRoundTheDigitsOfTheirStoredValue) {
    expect_digits(24.5f, 20, E, "245", 2);
    expect_digits(12.345f, 2, F, "1235", 2);   // stored 12.3450002...
    expect_digits(9.995f, 2, F, "999", 1);     // stored 9.99499988...
    expect_digits(99.995f, 2, F, "1", 3);      // stored 99.9950027...: 100.00
    expect_digits(10.125f, 2, F, "1012", 2);   // 10.125 / 10 is 1.01249999... in double
    // Past the 8 digits generated the 8th rounds the first 7 and is kept when below 5:
    // 1.2345678f is 1.23456776... (8th digit 7); FLT_MAX is 3.40282346...e38 (8th digit 4).
    expect_digits(1.2345678f, 20, E, "1234568", 1);
    expect_digits(std::numeric_limits<float>::max(), 8, E, "34028234", 39);
    expect_digits(std::numeric_limits<float>::max(), 7, E, "3402823", 39);
}

TEST(RealToDigits, FixedFormRoundsHalfAwayFromZeroOnTheDigitString) {
    expect_digits(0.125, 2, F, "13", 0);
    expect_digits(9.999, 2, F, "1", 2);       // carry through the nines: 10.00
    expect_digits(1234.5, 2, F, "12345", 4);  // the field width is not checked here
    // Values below the precision asked: 0.006 scales to 6.0 with -2 integer digits, so no
    // digit is kept and the first one rounds: 0.01 = 0.1 x 10^-1.
    expect_digits(0.006, 2, F, "1", -1);
    expect_digits(0.004, 2, F, "", 0);
    expect_digits(0.5, 0, F, "1", 1);
    expect_digits(0.0004, 2, F, "", 0);       // a zero ahead of the first digit rounds
    expect_digits(0.0004, 4, F, "4", -3);
    expect_digits(0.0005, 3, F, "1", -2);
    expect_digits(-0.004, 2, F, "", 0);
    EXPECT_TRUE(real_to_digits(-0.004, 2, F).negative);  // the caller prints -0.00
}

TEST(RealToDigits, EightByteValuesShowSixteenSignificantDigits) {
    // 2.45 in double is 2.4500000000000001776...: the 17th digit 1 is shown as 0.
    expect_digits(24.5, 20, E, "245", 2);
    // 0.1 + 0.2 is 0.3000000000000000444...: 17th digit 4, shown as 0.
    expect_digits(0.1 + 0.2, 17, E, "3", 0);
    // 1.2345678901234566904...: the 17th digit 6 rounds the 16 before it.
    expect_digits(1.2345678901234567, 20, E, "1234567890123457", 1);
    // 10^307 by binary powering is 1.0000000000000005e307 (not the nearest double), so 1e308
    // scales to 9.99999999999999467...: 15 digits keep the nines, 17 round at the 6.
    expect_digits(1e308, 15, E, "999999999999999", 308);
    expect_digits(1e308, 17, E, "9999999999999995", 308);
    expect_digits(std::numeric_limits<double>::denorm_min(), 5, E, "49407", -323);  // 4.94065e-324
}

TEST(RealToDigits, SixteenByteValuesUseThirtyFourDigits) {
    const __float128 third = __float128{1} / 3;  // 0.3333...(34 threes)0765...
    expect_digits(third, 40, E, std::string(34, '3'), 0, 34);
    expect_digits(third, 33, E, std::string(33, '3'), 0, 34);
    expect_digits(__float128{24.5}, 2, F, "245", 2, 34);
    expect_digits(__float128{0.125}, 2, F, "13", 0, 34);
    const auto from_bits = [](unsigned __int128 bits) { return std::bit_cast<__float128>(bits); };
    const unsigned __int128 one = 1;
    expect_digits(from_bits(one), 5, E, "64752", -4965, 34);  // 6.4751751...e-4966
    expect_digits(from_bits(one << 112), 5, E, "33621", -4931, 34);  // 3.3621031...e-4932
    expect_digits(from_bits((one << 127) - (one << 112) - 1), 5, E, "11897", 4933, 34);
}

TEST(RealToDigits, SignsZerosAndSpecialValues) {
    expect_digits(0.0, 5, F, "", 0);
    expect_digits(__float128{0}, 5, F, "", 0, 34);
    EXPECT_FALSE(real_to_digits(0.0f, 2, F).negative);
    EXPECT_TRUE(real_to_digits(-0.0, 2, F).negative);
    using Special = DigitString::Special;
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_TRUE(real_to_digits(-inf, 2, F).negative);
    EXPECT_EQ(real_to_digits(-inf, 2, F).special, Special::infinity);
    EXPECT_EQ(real_to_digits(static_cast<float>(inf), 2, F).special, Special::infinity);
    EXPECT_EQ(real_to_digits(static_cast<__float128>(inf), 2, F).special, Special::infinity);
    EXPECT_EQ(real_to_digits(std::nanf(""), 2, F).special, Special::nan);
    EXPECT_EQ(real_to_digits(std::nan(""), 2, E).special, Special::nan);
    EXPECT_EQ(real_to_digits(static_cast<__float128>(std::nan("")), 2, F).special, Special::nan);
}

TEST(DigitsToReal, MantissaPointAndImpliedExponent) {
    EXPECT_EQ(digits_to_real4("24.50", 0), 24.5f);
    EXPECT_EQ(digits_to_real4("2450", -2), 24.5f);
    EXPECT_EQ(digits_to_real4("24", -2), 0.24f);  // 24 / 100 = 0.24 in double, then nearest
    EXPECT_EQ(digits_to_real4("  -116.5", 0), -116.5f);
    EXPECT_EQ(digits_to_real4("-11650", -2), -116.5f);
    EXPECT_EQ(digits_to_real8("", 0), 0.0);
    EXPECT_EQ(digits_to_real8("0.000125", 0), 0.000125);  // 125 / 10^6, one rounding
    EXPECT_TRUE(std::signbit(digits_to_real4("-0", 0)));
    // Exponents: E or D in either case, or a sign alone; Q is not an exponent letter here.
    for (const char* text : {"1.5e3", "1.5E+3", "1.5D3", "1.5d+03", "15e2", "1.5+3", ".0015e6"}) {
        EXPECT_EQ(digits_to_real8(text, 0), 1500.0) << text;
    }
    EXPECT_EQ(digits_to_real8("1.5q3", 0), 1.5);
}

TEST(DigitsToReal, AccumulatorLimitsAndTruncation) {
    // 2^53 + 3 truncates to 2^53 + 2 (rounding would give the even 2^53 + 4).
    EXPECT_EQ(digits_to_real8("9007199254740995", 0), 9007199254740994.0);
    // 19 nines fill the accumulator; later integer digits only raise the exponent.
    const double nines = digits_to_real8("99999999999999999999999", 0);
    EXPECT_EQ(nines, digits_to_real8("99999999999999999990000", 0));
    EXPECT_NEAR(nines / 1e23, 1.0, 1e-15);
    // After 1844674408000000000 a tenth step would pass 2^64: the last digit counts as not
    // fitting instead of wrapping.
    EXPECT_NEAR(digits_to_real8("18446744080000000000", 0) / 1.844674408e19, 1.0, 1e-15);
    // Fraction digits beyond the 20 taken (...67899) are dropped without moving the exponent.
    EXPECT_EQ(digits_to_real8("0.12345678901234567899", 0),
              digits_to_real8("0.123456789012345678999999", 0));
    // 19 nines truncated to 53 bits are 9999999999999997952; over 10^19 (exact) that is
    // nearest to 1 - 2^-52, not to 1.
    EXPECT_EQ(digits_to_real8("0.99999999999999999999999999", 0), 1.0 - 0x1p-52);
}

TEST(DigitsToReal, ExtremeExponentsAndSpecialWords) {
    // 10^-13 then 10^-307: 1e-320 is 2024.02 units of the smallest subnormal, far from a tie.
    EXPECT_EQ(digits_to_real8("1e-320", 0), 1e-320);
    EXPECT_NEAR(digits_to_real8("1e308", 0) / 1e308, 1.0, 1e-15);
    EXPECT_EQ(digits_to_real8("1e309", 0), std::numeric_limits<double>::infinity());
    EXPECT_EQ(digits_to_real8("-1e400", 0), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(digits_to_real8("1e-400", 0), 0.0);
    EXPECT_EQ(digits_to_real8("0e99999999999", 0), 0.0);
    EXPECT_EQ(digits_to_real4("1e39", 0), std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isinf(digits_to_real4("Infinity", 0)));
    EXPECT_TRUE(std::signbit(digits_to_real8("-inf", 0)));
    EXPECT_TRUE(std::isnan(digits_to_real4("NaN", 0)) && std::isnan(digits_to_real8("nan", 0)));
}

TEST(DigitsToReal, SixteenByteReals) {
    EXPECT_TRUE(digits_to_real16("24.50", 0) == __float128{24.5});
    EXPECT_TRUE(digits_to_real16("-2450", -2) == __float128{-24.5});
    EXPECT_TRUE(digits_to_real16("0.1", 0) == __float128{1} / 10);  // one rounded division
    // 33 digits fit the 113-bit significand exactly.
    const __float128 exact = digits_to_real16("123456789012345678901234567890123", 0);
    EXPECT_TRUE(exact == 123456789012345678901234567890123.0Q);
    EXPECT_TRUE(std::signbit(static_cast<double>(digits_to_real16("-0", 0))));
    EXPECT_TRUE(std::isinf(static_cast<double>(digits_to_real16("1e5000", 0))));
    // Subnormal (below 2^-16382 = 3.36e-4932), reached through the -4931 guard.
    const __float128 tiny = digits_to_real16("1e-4940", 0);
    const __float128 ratio = tiny * 1e4900Q * 1e40Q;
    EXPECT_TRUE(tiny < 1e-4931Q && ratio > 0.999Q && ratio < 1.001Q);
    EXPECT_TRUE(std::isnan(static_cast<double>(digits_to_real16("N", 0))));
}

std::string text_of(std::int64_t value, int size, int base, int min_digits, bool upper = false) {
    char out[66];
    return std::string(out, integer_to_text(value, size, base, min_digits, upper, out));
}

TEST(IntegerToText, DecimalSignAndMinimumDigits) {
    EXPECT_EQ(text_of(0, 4, 10, 0), "");
    EXPECT_EQ(text_of(0, 4, 10, 1), "0");
    EXPECT_EQ(text_of(42, 4, 10, 5), "00042");
    EXPECT_EQ(text_of(-42, 4, 10, 5), "-00042");
    EXPECT_EQ(text_of(INT32_MIN, 4, 10, 1), "-2147483648");
    EXPECT_EQ(text_of(INT64_MIN, 8, 10, 1), "-9223372036854775808");
    EXPECT_EQ(text_of(-128, 1, 10, 1), "-128");
}

// Every digit count and its edges, both signs, for each item size: the digits come in
// pairs, so a count that is odd or even, or a pair with a leading zero, must not be lost.
TEST(IntegerToText, DecimalDigitsAtEveryLength) {
    for (int size : {1, 2, 4, 8}) {
        const std::int64_t limit = size == 8 ? INT64_MAX : (std::int64_t{1} << (8 * size - 1)) - 1;
        std::vector<std::int64_t> values{0, 1, 7, limit, -limit - 1};
        for (std::int64_t p = 10; p > 0 && p <= limit; p = p <= INT64_MAX / 10 ? p * 10 : -1) {
            for (std::int64_t v : {p - 1, p, p + 1, p + 5, 2 * p - 1}) {
                if (v <= limit) values.insert(values.end(), {v, -v});
            }
        }
        for (std::int64_t v : values) {
            char expected[24];
            const auto end = std::to_chars(expected, expected + sizeof expected, v).ptr;
            EXPECT_EQ(text_of(v, size, 10, 1), std::string(expected, end)) << v << " in " << size << " bytes";
        }
    }
}

TEST(IntegerToText, OtherBasesWriteTheBitsOfTheItemSize) {
    EXPECT_EQ(text_of(-1, 4, 16, 1), "ffffffff");
    EXPECT_EQ(text_of(-1, 8, 16, 1), std::string(16, 'f'));
    EXPECT_EQ(text_of(0xabc, 4, 16, 6, true), "000ABC");
    EXPECT_EQ(text_of(-1, 1, 16, 1), "ff");
    EXPECT_EQ(text_of(-1, 1, 8, 1), "377");
    EXPECT_EQ(text_of(-1, 1, 2, 1), "11111111");
    EXPECT_EQ(text_of(-2, 2, 16, 1), "fffe");
    EXPECT_EQ(text_of(-1, 4, 8, 1), "37777777777");
    EXPECT_EQ(text_of(-1, 8, 8, 1), std::string("1").append(21, '7'));
    EXPECT_EQ(text_of(-1, 8, 2, 1), std::string(64, '1'));
    EXPECT_EQ(text_of(5, 4, 2, 8), "00000101");
    EXPECT_EQ(text_of(0, 2, 16, 0), "");
}

}  // namespace
}  // namespace corvane::fmtio
