// Binary reals to decimal digit strings. The value is scaled by a power of ten into [1, 10)
// at the working precision, the digits of the scaled value are taken exactly, and rounding
// is done on the digit string, so a printed value is the rounding of those digits.
#include "fmtio/numeric_conversion.hpp"

#include <bit>
#include <cstdint>

namespace corvane::fmtio {
namespace {

using Uint128 = unsigned __int128;

// Bit layout of the binary formats the conversion works in (4-byte reals are widened to
// double before conversion).
template <typename Real>
struct BinaryFormat;

template <>
struct BinaryFormat<double> {
    using Bits = std::uint64_t;
    static constexpr int fraction_bits = 52;
    static constexpr int max_biased_exponent = 0x7ff;
    static constexpr int exponent_bias = 1023;
    static constexpr int max_power = 308;  // largest power of ten below the format's maximum
    static constexpr int string_length = 20;

    // The decimal exponent of 2^(E - 1023), from fixed-point approximations of log10 2 and
    // 1023 x log10 2 (19728 / 65536 and 20181744 / 65536).
    static int estimate_decimal_exponent(int biased_exponent) {
        return floor_divide(biased_exponent * 19728 - 20181744, 65536);
    }
    static int floor_divide(std::int64_t numerator, std::int64_t denominator) {
        std::int64_t quotient = numerator / denominator;
        if (numerator % denominator != 0 && numerator < 0) --quotient;
        return static_cast<int>(quotient);
    }
};

template <>
struct BinaryFormat<__float128> {
    using Bits = Uint128;
    static constexpr int fraction_bits = 112;
    static constexpr int max_biased_exponent = 0x7fff;
    static constexpr int exponent_bias = 16383;
    static constexpr int max_power = 4931;
    static constexpr int string_length = 34;

