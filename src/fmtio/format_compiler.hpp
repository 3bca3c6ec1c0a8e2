// Compiling a format text into its FormatEntry program. The same constexpr compiler serves
// formats known only at run time and the constant formats of the program, which are
// compiled while the program is built (see constant_format.hpp).
#pragma once

#include <cstdint>
#include <string_view>

#include "fmtio/format_program.hpp"

namespace corvane::fmtio {

struct CompileOutcome {
    int error = 0;             // 0, or a condition code 10004..10012
    std::uint32_t column = 0;  // 1-based column where the error was found
};

// A statement label may stand in front of a format text, as in "15(I3,I8,i1,i4,12I5)".
constexpr std::string_view strip_statement_label(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return text.substr(i);
}

namespace detail {

constexpr char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr bool is_digit(char c) { return c >= '0' && c <= '9'; }
constexpr bool is_blank(char c) { return c == ' ' || c == '\t'; }

// Walks the text; blanks between tokens and inside numbers do not count. Each descriptor
// family has its own step, which adds the family's entry or returns the condition.
template <class Entries, class Pool>
class FormatCompiler {
public:
    constexpr FormatCompiler(std::string_view text, Entries& entries, Pool& pool)
        : text_(text), entries_(entries), pool_(pool) {}

    constexpr CompileOutcome run() {
        skip_blanks();
        if (at_end() || text_[pos_] != '(') return fail(format_error::missing_open_paren);
        ++pos_;
        entries_.push_back(FormatEntry{});  // header
        open_groups_[0] = 0;
        while (depth_ > 0) {
            if (const CompileOutcome outcome = compile_next(); outcome.error) return outcome;
        }
        add_end_entry();
        return {};
    }

private:
    static constexpr int max_nesting = 256;

    // What stands in front of a descriptor: a repeat count or scale factor when one is
    // written, and the descriptor's letter (upper case) with its position in the text.
    struct Lead {
        bool has_count = false;
        std::int64_t count = 0;
        char letter = 0;
        std::size_t at = 0;

        constexpr std::int32_t repeat() const { return has_count ? static_cast<std::int32_t>(count) : 1; }
    };

    // One descriptor and the comma that may follow it. This and compile_descriptor are
    // inlined into the loop: a run-time format is compiled at every execution of its
    // statement, and a call per descriptor costs a fifth more.
    [[gnu::always_inline]] constexpr CompileOutcome compile_next() {
        skip_blanks();
        if (at_end()) return fail(format_error::unmatched_parens);
        Lead lead;
        read_signed_number(lead.has_count, lead.count);
        skip_blanks();
        if (at_end()) return fail(format_error::unmatched_parens);
        lead.at = pos_;
        lead.letter = upper(text_[pos_]);
        if (lead.has_count && lead.letter != 'P' && (lead.count < 1 || lead.count > max_repeat_count))
            return fail_at(format_error::bad_repeat, lead.at);
        FormatEntry e;
        e.column = static_cast<std::uint32_t>(lead.at + 1);
        ++pos_;
        if (int err = compile_descriptor(lead, e)) return fail_at(err, lead.at);
        if (depth_ == 0) return {};  // the parenthesis that closes the format
        if (lead.letter != '(' && lead.letter != ')') group_has_content_[depth_ - 1] = true;
        skip_blanks();
        if (!at_end() && text_[pos_] == ',') ++pos_;
        return {};
    }

    [[gnu::always_inline]] constexpr int compile_descriptor(const Lead& lead, FormatEntry& e) {
        switch (lead.letter) {
            case '\'': case '"': case 'H': return compile_literal(lead, e);
            case '(': return open_group(lead, e);
            case ')': return close_group(lead, e);
            case '/': case ':': case '$': case '\\': case 'P': case 'X': return compile_control(lead, e);
            case 'S': return compile_sign(lead, e);
            case 'T': return compile_tab(lead, e);
            case 'B':
                if (next_letter_is('N', 'Z')) return compile_blank_mode(lead, e);
                return compile_integer(lead, e);
            case 'I': case 'O': case 'Z': return compile_integer(lead, e);
            case 'F': case 'D': case 'E': case 'G': case 'Q': return compile_real(lead, e);
            case 'A': case 'L': return compile_character_or_logical(lead, e);
            default: return format_error::bad_format;
        }
    }

    constexpr int add(const FormatEntry& e) {
        entries_.push_back(e);
        return 0;
    }

