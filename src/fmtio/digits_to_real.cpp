// Decimal text to binary reals. The significant digits go into an integer accumulator with a
// decimal exponent beside it; the accumulator is truncated to the significand width and
// scaled by a power of ten at the working precision (double for 4- and 8-byte reals).
#include "fmtio/numeric_conversion.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace corvane::fmtio {
namespace {

using Uint128 = unsigned __int128;

// A digit is taken only while the accumulator is below this bound before the step. The 64-bit
// bound is 429496730 x 2^32 (about 19 significant digits, 20 for small enough leading ones);
// the 128-bit accumulator of 16-byte reals uses the same leading part 64 bits further up
// (about 38 digits, beyond the 34 a 113-bit significand holds).
template <typename Accumulator>
constexpr Accumulator accumulator_bound = Accumulator{429496730} << 32;
template <>
constexpr Uint128 accumulator_bound<Uint128> = Uint128{429496730} << 96;

template <typename Real>
struct RealLayout;

template <>
struct RealLayout<double> {
    using Accumulator = std::uint64_t;
    using Bits = std::uint64_t;
    static constexpr int significand_bits = 53;
    static constexpr int fraction_bits = 52;
    static constexpr int smallest_power = 307;  // no power of ten below 10^-307 is formed
};

template <>
struct RealLayout<__float128> {
    using Accumulator = Uint128;
    using Bits = Uint128;
    static constexpr int significand_bits = 113;
    static constexpr int fraction_bits = 112;
    static constexpr int smallest_power = 4931;
};

// Exponents beyond this over- or underflow every format; reading stops growing there so
// that a long exponent field cannot overflow an int.
constexpr int exponent_saturation = 100000;

template <typename Accumulator>
struct DecimalNumber {
    enum class Kind { finite, infinity, nan };
    Kind kind = Kind::finite;
    bool negative = false;
    Accumulator digits = 0;  // the value is digits x 10^exponent
    int exponent = 0;
};

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Takes one more digit into the accumulator unless it is full. Just below the bound a step
// can still pass the accumulator's range; such a digit counts as not fitting, and so does
// every later one (`full` stays set), so that digit positions stay consistent.
template <typename Accumulator>
bool take_digit(Accumulator& accumulator, bool& full, int digit) {
    constexpr Accumulator max = ~Accumulator{0};
    const auto value = static_cast<Accumulator>(digit);
    if (full || accumulator >= accumulator_bound<Accumulator> ||
        accumulator > (max - value) / 10) {
        full = true;
        return false;
    }
    accumulator = accumulator * 10 + value;
    return true;
}

// E or D (either case) with an optional sign, or a sign alone, then digits. Another letter
// (such as Q) is not read as an exponent.
int read_exponent(std::string_view text, std::size_t& pos) {
    if (pos >= text.size()) return 0;
    const char marker = text[pos];
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        ++pos;
    } else if (marker != '+' && marker != '-') {
        return 0;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    int exponent = 0;
    for (; pos < text.size() && is_digit(text[pos]); ++pos) {
        exponent = std::min(exponent * 10 + (text[pos] - '0'), exponent_saturation);
    }
    return negative ? -exponent : exponent;
}

template <typename Accumulator>
DecimalNumber<Accumulator> parse_decimal(std::string_view text, int implied_exponent) {
    DecimalNumber<Accumulator> number;
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        number.negative = text[pos] == '-';
        ++pos;
    }
    using Kind = typename DecimalNumber<Accumulator>::Kind;
    if (pos < text.size()) {
        const char first = text[pos];
        if (first == 'I' || first == 'i') number.kind = Kind::infinity;
        if (first == 'N' || first == 'n') number.kind = Kind::nan;
        if (number.kind != Kind::finite) return number;
    }

