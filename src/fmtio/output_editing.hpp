// Output editing: one item element under a data descriptor, and the control descriptors.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "fmtio/edit_state.hpp"
#include "fmtio/format_program.hpp"
#include "fmtio/io_item.hpp"
#include "fmtio/record_writer.hpp"

namespace corvane::fmtio {

using units::condition::type_mismatch;

namespace detail {

inline constexpr struct DecimalPairs {
    char text[200];
    constexpr DecimalPairs() : text() {
        for (int i = 0; i < 100; ++i) {
            text[2 * i] = static_cast<char>('0' + i / 10);
            text[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
} decimal_pairs;

inline int decimal_digit_count(std::uint32_t m) {
    static constexpr std::uint32_t powers[] = {1,      10,      100,      1000,      10000,
                                               100000, 1000000, 10000000, 100000000, 1000000000};
    const int guess = (std::bit_width(m) * 1233) >> 12;  // 1233/4096 is just above log10(2)
    return guess + (m >= powers[guess] ? 1 : 0);
}

}  // namespace detail

// The commonest output field of all, a 4-byte integer under Iw (or I0) with the default minimum of
// one digit and no plus sign, written straight into its columns: blanks, a minus sign and
// the digits (two at a time, from the right), or asterisks when it does not fit. Anything
// else is left to edit_output: returns false with nothing written. Inline: data lines are
// made of these.
[[gnu::always_inline]] inline bool edit_plain_integer_output(RecordWriter& out, const EditState& state,
                                                             const FormatEntry& e, const IoItem& item,
                                                             const void* element) {
    if (e.kind != FormatKind::I || !e.width_given || e.d != 1 || item.type != TypeClass::integer ||
        item.size != 4 || state.sign_plus)
        return false;
    std::int32_t value;
    std::memcpy(&value, element, 4);
    std::uint32_t m = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    const int length = std::max(detail::decimal_digit_count(m), 1) + (value < 0 ? 1 : 0);
    const auto w = static_cast<std::size_t>(e.w == 0 ? length : e.w);  // I0: just the digits
    // At the end of the record the blanks go in as one 8-byte store; elsewhere the text
    // after the field must stay.
    const bool at_end = out.position >= out.high_water;
    char* const field = out.reserve(w, 8);
    if (static_cast<std::size_t>(length) > w) {
        std::memset(field, '*', w);
        out.advance(w);
        return true;
    }
    if (w <= 8 && at_end) std::memcpy(field, "        ", 8);
    else std::memset(field, ' ', w - static_cast<std::size_t>(length));
    char* p = field + w;
    for (; m >= 100; m /= 100) {
        p -= 2;
        std::memcpy(p, detail::decimal_pairs.text + 2 * (m % 100), 2);
    }
    if (m >= 10) {
        p -= 2;
        std::memcpy(p, detail::decimal_pairs.text + 2 * m, 2);
    } else {
        *--p = static_cast<char>('0' + m);
    }
    if (value < 0) p[-1] = '-';
    out.advance(w);
    return true;
}

// A character item under A without a width, the text fields of a delimited line: its
// characters as they stand. Anything else is left to edit_output: returns false.
[[gnu::always_inline]] inline bool edit_plain_character_output(RecordWriter& out, const FormatEntry& e,
                                                               const IoItem& item, const void* element) {
    if (e.kind != FormatKind::A || e.width_given || item.type != TypeClass::character) return false;
    out.put(static_cast<const char*>(element), item.char_length);
    return true;
}

// Writes the element at `element` (of the item's type) under descriptor `e`.
// Returns 0 or a condition code.
int edit_output(RecordWriter& out, const EditState& state, const FormatEntry& e, const IoItem& item,
                const void* element);

// Sets the modes and moves the position for X, T, TL, TR, P, S, SP, SS, BN, BZ, "$";
// writes literals. Record ends ("/") and ":" are the statement's business.
void execute_output_control(RecordWriter& out, EditState& state, const FormatEntry& e, FormatRef format);

// List-directed output of one element; `after_character` tells whether the previous item
// of the record was a character value.
int list_output(RecordWriter& out, const EditState& modes, const IoItem& item, const void* element,
                bool& after_character);

}  // namespace corvane::fmtio