    // log10 2 x 2^32 = 1292913986.49: over the wider exponent range the double's 16-bit
    // constant would drift by up to 0.08, so a finer one is used.
    static int estimate_decimal_exponent(int biased_exponent) {
        const std::int64_t scaled = std::int64_t{biased_exponent - exponent_bias} * 1292913986;
        return static_cast<int>(scaled >> 32);  // arithmetic shift: floor for negatives
    }
};

template <typename Real>
int biased_exponent_of(Real value) {
    using Format = BinaryFormat<Real>;
    const auto bits = std::bit_cast<typename Format::Bits>(value);
    return static_cast<int>(bits >> Format::fraction_bits) & Format::max_biased_exponent;
}

// Writes the first `count` decimal digits of `scaled` (in [1, 10)) exactly: the significand
// becomes a fixed-point number with 4 integer bits on top, and each step takes the integer
// part as a digit and multiplies the fraction by 10, which cannot overflow.
template <typename Real>
void generate_digits(Real scaled, int count, char* digits) {
    using Format = BinaryFormat<Real>;
    using Bits = typename Format::Bits;
    constexpr int point = static_cast<int>(sizeof(Bits)) * 8 - 4;
    constexpr Bits fraction_mask = (Bits{1} << point) - 1;

    const auto bits = std::bit_cast<Bits>(scaled);
    const int binary_exponent = biased_exponent_of(scaled) - Format::exponent_bias;  // 0..3
    const Bits significand = (bits & ((Bits{1} << Format::fraction_bits) - 1)) |
                             (Bits{1} << Format::fraction_bits);
    Bits fixed = significand << (point - Format::fraction_bits + binary_exponent);
    for (int i = 0; i < count; ++i) {
        digits[i] = static_cast<char>('0' + static_cast<int>(fixed >> point));
        fixed = (fixed & fraction_mask) * 10;
    }
}

// Adds one unit at position `length` of the digit string; a carry out of the first digit
// makes the string 1 followed by zeros, one integer digit longer.
void round_up(DigitString& result, int length) {
    for (int i = length - 1; i >= 0; --i) {
        if (result.digits[i] != '9') {
            ++result.digits[i];
            return;
        }
        result.digits[i] = '0';
    }
    result.digits[0] = '1';
    ++result.integer_digits;
}

void clear_digits(DigitString& result, int from) {
    for (int i = from; i < DigitString::capacity; ++i) result.digits[i] = '0';
}

// Keeps `kept` digits of the `generated` ones, rounding half away from zero on the string.
// From `generated` digits on, the last generated digit is the rounding digit of the ones
// before it; `blank_last` shows it as 0 even when it does not round up.
// kept <= 0 (fixed form, value below the asked precision): for kept == 0 the first digit is
// the rounding digit and a carry gives "1" with one integer digit more (0.006 to 2 places
// is 0.01); for kept < 0 the rounding digit is a zero ahead of the string. A value that
// rounds away entirely reads as zero: all digits '0', integer_digits 0.
void round_digit_string(DigitString& result, int kept, int generated, bool blank_last) {
    if (kept >= generated) {
        const int last = generated - 1;
        const bool carry = result.digits[last] >= '5';
        if (carry || blank_last) result.digits[last] = '0';
        if (carry) round_up(result, last);
        return;
    }
    const bool carry = kept >= 0 && result.digits[kept] >= '5';
    clear_digits(result, kept < 0 ? 0 : kept);
    if (carry) {
        round_up(result, kept);
    } else if (kept <= 0) {
        result.integer_digits = 0;
    }
}

// The decimal exponent b and the magnitude scaled to about [1, 10) by 10^-b.
template <typename Real>
struct ScaledMagnitude {
    Real value;
    int decimal_exponent;
};

template <typename Real>
ScaledMagnitude<Real> scale_to_unit_decade(Real magnitude) {
    using Format = BinaryFormat<Real>;
    int biased_exponent = biased_exponent_of(magnitude);
    int decimal_exponent = Format::estimate_decimal_exponent(biased_exponent);
    int pre_scale = 0;
    // For subnormals (and, in 16 bytes, the smallest normals) the power that would bring the
    // value up to 1 overflows: multiply by the largest power first.
    if (biased_exponent == 0 || -decimal_exponent > Format::max_power) {
        magnitude *= detail::power_of_ten<Real>(Format::max_power);
        pre_scale = Format::max_power;
        biased_exponent = biased_exponent_of(magnitude);
        decimal_exponent = Format::estimate_decimal_exponent(biased_exponent);
    }
    if (decimal_exponent > 0) {
        magnitude /= detail::power_of_ten<Real>(decimal_exponent);
    } else if (decimal_exponent < 0) {
        magnitude *= detail::power_of_ten<Real>(-decimal_exponent);
    }
    return {magnitude, decimal_exponent - pre_scale};
}

template <typename Real>
DigitString convert(Real value, int generated, bool blank_last, int digits_asked,
                    RealForm form) {
    using Format = BinaryFormat<Real>;
    using Bits = typename Format::Bits;
    constexpr int sign_shift = static_cast<int>(sizeof(Bits)) * 8 - 1;
    constexpr Bits fraction_mask = (Bits{1} << Format::fraction_bits) - 1;

    DigitString result;
    clear_digits(result, 0);
    result.count = Format::string_length;
    const auto bits = std::bit_cast<Bits>(value);
    result.negative = (bits >> sign_shift) != 0;
    const int biased_exponent = biased_exponent_of(value);
    if (biased_exponent == Format::max_biased_exponent) {
        result.special = (bits & fraction_mask) == 0 ? DigitString::Special::infinity
                                                     : DigitString::Special::nan;
        return result;
    }
    if (biased_exponent == 0 && (bits & fraction_mask) == 0) return result;

    auto [scaled, decimal_exponent] = scale_to_unit_decade(result.negative ? -value : value);
    result.integer_digits = decimal_exponent + 1;
    if (scaled >= 10) {
        scaled /= 10;
        ++result.integer_digits;
    } else if (scaled < 1) {  // the estimate or an inexact power landed just below 1
        scaled *= 10;
        --result.integer_digits;
    }
    generate_digits(scaled, generated, result.digits);
    const int kept = form == RealForm::fixed ? digits_asked + result.integer_digits
                                             : digits_asked;
    round_digit_string(result, kept, generated, blank_last);
    return result;
}

}  // namespace

// 4-byte values: widened, converted in double precision, 8 digits generated.
DigitString real_to_digits(float value, int digits_asked, RealForm form) {
    return convert(static_cast<double>(value), 8, false, digits_asked, form);
}

// 8-byte values: 17 digits generated, the 17th only ever shown as 0.
DigitString real_to_digits(double value, int digits_asked, RealForm form) {
    return convert(value, 17, true, digits_asked, form);
}

DigitString real_to_digits(__float128 value, int digits_asked, RealForm form) {
    return convert(value, 34, false, digits_asked, form);
}

}  // namespace corvane::fmtio