    bool full = false;
    long long exponent = 0;
    // Integer digits that no longer fit still count for the magnitude.
    for (; pos < text.size() && is_digit(text[pos]); ++pos) {
        if (!take_digit(number.digits, full, text[pos] - '0')) ++exponent;
    }
    if (pos < text.size() && text[pos] == '.') {
        // Zeros after the point are held back until a non-zero digit needs them, so trailing
        // zeros never use accumulator capacity; fraction digits that do not fit are dropped.
        long long held_zeros = 0;
        for (++pos; pos < text.size() && is_digit(text[pos]); ++pos) {
            const int digit = text[pos] - '0';
            if (digit == 0) {
                ++held_zeros;
                continue;
            }
            for (; held_zeros > 0 && take_digit(number.digits, full, 0); --held_zeros) --exponent;
            held_zeros = 0;
            if (take_digit(number.digits, full, digit)) --exponent;
        }
    }
    exponent += read_exponent(text, pos);
    exponent += implied_exponent;
    number.exponent = static_cast<int>(
        std::clamp<long long>(exponent, -exponent_saturation, exponent_saturation));
    return number;
}

template <typename Unsigned>
int bit_length(Unsigned value) {
    int length = 0;
    for (; value != 0; value >>= 1) ++length;
    return length;
}

// The accumulator as a real, keeping its leading significand bits and dropping the rest
// (truncation, not rounding); both steps are exact.
template <typename Real>
Real truncate_to_real(typename RealLayout<Real>::Accumulator digits) {
    using Accumulator = typename RealLayout<Real>::Accumulator;
    const int dropped = std::max(0, bit_length(digits) - RealLayout<Real>::significand_bits);
    return static_cast<Real>(digits >> dropped) * static_cast<Real>(Accumulator{1} << dropped);
}

template <typename Real>
Real scale_by_power_of_ten(Real value, int exponent) {
    constexpr int smallest_power = RealLayout<Real>::smallest_power;
    if (value == 0) return value;  // also where 10^exponent overflows
    if (exponent < -smallest_power) {
        value /= detail::power_of_ten<Real>(-exponent - smallest_power);
        exponent = -smallest_power;
    }
    if (exponent > 0) return value * detail::power_of_ten<Real>(exponent);
    if (exponent < 0) return value / detail::power_of_ten<Real>(-exponent);
    return value;
}

// Infinity or a quiet NaN of the format, built from its bits.
template <typename Real>
Real special_value(bool nan) {
    using Bits = typename RealLayout<Real>::Bits;
    constexpr int fraction_bits = RealLayout<Real>::fraction_bits;
    constexpr int sign_shift = static_cast<int>(sizeof(Bits)) * 8 - 1;
    const Bits exponent_all_ones =
        ((Bits{1} << sign_shift) - 1) & ~((Bits{1} << fraction_bits) - 1);
    const Bits quiet_bit = Bits{1} << (fraction_bits - 1);
    return std::bit_cast<Real>(nan ? exponent_all_ones | quiet_bit : exponent_all_ones);
}

template <typename Real>
Real convert(std::string_view text, int implied_exponent) {
    using Accumulator = typename RealLayout<Real>::Accumulator;
    using Kind = typename DecimalNumber<Accumulator>::Kind;
    const auto number = parse_decimal<Accumulator>(text, implied_exponent);
    const Real value =
        number.kind == Kind::finite
            ? scale_by_power_of_ten(truncate_to_real<Real>(number.digits), number.exponent)
            : special_value<Real>(number.kind == Kind::nan);
    return number.negative ? -value : value;  // the sign last: "-0" keeps its sign bit
}

}  // namespace

float digits_to_real4(std::string_view text, int implied_exponent) {
    return static_cast<float>(convert<double>(text, implied_exponent));
}

double digits_to_real8(std::string_view text, int implied_exponent) {
    return convert<double>(text, implied_exponent);
}

__float128 digits_to_real16(std::string_view text, int implied_exponent) {
    return convert<__float128>(text, implied_exponent);
}

}  // namespace corvane::fmtio
