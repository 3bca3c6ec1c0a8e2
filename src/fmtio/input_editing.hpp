// Input editing: taking fields from the current record and storing item elements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fmtio/edit_state.hpp"
#include "fmtio/element_value.hpp"
#include "fmtio/format_program.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/short_copy.hpp"

namespace corvane::fmtio {

using units::condition::illegal_numeric_character;
using units::condition::read_past_end_of_record;

// The current input record and the position of the next character to take.
struct RecordReader {
    const char* data = nullptr;
    std::size_t length = 0;
    std::size_t position = 0;
    std::size_t taken = 0;        // characters the data descriptors transferred
    bool ran_short = false;       // a field reached past the end of the record
};

// A plain decimal field: leading spaces, an optional sign, then digits to its end. Stores
// the value, wrapping as the run-time's integers do (modulo 2^32 for items of up to 4
// bytes, 2^64 for 8); false, with nothing stored, when anything else stands in the field
// (a tab among the blanks included: the general reader takes those).
[[gnu::always_inline]] inline bool read_plain_decimal(std::string_view field, const IoItem& item, void* element) {
    const char* p = field.data();
    const char* const end = p + field.size();
    while (p != end && *p == ' ') ++p;
    bool negative = false;
    if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    std::uint64_t value = 0;
    for (; p != end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
        if (digit > 9) return false;
        value = value * 10 + digit;
    }
    if (negative) value = 0 - value;
    if (item.size == 4) {
        const auto v = static_cast<std::int32_t>(value);
        std::memcpy(element, &v, 4);
    } else {
        store_integer(element, item.size, static_cast<std::int64_t>(value));  // cut to the item's size
    }
    return true;
}

// The commonest field of all, a whole decimal integer field of the record ("  1961",
// "-9999") under Iw, taken and converted in one pass. Anything else (a short record, a
// comma, an inner blank, a bad character) is left to edit_input: returns false with
// nothing changed. Inline: data files are made of these.
[[gnu::always_inline]] inline bool edit_plain_integer(RecordReader& in, const FormatEntry& e, const IoItem& item, void* element) {
    if (e.kind != FormatKind::I || !e.width_given || item.type != TypeClass::integer) return false;
    const auto w = static_cast<std::size_t>(e.w);
    if (in.position >= in.length || in.length - in.position < w) return false;
    if (!read_plain_decimal({in.data + in.position, w}, item, element)) return false;
    in.position += w;
    in.taken += w;
    return true;
}

// A character item under A whose field is as long as the item and lies wholly in the
// record (flags, codes, names of fixed columns): its characters copied as they stand.
// Anything else is left to edit_input: returns false with nothing changed.
[[gnu::always_inline]] inline bool edit_plain_character(RecordReader& in, const FormatEntry& e, const IoItem& item, void* element) {
    if (e.kind != FormatKind::A || item.type != TypeClass::character) return false;
    const std::size_t w = e.width_given ? static_cast<std::size_t>(e.w) : item.char_length;
    if (w != item.char_length || in.position >= in.length || in.length - in.position < w) return false;
    copy_chars(static_cast<char*>(element), in.data + in.position, w);
    in.position += w;
    in.taken += w;
    return true;
}

int edit_input(RecordReader& in, const EditState& state, const FormatEntry& e, const IoItem& item,
               void* element);

// Literals are skipped; X, T, TL, TR move; BN, BZ, P set the modes.
void execute_input_control(RecordReader& in, EditState& state, const FormatEntry& e);

// Conversions shared with list-directed input. Each returns 0 or a condition code.
int read_integer_field(std::string_view field, int base, bool blank_zero, const IoItem& item, void* element);
int read_real_field(std::string_view field, int implied_digits, int scale, bool blank_zero, int size,
                    void* element);
bool read_logical_field(std::string_view field);
void read_character_field(std::string_view field, const IoItem& item, void* element);

}  // namespace corvane::fmtio
