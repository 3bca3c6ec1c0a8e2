// Conversion between binary numbers and their decimal (or base 2, 8, 16) text.
// All work is done in fixed buffers; nothing here allocates.
#pragma once

#include <cstdint>
#include <string_view>

namespace corvane::fmtio {

// Decimal digits of a real: the value is 0.d1d2d3... x 10^integer_digits.
struct DigitString {
    static constexpr int capacity = 40;       // 20 for 4- and 8-byte reals, 34 used for 16-byte
    enum class Special : std::uint8_t { none, infinity, nan };

    char digits[capacity];                     // '0'..'9'; digits past the generated ones are '0'
    int count = 0;                             // digits filled (20, or 34 for 16-byte reals)
    int integer_digits = 0;                    // decimal exponent: count of digits before the point
    bool negative = false;                     // sign bit of the value (set for -0.0 too)
    Special special = Special::none;           // INF / NaN: digits are not meaningful
};

enum class RealForm { fixed, floating };

// Binary to decimal. `digits_asked` counts from the point for the fixed form (F) and from
// the first significant digit for the floating form (E, D, G). Rounding is on the digit
// string, half away from zero, as the run-time prints.
DigitString real_to_digits(float value, int digits_asked, RealForm form);
DigitString real_to_digits(double value, int digits_asked, RealForm form);
DigitString real_to_digits(__float128 value, int digits_asked, RealForm form);

// Decimal to binary, on a field already checked by input editing: optional blanks, sign,
// digits with an optional point, an optional exponent (E or D, either case, sign, digits),
// or a word starting with I (infinity) or N (NaN). `implied_exponent` is added to the
// exponent (the caller passes minus the scale factor, and minus d for an implied point).
float digits_to_real4(std::string_view text, int implied_exponent);
double digits_to_real8(std::string_view text, int implied_exponent);
__float128 digits_to_real16(std::string_view text, int implied_exponent);

// Integers to text: a minus sign for negative values (base 10 only; other bases take the
// value's bits as unsigned), then at least `min_digits` digits. A value 0 with minimum 0
// gives an empty text. Letters of base 16 are lower case unless `upper_hex`.
// Returns the number of characters written to `out`, which must hold 66 characters.
int integer_to_text(std::int64_t value, int size_bytes, int base, int min_digits, bool upper_hex,
                    char* out);

namespace detail {

// 10^n for n >= 0 by binary powering, each product rounded to Real: exact as long as the
// powers are representable (to 10^22 in double precision). Shared by both directions so
// that output and input scale with the same powers.
template <typename Real>
Real power_of_ten(int n) {
    Real result = 1;
    Real square = 10;
    while (n > 0) {
        if ((n & 1) != 0) result *= square;
        n >>= 1;
        if (n > 0) square *= square;  // not past the last bit: 10^(2^k) may overflow
    }
    return result;
}

}  // namespace detail

}  // namespace corvane::fmtio
