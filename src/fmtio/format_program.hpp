// The compiled form of a format text: one entry per edit descriptor, between a header and
// an end entry, with literal texts kept in a pool beside the entries.
#pragma once

#include <cstdint>
#include <string_view>

#include "units/conditions.hpp"

namespace corvane::fmtio {

enum class FormatKind : std::uint8_t {
    header = 0,
    A = 1,
    B = 2,
    D = 3,
    E = 4,
    EN = 5,
    ES = 6,
    F = 7,
    G = 8,
    I = 9,
    L = 10,
    O = 11,
    Z = 13,
    slash = 14,
    scale = 15,
    literal = 16,
    blank_null = 17,   // BN
    blank_zero = 18,   // BZ
    colon = 19,
    sign_default = 20, // S
    sign_plus = 21,    // SP
    sign_suppress = 22,// SS
    tab_left = 23,     // TLn
    tab_right = 24,    // TRn and nX
    tab_to = 25,       // Tn
    dollar = 26,       // $ or backslash
    group_open = 27,
    group_close = 28,
    end = 29,
    Q = 30,            // remaining character count (input)
    Qwd = 31,          // Qw.d, a real data descriptor
};

constexpr bool is_data_kind(FormatKind k) {
    switch (k) {
        case FormatKind::A: case FormatKind::B: case FormatKind::D: case FormatKind::E: case FormatKind::Q:
        case FormatKind::EN: case FormatKind::ES: case FormatKind::F: case FormatKind::G:
        case FormatKind::I: case FormatKind::L: case FormatKind::O: case FormatKind::Z:
        case FormatKind::Qwd:
            return true;
        default:
            return false;
    }
}

constexpr bool is_real_kind(FormatKind k) {
    switch (k) {
        case FormatKind::D: case FormatKind::E: case FormatKind::EN: case FormatKind::ES: case FormatKind::F:
        case FormatKind::G: case FormatKind::Qwd:
            return true;
        default:
            return false;
    }
}

// Widths above this do not fit the compiled layout.
constexpr std::int32_t max_format_width = 0xFFFFFE;
constexpr std::int32_t max_repeat_count = 32767;
constexpr int max_group_depth = 20;
constexpr int max_exponent_digits = 255;  // e of Ew.dEe is held in one byte

struct FormatEntry {
    FormatKind kind = FormatKind::header;
    bool width_given = false;       // false: the width is chosen by the item's type
    bool d_exponent = false;        // Ew.dDe: the exponent letter is D
    std::uint8_t exponent_digits = 0;  // e of E, D, G, EN, ES; 0 = not given (2 is used)
    std::int32_t w = 0;             // width; n of X, T, TL, TR and "/"; literal length; for a
                                    // group open holding no descriptor, the offset to its close
    std::int32_t d = 0;             // digits after the point; m (minimum digits) of I, B, O, Z
    std::int32_t repeat = 1;        // repeat r; k of kP; back offset of a group close;
                                    // back offset to the reversion point in the end entry;
                                    // parenthesis levels in the header
    std::uint32_t column = 0;       // 1-based column of the descriptor in its text
    std::uint32_t literal_offset = 0;  // a literal's text in the pool
    bool has_data = false;          // end entry: the format holds a data descriptor
};

// A compiled format as the walker sees it; the storage belongs to a constant format or to
// a statement's run-time compiled buffer.
struct FormatRef {
    const FormatEntry* entries = nullptr;
    const char* pool = nullptr;
    std::size_t count = 0;  // a full word: statements copy the reference as a whole
    // A constant format made only of data descriptors also carries its first pass laid
    // out: the entry of each element in turn, and where in that list the format starts
    // again when items remain. Statements follow it without walking the format.
    const std::uint16_t* pass = nullptr;
    std::uint16_t pass_length = 0;
    std::uint16_t pass_reversion = 0;
    // False only for a format known to hold no descriptor that edits a real value: its
    // statements need not see to the rounding mode.
    bool edits_reals = true;

    constexpr std::string_view literal(const FormatEntry& e) const {
        return {pool + e.literal_offset, static_cast<std::size_t>(e.w)};
    }
};

// The conditions the format compiler and walker raise (10004 to 10015) go by their names.
namespace format_error = units::condition;

}  // namespace corvane::fmtio
