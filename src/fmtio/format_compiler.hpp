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

// Walks the text; blanks between tokens and inside numbers do not count.
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
        int depth = 1;
        int levels = 1;
        std::uint32_t reversion = 1;  // first entry after the header unless a top group exists
        bool has_data = false;

        for (;;) {
            skip_blanks();
            if (at_end()) return fail(format_error::unmatched_parens);
            bool has_count = false;
            std::int64_t count = 0;
            read_signed_number(has_count, count);
            skip_blanks();
            if (at_end()) return fail(format_error::unmatched_parens);
            const std::size_t letter_pos = pos_;
            const char c = upper(text_[pos_]);
            if (has_count && c != 'P' && (count < 1 || count > max_repeat_count))
                return fail_at(format_error::bad_repeat, letter_pos);
            const std::int32_t r = has_count ? static_cast<std::int32_t>(count) : 1;
            FormatEntry e;
            e.column = static_cast<std::uint32_t>(letter_pos + 1);
            ++pos_;

            if (c == '\'' || c == '"') {
                if (has_count) return fail_at(format_error::non_repeatable, letter_pos);
                if (int err = read_quoted(c, e)) return fail_at(err, letter_pos);
                entries_.push_back(e);
            } else if (c == 'H') {
                if (!has_count) return fail_at(format_error::bad_format, letter_pos);
                if (static_cast<std::size_t>(count) > text_.size() - pos_)
                    return fail_at(format_error::hollerith_overrun, letter_pos);
                e.kind = FormatKind::literal;
                e.literal_offset = static_cast<std::uint32_t>(pool_.size());
                e.w = r;
                for (std::int32_t i = 0; i < r; ++i) pool_.push_back(text_[pos_++]);
                entries_.push_back(e);
            } else if (c == '(') {
                if (depth >= max_nesting) return fail_at(format_error::buffer_allocation, letter_pos);
                e.kind = FormatKind::group_open;
                e.repeat = r;
                open_groups_[depth] = static_cast<std::uint32_t>(entries_.size());
                group_has_content_[depth] = false;
                if (depth == 1) reversion = static_cast<std::uint32_t>(entries_.size());
                ++depth;
                if (depth > levels) levels = depth;
                entries_.push_back(e);
            } else if (c == ')') {
                if (has_count) return fail_at(format_error::bad_repeat, letter_pos);
                --depth;
                if (depth == 0) break;
                e.kind = FormatKind::group_close;
                e.repeat = static_cast<std::int32_t>(open_groups_[depth]) -
                           static_cast<std::int32_t>(entries_.size());
                // A group with no descriptor in it, at any depth, is stepped over whole:
                // repeating nothing must not take time.
                if (group_has_content_[depth]) group_has_content_[depth - 1] = true;
                else entries_[open_groups_[depth]].w = -e.repeat;
                entries_.push_back(e);
            } else if (c == '/') {
                e.kind = FormatKind::slash;
                e.w = r;
                entries_.push_back(e);
            } else if (c == ':' || c == '$' || c == '\\') {
                if (has_count) return fail_at(format_error::non_repeatable, letter_pos);
                e.kind = c == ':' ? FormatKind::colon : FormatKind::dollar;
                entries_.push_back(e);
            } else if (c == 'P') {
                // Any sign, but no larger than a width: no field shows more digits.
                if (count < -max_format_width || count > max_format_width)
                    return fail_at(format_error::bad_format, letter_pos);
                e.kind = FormatKind::scale;
                e.repeat = has_count ? static_cast<std::int32_t>(count) : 0;
                entries_.push_back(e);
            } else if (c == 'X') {
                e.kind = FormatKind::tab_right;
                e.w = r;
                entries_.push_back(e);
            } else if (c == 'S') {
                if (has_count) return fail_at(format_error::non_repeatable, letter_pos);
                skip_blanks();
                const char n = at_end() ? ',' : upper(text_[pos_]);
                if (n == 'P') { e.kind = FormatKind::sign_plus; ++pos_; }
                else if (n == 'S') { e.kind = FormatKind::sign_suppress; ++pos_; }
                else if (n >= 'A' && n <= 'Z') return fail_at(format_error::bad_format, letter_pos);
                else e.kind = FormatKind::sign_default;
                entries_.push_back(e);
            } else if (c == 'T') {
                if (has_count) return fail_at(format_error::non_repeatable, letter_pos);
                skip_blanks();
                const char n = at_end() ? ',' : upper(text_[pos_]);
                e.kind = FormatKind::tab_to;
                if (n == 'L') { e.kind = FormatKind::tab_left; ++pos_; }
                else if (n == 'R') { e.kind = FormatKind::tab_right; ++pos_; }
                std::int64_t v = 0;
                if (!read_unsigned_number(v) || v > max_format_width)
                    return fail_at(format_error::bad_format, letter_pos);
                e.w = static_cast<std::int32_t>(v);
                entries_.push_back(e);
            } else if (c == 'B' && next_letter_is('N', 'Z')) {
                if (has_count) return fail_at(format_error::bad_repeat, letter_pos);
                e.kind = upper(text_[pos_]) == 'N' ? FormatKind::blank_null : FormatKind::blank_zero;
                ++pos_;
                entries_.push_back(e);
            } else if (c == 'I' || c == 'B' || c == 'O' || c == 'Z') {
                e.kind = c == 'I' ? FormatKind::I : c == 'B' ? FormatKind::B
                       : c == 'O' ? FormatKind::O : FormatKind::Z;
                e.repeat = r;
                e.d = 1;
                if (int err = read_integer_widths(e)) return fail_at(err, letter_pos);
                has_data = true;
                entries_.push_back(e);
            } else if (c == 'F' || c == 'D' || c == 'E' || c == 'G' || c == 'Q') {
                e.repeat = r;
                if (c == 'Q' && !next_is_number()) {
                    if (has_count) return fail_at(format_error::non_repeatable, letter_pos);
                    e.kind = FormatKind::Q;
                    entries_.push_back(e);
                } else {
                    e.kind = c == 'F' ? FormatKind::F : c == 'D' ? FormatKind::D
                           : c == 'G' ? FormatKind::G : c == 'Q' ? FormatKind::Qwd : FormatKind::E;
                    if (c == 'E' && next_letter_is('S', 'N')) {
                        e.kind = upper(text_[pos_]) == 'S' ? FormatKind::ES : FormatKind::EN;
                        ++pos_;
                    }
                    if (int err = read_real_widths(e)) return fail_at(err, letter_pos);
                    has_data = true;
                    entries_.push_back(e);
                }
            } else if (c == 'A' || c == 'L') {
                e.kind = c == 'A' ? FormatKind::A : FormatKind::L;
                e.repeat = r;
                if (next_is_number()) {
                    bool given = false;
                    std::int64_t w = 0;
                    read_signed_number(given, w);
                    if (w < (c == 'L' ? 1 : 0) || w > max_format_width)
                        return fail_at(format_error::bad_format, letter_pos);
                    e.w = static_cast<std::int32_t>(w);
                    e.width_given = true;
                }
                has_data = true;
                entries_.push_back(e);
            } else {
                return fail_at(format_error::bad_format, letter_pos);
            }

            if (c != '(' && c != ')') group_has_content_[depth - 1] = true;
            skip_blanks();
            if (!at_end() && text_[pos_] == ',') ++pos_;
        }

        FormatEntry end;
        end.kind = FormatKind::end;
        end.column = static_cast<std::uint32_t>(pos_);
        end.has_data = has_data;
        end.repeat = static_cast<std::int32_t>(reversion) - static_cast<std::int32_t>(entries_.size());
        entries_.push_back(end);
        entries_[0].repeat = levels;
        return {};
    }

