// Integers to text in bases 2, 8, 10 and 16 by repeated subtraction of descending powers of
// the base: no division per digit, and the same scheme for every base.
#include "fmtio/numeric_conversion.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace corvane::fmtio {
namespace {

constexpr int output_capacity = 66;  // a sign and 65 digits

// Items of up to 4 bytes are converted in 32-bit arithmetic, 8-byte items in 64-bit.
bool is_wide(int size_bytes) { return size_bytes == 8; }

// The value's bits as an unsigned number of the item's size.
std::uint64_t item_bits(std::int64_t value, int size_bytes) {
    const auto bits = static_cast<std::uint64_t>(value);
    switch (size_bytes) {
        case 1: return bits & 0xffu;
        case 2: return bits & 0xffffu;
        case 8: return bits;
        default: return bits & 0xffffffffu;
    }
}

// The value as a signed number of the item's size (a wider argument is cut to the item, so
// the digits always fit the powers of the item's arithmetic).
std::int64_t item_value(std::int64_t value, int size_bytes) {
    switch (size_bytes) {
        case 1: return static_cast<std::int8_t>(value);
        case 2: return static_cast<std::int16_t>(value);
        case 8: return value;
        default: return static_cast<std::int32_t>(value);
    }
}

// Largest power of the base that fits the arithmetic: 10^9, 2^31, 8^10, 16^7 in 32 bits;
// 10^18, 2^63, 8^21, 16^15 in 64 bits.
constexpr std::uint64_t largest_power(int base, bool wide) {
    switch (base) {
        case 2: return std::uint64_t{1} << (wide ? 63 : 31);
        case 8: return std::uint64_t{1} << (wide ? 63 : 30);
        case 16: return std::uint64_t{1} << (wide ? 60 : 28);
        default: return wide ? 1'000'000'000'000'000'000u : 1'000'000'000u;
    }
}

// The descending powers of a base, from the largest that fits down to 1.
struct PowerTable {
    std::uint64_t power[64] = {};
    int count = 0;
};

constexpr PowerTable make_powers(int base, bool wide) {
    PowerTable table;
    for (std::uint64_t p = largest_power(base, wide); p != 0; p /= static_cast<std::uint64_t>(base))
        table.power[table.count++] = p;
    return table;
}

constexpr PowerTable powers[4][2] = {
    {make_powers(2, false), make_powers(2, true)},
    {make_powers(8, false), make_powers(8, true)},
    {make_powers(10, false), make_powers(10, true)},
    {make_powers(16, false), make_powers(16, true)},
};

const PowerTable& powers_of(int base, bool wide) {
    const int row = base == 2 ? 0 : base == 8 ? 1 : base == 10 ? 2 : 3;
    return powers[row][wide ? 1 : 0];
}

char digit_character(int digit, bool upper_hex) {
    if (digit < 10) return static_cast<char>('0' + digit);
    return static_cast<char>((upper_hex ? 'A' : 'a') + digit - 10);
}

// How many digits `magnitude` has in its base (0 for 0), from its bit width.
int digit_count(std::uint64_t magnitude, int base, const PowerTable& table) {
    const int bits = std::bit_width(magnitude);
    switch (base) {
        case 2: return bits;
        case 8: return (bits + 2) / 3;
        case 16: return (bits + 3) / 4;
        default: {
            if (magnitude == 0) return 0;
            // 1233/4096 is just above log10(2); table.power[count - 1 - k] is 10^k.
            const int guess = std::min((bits * 1233) >> 12, table.count - 1);
            return magnitude >= table.power[table.count - 1 - guess] ? guess + 1 : guess;
        }
    }
}

// Writes the significant digits of `magnitude` (none for 0) and returns their count: each
// digit is the number of times its power can be subtracted.
int significant_digits(std::uint64_t magnitude, int base, bool wide, bool upper_hex,
                       char* digits) {
    const PowerTable& table = powers_of(base, wide);
    const int count = digit_count(magnitude, base, table);
    for (int i = table.count - count, n = 0; i < table.count; ++i, ++n) {
        const std::uint64_t power = table.power[i];
        int digit = 0;
        for (; magnitude >= power; magnitude -= power) ++digit;
        digits[n] = digit_character(digit, upper_hex);
    }
    return count;
}

}  // namespace

int integer_to_text(std::int64_t value, int size_bytes, int base, int min_digits, bool upper_hex,
                    char* out) {
    if (base != 2 && base != 8 && base != 16) base = 10;
    bool negative = false;
    std::uint64_t magnitude = item_bits(value, size_bytes);
    if (base == 10) {
        const std::int64_t signed_value = item_value(value, size_bytes);
        negative = signed_value < 0;
        // Negated as unsigned, so the most negative value has its true magnitude.
        magnitude = negative ? 0 - static_cast<std::uint64_t>(signed_value)
                             : static_cast<std::uint64_t>(signed_value);
    }

    char digits[64];
    const int count = significant_digits(magnitude, base, is_wide(size_bytes), upper_hex, digits);
    const int sign_length = negative ? 1 : 0;
    const int width = std::clamp(min_digits, count, output_capacity - sign_length);
    int length = 0;
    if (negative) out[length++] = '-';
    for (int zeros = width - count; zeros > 0; --zeros) out[length++] = '0';
    std::copy(digits, digits + count, out + length);
    return length + count;
}

}  // namespace corvane::fmtio
