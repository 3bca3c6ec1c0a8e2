#include "fmtio/output_editing.hpp"

#include <algorithm>
#include <cstring>

#include "fmtio/element_value.hpp"
#include "fmtio/numeric_conversion.hpp"

namespace corvane::fmtio {

namespace {

enum class ExponentLetter : char { E = 'E', D = 'D', Q = 'Q' };

// F editing; the G and list-directed paths use it as well.
void edit_real_fixed(RecordWriter& out, const EditState& state, const IoItem& item, const void* element,
                     int w, int d, bool minimal);

// Widths chosen by the item when the descriptor gives none.
struct RealDefaults {
    int w, d, e;
};
RealDefaults real_defaults(int size) {
    if (size <= 4) return {15, 6, 2};
    if (size <= 8) return {24, 15, 3};
    return {41, 32, 3};
}
int integer_default_width(const IoItem& item) { return item.size <= 2 ? 7 : 12; }

void asterisks(RecordWriter& out, int w) { out.put('*', static_cast<std::size_t>(std::max(w, 0))); }

char digit_at(const DigitString& ds, int index) {
    return (index >= 0 && index < ds.count) ? ds.digits[index] : '0';
}

bool all_zero(const DigitString& ds) {
    for (int i = 0; i < ds.count; ++i) {
        if (ds.digits[i] != '0') return false;
    }
    return true;
}

// INF and NaN, right-justified with a sign position for a negative value or SP.
void edit_special(RecordWriter& out, const EditState& state, const DigitString& ds, int w) {
    const bool sign = ds.negative || state.sign_plus;
    const int needed = 3 + (sign ? 1 : 0);
    if (w == 0) w = needed;
    if (w < needed) return asterisks(out, w);
    out.put(' ', static_cast<std::size_t>(w - needed));
    if (sign) out.put(ds.negative ? '-' : '+', 1);
    out.put(ds.special == DigitString::Special::infinity ? "INF" : "NaN", 3);
}

char sign_char(bool negative, const EditState& state) {
    return negative ? '-' : (state.sign_plus ? '+' : '\0');
}

// ---- integers: I, B, O, Z ----

int edit_integer(RecordWriter& out, const EditState& state, const FormatEntry& e, const IoItem& item,
                 const void* element) {
    const std::int64_t value = load_integer(element, item.size);
    const int base = e.kind == FormatKind::I ? 10 : e.kind == FormatKind::B ? 2 : e.kind == FormatKind::O ? 8 : 16;
    char text[80];
    int length = 0;
    if (base == 10 && value > 0 && state.sign_plus) text[length++] = '+';
    length += integer_to_text(value, item.size, base, e.d, state.hex_uppercase, text + length);
    // A zero with no minimum digits has an empty text; under SP it is one blank.
    if (length == 0 && base == 10 && state.sign_plus) text[length++] = ' ';
    int w = e.width_given ? e.w : integer_default_width(item);
    if (w == 0) w = length;
    if (length > w) return asterisks(out, w), 0;
    char* at = out.reserve(static_cast<std::size_t>(w));  // one step: blanks, then the digits
    std::memset(at, ' ', static_cast<std::size_t>(w - length));
    std::memcpy(at + (w - length), text, static_cast<std::size_t>(length));
    out.advance(static_cast<std::size_t>(w));
    return 0;
}

// ---- exponent forms: E, D, Q, ES, EN ----

// The exponent field: letter, sign and e digits; the letter gives way to a third digit
// when e is 2. Returns its length, or 0 when it cannot be written.
int exponent_text(int exponent, int e_given, ExponentLetter letter, char* text) {
    const int e = e_given > 0 ? e_given : 2;
    const int magnitude = exponent < 0 ? -exponent : exponent;
    char digits[12];
    const int nd = integer_to_text(magnitude, 4, 10, 1, false, digits);
    int length = 0;
    if (nd <= e) {
        text[length++] = static_cast<char>(letter);
        text[length++] = exponent < 0 ? '-' : '+';
        for (int i = nd; i < e; ++i) text[length++] = '0';
    } else if (nd == 3 && e == 2) {
        text[length++] = exponent < 0 ? '-' : '+';
    } else {
        return 0;
    }
    std::memcpy(text + length, digits, static_cast<std::size_t>(nd));
    return length + nd;
}

void edit_real_exponent(RecordWriter& out, const EditState& state, const IoItem& item, const void* element,
                        FormatKind kind, int w, int d, int e, bool minimal, ExponentLetter letter) {
    const bool zero = element_is_zero(element, item.size);
    int k = (kind == FormatKind::ES || kind == FormatKind::EN) ? 0 : state.scale;
    int before_point = 0;  // significant digits in front of the point
    int significant = 0;
    int leading_zeros = 0; // zeros between the point and the first significant digit
    if (kind == FormatKind::ES) {
        before_point = 1;
        significant = d + 1;
    } else if (kind == FormatKind::EN) {
        const DigitString rough = element_digits(element, item.size, d + 3, RealForm::floating);
        const int c = zero ? 1 : rough.integer_digits;
        before_point = ((c - 1) % 3 + 3) % 3 + 1;
        significant = before_point + d;
    } else if (k > 0) {
        if (k >= d + 2) return asterisks(out, minimal ? 1 : w);
        before_point = k;
        significant = d + 1;
    } else {
        if (k <= -d) return asterisks(out, minimal ? 1 : w);
        leading_zeros = -k;
        significant = d + k;
    }

    DigitString ds = element_digits(element, item.size, significant, RealForm::floating);
    if (ds.special != DigitString::Special::none) return edit_special(out, state, ds, minimal ? 0 : w);
    if (kind == FormatKind::EN && !zero) {
        // Rounding may have carried into a new digit: keep the exponent a multiple of 3.
        const int again = ((ds.integer_digits - 1) % 3 + 3) % 3 + 1;
        if (again != before_point) {
            before_point = again;
            significant = before_point + d;
            ds = element_digits(element, item.size, significant, RealForm::floating);
        }
    }
    const int exponent = zero ? 0 : ds.integer_digits - (kind == FormatKind::ES || kind == FormatKind::EN
                                                            ? before_point : k);
    char exp_text[2 + max_exponent_digits];  // letter or sign, sign, e digits
    const int exp_length = exponent_text(exponent, e, letter, exp_text);
    const bool negative = ds.negative && !zero;
    const char sign = sign_char(negative, state);
    const int fraction = significant - before_point + leading_zeros;
    const int body = before_point + 1 + fraction + exp_length;
    const bool lead_room = before_point == 0 && !state.no_lead_zero;
    if (minimal) w = (sign ? 1 : 0) + body + (lead_room ? 1 : 0);
    const int avail = w - (sign ? 1 : 0);
    if (exp_length == 0 || body > avail) return asterisks(out, w);
    const bool lead_zero = lead_room && avail >= body + 1;
    out.put(' ', static_cast<std::size_t>(avail - body - (lead_zero ? 1 : 0)));
    if (sign) out.put(sign, 1);
    if (lead_zero) out.put('0', 1);
    int next = 0;
    for (int i = 0; i < before_point; ++i) out.put(digit_at(ds, next++), 1);
    out.put('.', 1);
    out.put('0', static_cast<std::size_t>(leading_zeros));
    for (int i = leading_zeros; i < fraction; ++i) out.put(digit_at(ds, next++), 1);
    out.put(exp_text, static_cast<std::size_t>(exp_length));
}

// ---- G: the fixed form for values of moderate size, else the exponent form ----

void edit_real_general(RecordWriter& out, const EditState& state, const IoItem& item, const void* element,
                       int w, int d, int e) {
    const int blanks_after = (e > 0 ? e : 2) + 2;
    const bool zero = element_is_zero(element, item.size);
    const DigitString ds = element_digits(element, item.size, d, RealForm::floating);
    if (ds.special != DigitString::Special::none) return edit_special(out, state, ds, w);
    const int c = zero ? 0 : ds.integer_digits;
    if (d > 0 && w > blanks_after && (zero || (c >= 0 && c <= d))) {
        EditState fixed = state;
        fixed.scale = 0;
        edit_real_fixed(out, fixed, item, element, w - blanks_after, zero ? d - 1 : d - c, false);
        out.put(' ', static_cast<std::size_t>(blanks_after));
        return;
    }
    edit_real_exponent(out, state, item, element, FormatKind::E, w, d, e, false, ExponentLetter::E);
}

int edit_real(RecordWriter& out, const EditState& state, const FormatEntry& e, const IoItem& item,
              const void* element) {
    if (item.size != 4 && item.size != 8 && item.size != 16) return type_mismatch;
    const RealDefaults defaults = real_defaults(item.size);
    const int w = e.width_given ? e.w : defaults.w;
    const int d = e.width_given ? e.d : defaults.d;
    const int exp_digits = e.exponent_digits ? e.exponent_digits : (e.width_given ? 0 : defaults.e);
    const bool minimal = e.width_given && e.w == 0;
    switch (e.kind) {
        case FormatKind::F:
            edit_real_fixed(out, state, item, element, w, d, minimal);
            return 0;
        case FormatKind::G:
            edit_real_general(out, state, item, element, minimal ? d + 7 : w, d, exp_digits);
            return 0;
        case FormatKind::D:
            edit_real_exponent(out, state, item, element, e.kind, w, d, exp_digits, minimal, ExponentLetter::D);
            return 0;
        case FormatKind::Qwd:
            edit_real_exponent(out, state, item, element, e.kind, w, d, exp_digits, minimal, ExponentLetter::Q);
            return 0;
        default:
            edit_real_exponent(out, state, item, element, e.kind, w, d, exp_digits, minimal,
                               e.d_exponent ? ExponentLetter::D : ExponentLetter::E);
            return 0;
    }
}

// ---- A and L ----

void edit_character(RecordWriter& out, const FormatEntry& e, const char* chars, std::size_t length) {
    if (!e.width_given) return out.put(chars, length);
    const auto w = static_cast<std::size_t>(e.w);
    if (w >= length) {
        out.put(' ', w - length);
        out.put(chars, length);
    } else {
        out.put(chars, w);
    }
}

void edit_logical(RecordWriter& out, const FormatEntry& e, bool value) {
    const int w = e.width_given ? std::max(e.w, 1) : 2;  // G0 of a logical: its one letter
    out.put(' ', static_cast<std::size_t>(w - 1));
    out.put(value ? 'T' : 'F', 1);
}

void edit_real_fixed(RecordWriter& out, const EditState& state, const IoItem& item, const void* element,
                     int w, int d, bool minimal) {
    const int k = state.scale;
    const DigitString ds = element_digits(element, item.size, d + k, RealForm::fixed);
    if (ds.special != DigitString::Special::none) return edit_special(out, state, ds, minimal ? 0 : w);
    const bool exact_zero = element_is_zero(element, item.size);
    const bool negative = ds.negative && !exact_zero;  // -0.0 prints as zero without a sign
    const bool rounds_to_zero = all_zero(ds);

    if (d == 0 && rounds_to_zero) {  // below 0.5 with no decimals: "0." and no sign
        if (minimal) w = 2;
        if (w < 2) return asterisks(out, w);
        out.put(' ', static_cast<std::size_t>(w - 2));
        out.put("0.", 2);
        return;
    }
    // A value that rounds to 0 has no integer digits, whatever the scale factor.
    const int integer_digits = rounds_to_zero ? 0 : ds.integer_digits + k;
    const int shown_integer = integer_digits > 0 ? integer_digits : 0;
    const int body = shown_integer + 1 + d;
    const char sign = sign_char(negative, state);
    const bool lead_room = shown_integer == 0 && !state.no_lead_zero;
    if (minimal) w = (sign ? 1 : 0) + body + (lead_room ? 1 : 0);
    const int avail = w - (sign ? 1 : 0);
    if (body > avail) return asterisks(out, w);
    const bool lead_zero = lead_room && avail >= body + 1;
    char* at = out.reserve(static_cast<std::size_t>(w));
    int n = 0;
    for (int i = avail - body - (lead_zero ? 1 : 0); i > 0; --i) at[n++] = ' ';
    if (sign) at[n++] = sign;
    if (lead_zero) at[n++] = '0';
    for (int i = 0; i < shown_integer; ++i) at[n++] = digit_at(ds, i);
    at[n++] = '.';
    for (int i = 0; i < d; ++i) at[n++] = digit_at(ds, integer_digits + i);
    out.advance(static_cast<std::size_t>(n));
}

}  // namespace

int edit_output(RecordWriter& out, const EditState& state, const FormatEntry& e, const IoItem& item,
                const void* element) {
    switch (e.kind) {
        case FormatKind::I:
            if (item.type != TypeClass::integer && item.type != TypeClass::logical) return type_mismatch;
            return edit_integer(out, state, e, item, element);
        case FormatKind::B:
        case FormatKind::O:
        case FormatKind::Z:
            if (item.type == TypeClass::character) return type_mismatch;
            return edit_integer(out, state, e, item, element);
        case FormatKind::F:
        case FormatKind::E:
        case FormatKind::D:
        case FormatKind::Qwd:
            if (item.type == TypeClass::integer) {
                // An integer of 4 or 8 bytes under a real descriptor is edited as the real
                // of its value; a real descriptor fits no item of 1 or 2 bytes.
                if (item.size < 4) return type_mismatch;
                const double as_real = static_cast<double>(load_integer(element, item.size));
                const IoItem real{TypeClass::real, 8, nullptr, 0, 1};
                return edit_real(out, state, e, real, &as_real);
            }
            if (item.type != TypeClass::real && item.type != TypeClass::complex) return type_mismatch;
            return edit_real(out, state, e, item, element);
        case FormatKind::ES:
        case FormatKind::EN:
            if (item.type != TypeClass::real && item.type != TypeClass::complex) return type_mismatch;
            return edit_real(out, state, e, item, element);
        case FormatKind::G:
            switch (item.type) {
                case TypeClass::integer: {
                    FormatEntry as_i = e;
                    as_i.kind = FormatKind::I;
                    as_i.d = 1;
                    return edit_integer(out, state, as_i, item, element);
                }
                case TypeClass::logical: edit_logical(out, e, load_integer(element, item.size) != 0); return 0;
                case TypeClass::character:
                    edit_character(out, e, static_cast<const char*>(element), item.char_length);
                    return 0;
                default: return edit_real(out, state, e, item, element);
            }
        case FormatKind::L:
            if (item.type != TypeClass::logical && item.type != TypeClass::integer) return type_mismatch;
            edit_logical(out, e, load_integer(element, item.size) != 0);
            return 0;
        case FormatKind::A:
            if (item.type == TypeClass::character)
                edit_character(out, e, static_cast<const char*>(element), item.char_length);
            else  // a numeric item holds its bytes as characters
                edit_character(out, e, static_cast<const char*>(element), item.size);
            return 0;
        case FormatKind::Q:
            return 0;  // the remaining-character count has no output
        default:
            return type_mismatch;
    }
}

void execute_output_control(RecordWriter& out, EditState& state, const FormatEntry& e, FormatRef format) {
    switch (e.kind) {
        case FormatKind::literal: {
            const std::string_view text = format.literal(e);
            out.put(text.data(), text.size());
            break;
        }
        case FormatKind::tab_right: out.position += static_cast<std::size_t>(e.w); break;
        case FormatKind::tab_to: out.position = out.left_tab_limit + static_cast<std::size_t>(e.w > 0 ? e.w - 1 : 0); break;
        case FormatKind::tab_left: {
            const auto n = static_cast<std::size_t>(e.w);
            out.position = out.position >= out.left_tab_limit + n ? out.position - n : out.left_tab_limit;
            break;
        }
        case FormatKind::scale: state.scale = e.repeat; break;
        case FormatKind::sign_plus: state.sign_plus = true; break;
        case FormatKind::sign_default:
        case FormatKind::sign_suppress: state.sign_plus = false; break;
        case FormatKind::blank_null: state.blank_zero = false; break;
        case FormatKind::blank_zero: state.blank_zero = true; break;
        case FormatKind::dollar: state.suppress_line_end = true; break;
        default: break;
    }
}

int list_output(RecordWriter& out, const EditState& modes, const IoItem& item, const void* element,
                bool& after_character) {
    const bool was_character = after_character;
    after_character = item.type == TypeClass::character;
    switch (item.type) {
        case TypeClass::character: {
            if (!was_character) out.put(' ', 1);
            out.put(static_cast<const char*>(element), item.char_length);
            return 0;
        }
        case TypeClass::integer: {
            const std::int64_t value = load_integer(element, item.size);
            char text[24];
            const int length = integer_to_text(value, item.size, 10, 1, false, text);
            const int w = item.size <= 4 ? 12 : 24;
            if (length > w) return asterisks(out, w), 0;
            out.put(' ', value < 0 ? 1 : 2);
            out.put(text, static_cast<std::size_t>(length));
            return 0;
        }
        case TypeClass::logical:
            out.put(' ', 1);
            out.put(load_integer(element, item.size) != 0 ? 'T' : 'F', 1);
            return 0;
        case TypeClass::real: {
            const RealDefaults g = real_defaults(item.size);
            EditState state = modes;
            state.scale = 1;
            edit_real_general(out, state, item, element, g.w, g.d, g.e);
            return 0;
        }
        case TypeClass::complex: {
            const RealDefaults g = real_defaults(item.size / 2);
            const IoItem part{TypeClass::real, static_cast<std::uint8_t>(item.size / 2), nullptr, 0, 1};
            EditState state = modes;
            state.scale = 1;
            out.put(" (", 2);
            edit_real_general(out, state, part, element, g.w, g.d, g.e);
            out.put(',', 1);
            edit_real_general(out, state, part, static_cast<const char*>(element) + item.size / 2, g.w, g.d, g.e);
            out.put(')', 1);
            return 0;
        }
    }
    return type_mismatch;
}

}  // namespace corvane::fmtio
