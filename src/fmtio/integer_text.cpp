// Integers to text in bases 2, 8, 10 and 16. Decimal digits come two at a time from a table
// of the hundred digit pairs, the others straight from the value's bits; items of up to 4
// bytes are converted in 32-bit arithmetic. No allocation, no division by a variable.
#include "fmtio/numeric_conversion.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace corvane::fmtio {
namespace {

constexpr int output_capacity = 66;  // a sign and 65 digits

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

// The value as a signed number of the item's size (a wider argument is cut to the item).
std::int64_t item_value(std::int64_t value, int size_bytes) {
    switch (size_bytes) {
        case 1: return static_cast<std::int8_t>(value);
        case 2: return static_cast<std::int16_t>(value);
        case 8: return value;
        default: return static_cast<std::int32_t>(value);
    }
}

constexpr struct DigitPairs {
    char text[200];
    constexpr DigitPairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
} digit_pairs;

// Writes the decimal digits of `magnitude` (none for 0) so that they end at `end`;
// returns where they start.
template <class Unsigned>
char* decimal_digits(Unsigned magnitude, char* end) {
    while (magnitude >= 100) {
        const auto pair = static_cast<unsigned>(magnitude % 100);
        magnitude /= 100;
        end -= 2;
        std::memcpy(end, digit_pairs.text + 2 * pair, 2);
    }
    if (magnitude >= 10) {
        end -= 2;
        std::memcpy(end, digit_pairs.text + 2 * static_cast<unsigned>(magnitude), 2);
    } else if (magnitude > 0) {
        *--end = static_cast<char>('0' + magnitude);
    }
    return end;
}

// Writes the digits of `magnitude` in base 2, 8 or 16 so that they end at `end`.
char* power_of_two_digits(std::uint64_t magnitude, int base, bool upper_hex, char* end) {
    const int shift = base == 2 ? 1 : base == 8 ? 3 : 4;
    const char* letters = upper_hex ? "0123456789ABCDEF" : "0123456789abcdef";
    for (; magnitude != 0; magnitude >>= shift) *--end = letters[magnitude & static_cast<unsigned>(base - 1)];
    return end;
}

}  // namespace

int integer_to_text(std::int64_t value, int size_bytes, int base, int min_digits, bool upper_hex,
                    char* out) {
    if (base != 2 && base != 8 && base != 16) base = 10;
    char digits[64];
    char* const end = digits + sizeof digits;
    char* first;
    bool negative = false;
    if (base == 10) {
        const std::int64_t signed_value = item_value(value, size_bytes);
        negative = signed_value < 0;
        // Negated as unsigned, so the most negative value has its true magnitude.
        const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(signed_value)
                                                 : static_cast<std::uint64_t>(signed_value);
        first = size_bytes == 8 ? decimal_digits(magnitude, end)
                                : decimal_digits(static_cast<std::uint32_t>(magnitude), end);
    } else {
        first = power_of_two_digits(item_bits(value, size_bytes), base, upper_hex, end);
    }
    const int count = static_cast<int>(end - first);
    const int sign_length = negative ? 1 : 0;
    const int width = std::clamp(min_digits, count, output_capacity - sign_length);
    int length = 0;
    if (negative) out[length++] = '-';
    for (int zeros = width - count; zeros > 0; --zeros) out[length++] = '0';
    std::memcpy(out + length, first, static_cast<std::size_t>(count));
    return length + count;
}

}  // namespace corvane::fmtio