    // 'text' and "text" (a doubled quote stands for one), and nHtext.
    constexpr int compile_literal(const Lead& lead, FormatEntry& e) {
        if (lead.letter != 'H') {
            if (lead.has_count) return format_error::non_repeatable;
            if (int err = read_quoted(lead.letter, e)) return err;
            return add(e);
        }
        if (!lead.has_count) return format_error::bad_format;
        if (static_cast<std::size_t>(lead.count) > text_.size() - pos_) return format_error::hollerith_overrun;
        e.kind = FormatKind::literal;
        e.literal_offset = static_cast<std::uint32_t>(pool_.size());
        e.w = lead.repeat();
        for (std::int32_t i = 0; i < e.w; ++i) pool_.push_back(text_[pos_++]);
        return add(e);
    }

    constexpr int open_group(const Lead& lead, FormatEntry& e) {
        if (depth_ >= max_nesting) return format_error::buffer_allocation;
        e.kind = FormatKind::group_open;
        e.repeat = lead.repeat();
        open_groups_[depth_] = static_cast<std::uint32_t>(entries_.size());
        group_has_content_[depth_] = false;
        if (depth_ == 1) reversion_ = static_cast<std::uint32_t>(entries_.size());
        ++depth_;
        if (depth_ > levels_) levels_ = depth_;
        return add(e);
    }

    // The closing parenthesis of the whole format adds no entry.
    constexpr int close_group(const Lead& lead, FormatEntry& e) {
        if (lead.has_count) return format_error::bad_repeat;
        --depth_;
        if (depth_ == 0) return 0;
        e.kind = FormatKind::group_close;
        e.repeat = static_cast<std::int32_t>(open_groups_[depth_]) - static_cast<std::int32_t>(entries_.size());
        // A group with no descriptor in it, at any depth, is stepped over whole:
        // repeating nothing must not take time.
        if (group_has_content_[depth_]) group_has_content_[depth_ - 1] = true;
        else entries_[open_groups_[depth_]].w = -e.repeat;
        return add(e);
    }

    // "/", ":", "$" (or "\"), kP and nX.
    constexpr int compile_control(const Lead& lead, FormatEntry& e) {
        switch (lead.letter) {
            case '/': e.kind = FormatKind::slash; e.w = lead.repeat(); break;
            case 'X': e.kind = FormatKind::tab_right; e.w = lead.repeat(); break;
            case 'P':
                // Any sign, but no larger than a width: no field shows more digits.
                if (lead.count < -max_format_width || lead.count > max_format_width) return format_error::bad_format;
                e.kind = FormatKind::scale;
                e.repeat = lead.has_count ? static_cast<std::int32_t>(lead.count) : 0;
                break;
            default:
                if (lead.has_count) return format_error::non_repeatable;
                e.kind = lead.letter == ':' ? FormatKind::colon : FormatKind::dollar;
        }
        return add(e);
    }

    // S, SP and SS.
    constexpr int compile_sign(const Lead& lead, FormatEntry& e) {
        if (lead.has_count) return format_error::non_repeatable;
        skip_blanks();
        const char n = at_end() ? ',' : upper(text_[pos_]);
        if (n == 'P') { e.kind = FormatKind::sign_plus; ++pos_; }
        else if (n == 'S') { e.kind = FormatKind::sign_suppress; ++pos_; }
        else if (n >= 'A' && n <= 'Z') return format_error::bad_format;
        else e.kind = FormatKind::sign_default;
        return add(e);
    }

    // Tn, TLn and TRn.
    constexpr int compile_tab(const Lead& lead, FormatEntry& e) {
        if (lead.has_count) return format_error::non_repeatable;
        skip_blanks();
        const char n = at_end() ? ',' : upper(text_[pos_]);
        e.kind = FormatKind::tab_to;
        if (n == 'L') { e.kind = FormatKind::tab_left; ++pos_; }
        else if (n == 'R') { e.kind = FormatKind::tab_right; ++pos_; }
        std::int64_t v = 0;
        if (!read_unsigned_number(v) || v > max_format_width) return format_error::bad_format;
        e.w = static_cast<std::int32_t>(v);
        return add(e);
    }

    // BN and BZ.
    constexpr int compile_blank_mode(const Lead& lead, FormatEntry& e) {
        if (lead.has_count) return format_error::bad_repeat;
        e.kind = upper(text_[pos_]) == 'N' ? FormatKind::blank_null : FormatKind::blank_zero;
        ++pos_;
        return add(e);
    }