private:
    static constexpr int max_nesting = 256;

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

    // Iw[.m], Bw[.m], Ow[.m], Zw[.m]; without w the width is chosen by the item.
    constexpr int read_integer_widths(FormatEntry& e) {
        if (!next_is_number()) {
            skip_blanks();
            return (!at_end() && text_[pos_] == '.') ? format_error::bad_format : 0;
        }
        bool given = false;
        std::int64_t w = 0;
        read_signed_number(given, w);
        if (w < 0 || w > max_format_width) return format_error::bad_format;
        e.w = static_cast<std::int32_t>(w);
        e.width_given = true;
        skip_blanks();
        if (!at_end() && text_[pos_] == '.') {
            ++pos_;
            std::int64_t m = 0;
            read_signed_number(given, m);
            if (!given || m < 0 || m > max_format_width) return format_error::bad_format;
            e.d = static_cast<std::int32_t>(m);
        }
        return 0;
    }

    // Fw.d, Dw.d[Ee], Ew.d[Ee|De], ENw.d[Ee], ESw.d[Ee], Gw.d[Ee], Qw.d.
    constexpr int read_real_widths(FormatEntry& e) {
        if (!next_is_number()) {
            skip_blanks();
            return (!at_end() && text_[pos_] == '.') ? format_error::bad_format : 0;
        }
        bool given = false;
        std::int64_t w = 0;
        read_signed_number(given, w);
        if (w < 0 || w > max_format_width) return format_error::bad_format;
        if (w == 0 && e.kind == FormatKind::D) return format_error::bad_format;
        skip_blanks();
        if (at_end() || text_[pos_] != '.') {
            // Gw alone serves integer, logical and character items.
            if (e.kind != FormatKind::G) return format_error::bad_format;
            e.w = static_cast<std::int32_t>(w);
            e.width_given = true;
            return 0;
        }
        ++pos_;
        std::int64_t d = 0;
        read_signed_number(given, d);
        if (!given || d < 0 || d > max_format_width) return format_error::bad_format;
        e.w = static_cast<std::int32_t>(w);
        e.d = static_cast<std::int32_t>(d);
        e.width_given = true;
        if (e.kind != FormatKind::F && e.kind != FormatKind::Qwd && next_letter_is('E', 'D')) {
            const bool d_letter = upper(text_[pos_]) == 'D';
            const std::size_t save = pos_;
            ++pos_;
            std::int64_t digits = 0;
            read_signed_number(given, digits);
            if (!given) {
                pos_ = save;  // not an exponent part: the letter starts the next descriptor
            } else {
                if (digits < 1 || digits > max_exponent_digits) return format_error::bad_format;
                e.exponent_digits = static_cast<std::uint8_t>(digits);
                e.d_exponent = d_letter;
            }
        }
        return 0;
    }

    std::string_view text_;
    Entries& entries_;
    Pool& pool_;
    std::size_t pos_ = 0;
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
