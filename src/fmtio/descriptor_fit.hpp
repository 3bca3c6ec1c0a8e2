// Which items a data descriptor can take, as the editing routines decide it when they meet
// 10022 (output_editing.cpp, input_editing.cpp). Statements with a constant format ask it
// while the program is built; the run time keeps its own checks for every other format.
// A complex element reaches its descriptors as two real parts of half its size.
#pragma once

#include <cstdint>

#include "fmtio/format_program.hpp"
#include "fmtio/io_item.hpp"

namespace corvane::fmtio {

// Why a descriptor refuses an item; each has its own build-error text.
enum class Misfit : std::uint8_t {
    none,
    real_given_character,      // F, E, D, EN, ES or Qw.d given a character item
    real_given_short_integer,  // F, E, D or Qw.d given an integer of 1 or 2 bytes
    real_given_integer,        // EN or ES given any integer; any real descriptor on input
    real_given_logical,
    integer_given_other,       // I (and B, O, Z on input) given a real or character item
    bits_given_character,      // B, O or Z given a character item
    logical_given_other,       // L given a real or character item
    count_given_other,         // Q on input given anything but an integer
};

constexpr Misfit real_descriptor_misfit(FormatKind kind, TypeClass type, unsigned size, bool reading) {
    switch (type) {
        case TypeClass::real:
        case TypeClass::complex: return Misfit::none;
        case TypeClass::character: return Misfit::real_given_character;
        case TypeClass::logical: return Misfit::real_given_logical;
        case TypeClass::integer: break;
    }
    // Output edits an integer of 4 or 8 bytes under F, E, D and Qw.d as the real of its value.
    if (size < 4) return Misfit::real_given_short_integer;
    const bool integer_as_real = !reading && kind != FormatKind::EN && kind != FormatKind::ES;
    return integer_as_real ? Misfit::none : Misfit::real_given_integer;
}

constexpr Misfit descriptor_misfit(FormatKind kind, TypeClass type, unsigned size, bool reading) {
    const bool integral = type == TypeClass::integer || type == TypeClass::logical;
    switch (kind) {
        case FormatKind::I: return integral ? Misfit::none : Misfit::integer_given_other;
        case FormatKind::B:
        case FormatKind::O:
        case FormatKind::Z:
            if (reading) return integral ? Misfit::none : Misfit::integer_given_other;
            return type == TypeClass::character ? Misfit::bits_given_character : Misfit::none;
        case FormatKind::F:
        case FormatKind::E:
        case FormatKind::D:
        case FormatKind::EN:
        case FormatKind::ES:
        case FormatKind::Qwd: return real_descriptor_misfit(kind, type, size, reading);
        case FormatKind::L: return integral ? Misfit::none : Misfit::logical_given_other;
        case FormatKind::Q:
            if (!reading) return Misfit::none;  // the remaining-character count has no output
            return type == TypeClass::integer ? Misfit::none : Misfit::count_given_other;
        default: return Misfit::none;  // A and G take every item
    }
}

}  // namespace corvane::fmtio