    // Iw[.m], Bw[.m], Ow[.m], Zw[.m]; without w the width is chosen by the item.
    constexpr int compile_integer(const Lead& lead, FormatEntry& e) {
        const char c = lead.letter;
        e.kind = c == 'I' ? FormatKind::I : c == 'B' ? FormatKind::B : c == 'O' ? FormatKind::O : FormatKind::Z;
        e.repeat = lead.repeat();
        e.d = 1;
        if (int err = read_integer_widths(e)) return err;
        has_data_ = true;
        return add(e);
    }

    // Fw.d, Dw.d, Ew.d, ENw.d, ESw.d, Gw.d, Qw.d, and Q alone (the characters left in the record).
    constexpr int compile_real(const Lead& lead, FormatEntry& e) {
        const char c = lead.letter;
        e.repeat = lead.repeat();
        if (c == 'Q' && !next_is_number()) {
            if (lead.has_count) return format_error::non_repeatable;
            e.kind = FormatKind::Q;
            return add(e);
        }
        e.kind = c == 'F' ? FormatKind::F : c == 'D' ? FormatKind::D
               : c == 'G' ? FormatKind::G : c == 'Q' ? FormatKind::Qwd : FormatKind::E;
        if (c == 'E' && next_letter_is('S', 'N')) {
            e.kind = upper(text_[pos_]) == 'S' ? FormatKind::ES : FormatKind::EN;
            ++pos_;
        }
        if (int err = read_real_widths(e)) return err;
        has_data_ = true;
        return add(e);
    }

    // A[w] and L[w].
    constexpr int compile_character_or_logical(const Lead& lead, FormatEntry& e) {
        e.kind = lead.letter == 'A' ? FormatKind::A : FormatKind::L;
        e.repeat = lead.repeat();
        if (next_is_number()) {
            bool given = false;
            std::int64_t w = 0;
            read_signed_number(given, w);
            if (w < (lead.letter == 'L' ? 1 : 0) || w > max_format_width) return format_error::bad_format;
            e.w = static_cast<std::int32_t>(w);
            e.width_given = true;
        }
        has_data_ = true;
        return add(e);
    }

    // The end entry: the column after the format, whether it holds a data descriptor, and
    // the way back to where the format starts again when items remain.
    constexpr void add_end_entry() {
        FormatEntry end;
        end.kind = FormatKind::end;
        end.column = static_cast<std::uint32_t>(pos_);
        end.has_data = has_data_;
        end.repeat = static_cast<std::int32_t>(reversion_) - static_cast<std::int32_t>(entries_.size());
        entries_.push_back(end);
        entries_[0].repeat = levels_;
    }

    constexpr bool at_end() const { return pos_ >= text_.size(); }
    constexpr void skip_blanks() {
        while (!at_end() && is_blank(text_[pos_])) ++pos_;
    }
    constexpr CompileOutcome fail(int code) const { return {code, static_cast<std::uint32_t>(pos_ + 1)}; }
    constexpr CompileOutcome fail_at(int code, std::size_t at) const {
        return {code, static_cast<std::uint32_t>(at + 1)};
    }
    constexpr bool next_letter_is(char a, char b) {
        skip_blanks();
        if (at_end()) return false;
        const char n = upper(text_[pos_]);
        return n == a || n == b;
    }
    constexpr bool next_is_number() {
        std::size_t p = pos_;
        while (p < text_.size() && is_blank(text_[p])) ++p;
        return p < text_.size() && (is_digit(text_[p]) || text_[p] == '-' || text_[p] == '+');
    }

    // Digits with blanks anywhere among them; false when no digit was found.
    constexpr bool read_unsigned_number(std::int64_t& value) {
        skip_blanks();
        bool any = false;
        value = 0;
        while (!at_end() && (is_digit(text_[pos_]) || is_blank(text_[pos_]))) {
            if (is_digit(text_[pos_])) {
                any = true;
                if (value < (std::int64_t{1} << 40)) value = value * 10 + (text_[pos_] - '0');
            }
            ++pos_;
        }
        return any;
    }

    constexpr void read_signed_number(bool& present, std::int64_t& value) {
        skip_blanks();
        const std::size_t start = pos_;
        bool negative = false;
        if (!at_end() && (text_[pos_] == '-' || text_[pos_] == '+')) {
            negative = text_[pos_] == '-';
            ++pos_;
        }
        present = read_unsigned_number(value);
        if (!present) pos_ = start;
        if (negative) value = -value;
    }

    constexpr int read_quoted(char quote, FormatEntry& e) {
        e.kind = FormatKind::literal;
        e.literal_offset = static_cast<std::uint32_t>(pool_.size());
        std::int32_t length = 0;
        for (;;) {
            if (at_end()) return format_error::unmatched_quotes;
            const char ch = text_[pos_++];
            if (ch == quote) {
                if (!at_end() && text_[pos_] == quote) ++pos_;  // doubled: one quote character
                else break;
            }
            pool_.push_back(ch);
            ++length;
        }
        e.w = length;
        return 0;
    }

    // The w of a data descriptor, when one is written (`written`); a '.' without it is an
    // error. A sign alone counts as a width of 0.
    constexpr int read_width(bool& written, std::int64_t& w) {
        written = next_is_number();
        if (!written) return point_follows() ? format_error::bad_format : 0;
        bool digits = false;
        read_signed_number(digits, w);
        return (w < 0 || w > max_format_width) ? format_error::bad_format : 0;
    }

    constexpr bool point_follows() {
        skip_blanks();
        return !at_end() && text_[pos_] == '.';
    }

    // The number after the '.' the walk stands on: m of Iw.m, d of Fw.d.
    constexpr int read_after_point(std::int64_t& value) {
        ++pos_;
        bool given = false;
        read_signed_number(given, value);
        return (!given || value < 0 || value > max_format_width) ? format_error::bad_format : 0;
    }

    // Iw[.m], Bw[.m], Ow[.m], Zw[.m]; without w the width is chosen by the item.
    constexpr int read_integer_widths(FormatEntry& e) {
        bool written = false;
        std::int64_t w = 0;
        if (int err = read_width(written, w); err || !written) return err;
        e.w = static_cast<std::int32_t>(w);
        e.width_given = true;
        if (!point_follows()) return 0;
        std::int64_t m = 0;
        if (int err = read_after_point(m)) return err;
        e.d = static_cast<std::int32_t>(m);
        return 0;
    }

    // Fw.d, Dw.d[Ee], Ew.d[Ee|De], ENw.d[Ee], ESw.d[Ee], Gw.d[Ee], Qw.d; Gw alone serves
    // integer, logical and character items.
    constexpr int read_real_widths(FormatEntry& e) {
        bool written = false;
        std::int64_t w = 0;
        if (int err = read_width(written, w); err || !written) return err;
        if (w == 0 && e.kind == FormatKind::D) return format_error::bad_format;
        e.w = static_cast<std::int32_t>(w);
        e.width_given = true;
        if (!point_follows()) return e.kind == FormatKind::G ? 0 : format_error::bad_format;
        std::int64_t d = 0;
        if (int err = read_after_point(d)) return err;
        e.d = static_cast<std::int32_t>(d);
        if (e.kind == FormatKind::F || e.kind == FormatKind::Qwd) return 0;
        return next_letter_is('E', 'D') ? read_exponent_digits(e) : 0;
    }

    // The e of Ew.dEe (or Ew.dDe). A letter without digits after it is not an exponent
    // part: it starts the next descriptor.
    constexpr int read_exponent_digits(FormatEntry& e) {
        const bool d_letter = upper(text_[pos_]) == 'D';
        const std::size_t save = pos_;
        ++pos_;
        bool given = false;
        std::int64_t digits = 0;
        read_signed_number(given, digits);
        if (!given) {
            pos_ = save;
            return 0;
        }
        if (digits < 1 || digits > max_exponent_digits) return format_error::bad_format;
        e.exponent_digits = static_cast<std::uint8_t>(digits);
        e.d_exponent = d_letter;
        return 0;
    }

    std::string_view text_;
    Entries& entries_;
    Pool& pool_;
    std::size_t pos_ = 0;
    int depth_ = 1;
    int levels_ = 1;
    std::uint32_t reversion_ = 1;  // first entry after the header unless a top group exists
    bool has_data_ = false;
    std::uint32_t open_groups_[max_nesting]{};
    bool group_has_content_[max_nesting]{};
};

}  // namespace detail

// Compiles `text` (without a statement label) into `entries` and `pool`, which must offer
// push_back, size() and operator[] (std::vector serves both at build time and at run time).
template <class Entries, class Pool>
constexpr CompileOutcome compile_format_into(std::string_view text, Entries& entries, Pool& pool) {
    return detail::FormatCompiler<Entries, Pool>(text, entries, pool).run();
}

}  // namespace corvane::fmtio
