#include "fmtio/input_editing.hpp"

#include <algorithm>
#include <cstring>
#include <memory>

#include "fmtio/element_value.hpp"
#include "fmtio/numeric_conversion.hpp"
#include "fmtio/output_editing.hpp"

namespace corvane::fmtio {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

// A numeric field after blank handling: leading blanks go; others are dropped (BN) or
// read as zeros (BZ). Short fields stay on the stack.
class NumericText {
public:
    NumericText(std::string_view field, bool blank_zero) {
        std::size_t i = 0;
        while (i < field.size() && is_blank(field[i])) ++i;
        field.remove_prefix(i);
        bool inner_blank = false;
        for (char c : field) inner_blank |= is_blank(c);
        if (!inner_blank) {
            text_ = field;
            return;
        }
        char* out = field.size() <= sizeof(local_) ? local_ : (heap_ = std::make_unique<char[]>(field.size())).get();
        std::size_t n = 0;
        for (char c : field) {
            if (is_blank(c)) {
                if (blank_zero) out[n++] = '0';
            } else {
                out[n++] = c;
            }
        }
        text_ = {out, n};
    }
    std::string_view text() const { return text_; }

private:
    std::string_view text_;
    char local_[128];
    std::unique_ptr<char[]> heap_;
};

int digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

bool is_numeric_descriptor(FormatKind k) {
    switch (k) {
        case FormatKind::I: case FormatKind::B: case FormatKind::O: case FormatKind::Z:
        case FormatKind::F: case FormatKind::E: case FormatKind::D: case FormatKind::G:
        case FormatKind::EN: case FormatKind::ES: case FormatKind::Qwd:
            return true;
        default:
            return false;
    }
}

// Takes a field of width w at the position. Short records give what is there when the
// unit pads; a comma ends a numeric field early.
[[gnu::always_inline]] inline int take_field(RecordReader& in, std::size_t w, bool numeric, bool pad,
                                                std::string_view& field) {
    const std::size_t start = in.position;
    const std::size_t available = start < in.length ? in.length - start : 0;
    std::size_t n = w;
    if (available < w) {
        if (!pad) return read_past_end_of_record;
        n = available;
        in.ran_short = true;
    }
    field = {in.data + start, n};
    in.taken += n;
    if (numeric) {
        // Fields are short: a plain loop beats a library search here.
        for (std::size_t i = 0; i < n; ++i) {
            if (field[i] == ',') {
                in.taken -= n - i;
                field = field.substr(0, i);
                in.position = start + i + 1;
                return 0;
            }
        }
    }
    in.position = start + w;
    return 0;
}

int default_integer_width(const IoItem& item) { return item.size <= 2 ? 7 : 12; }

int default_real_width(int size) { return size <= 4 ? 15 : size <= 8 ? 24 : 41; }

int store_real(double value8, float value4, __float128 value16, int size, void* element) {
    if (size == 4) std::memcpy(element, &value4, 4);
    else if (size == 8) std::memcpy(element, &value8, 8);
    else std::memcpy(element, &value16, 16);
    return 0;
}

}  // namespace

int read_integer_field(std::string_view field, int base, bool blank_zero, const IoItem& item, void* element) {
    if (base == 10 && read_plain_decimal(field, item, element)) return 0;
    const NumericText prepared(field, blank_zero);
    std::string_view text = prepared.text();
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        if (base != 10) return illegal_numeric_character;
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // 32-bit arithmetic wraps without an error; 8-byte items accumulate in 64 bits.
    std::uint64_t value = 0;
    for (char c : text) {
        const int digit = digit_value(c);
        if (digit >= base) return illegal_numeric_character;
        value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
        if (item.size < 8) value &= 0xFFFFFFFFu;
    }
    if (negative) value = ~value + 1;
    store_integer(element, item.size, static_cast<std::int64_t>(value));
    return 0;
}

int read_real_field(std::string_view field, int implied_digits, int scale, bool blank_zero, int size,
                    void* element) {
    const NumericText prepared(field, blank_zero);
    const std::string_view text = prepared.text();
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (i < text.size()) {
        const char first = text[i];
        if (first == 'I' || first == 'i' || first == 'N' || first == 'n') {  // infinity, NaN
            return store_real(digits_to_real8(text, 0), digits_to_real4(text, 0), digits_to_real16(text, 0),
                              size, element);
        }
    }
    // The mantissa, then an exponent: E, D or Q (either case), or a sign alone.
    char normal[160];
    std::unique_ptr<char[]> heap;
    char* out = text.size() + 2 <= sizeof(normal) ? normal : (heap = std::make_unique<char[]>(text.size() + 2)).get();
    std::size_t n = 0;
    bool has_point = false;
    bool has_exponent = false;
    for (std::size_t j = 0; j < text.size(); ++j) {
        const char c = text[j];
        if (c >= '0' && c <= '9') {
            out[n++] = c;
        } else if (c == '.') {
            if (!has_exponent) has_point = true;
            out[n++] = c;
        } else if (c == 'E' || c == 'e' || c == 'D' || c == 'd' || c == 'Q' || c == 'q') {
            has_exponent = true;
            out[n++] = 'E';
        } else if (c == '+' || c == '-') {
            if (j > 0 && !has_exponent) {  // "1.5+3" is 1.5E+3
                has_exponent = true;
                out[n++] = 'E';
            } else if (j > 0 && out[n - 1] != 'E') {
                return illegal_numeric_character;
            }
            out[n++] = c;
        } else {
            return illegal_numeric_character;
        }
    }
    const std::string_view normalised(out, n);
    int implied = 0;
    if (!has_point) implied -= implied_digits;
    if (!has_exponent) implied -= scale;
    if (size == 4) {
        const float v = digits_to_real4(normalised, implied);
        std::memcpy(element, &v, 4);
    } else if (size == 8) {
        const double v = digits_to_real8(normalised, implied);
        std::memcpy(element, &v, 8);
    } else {
        const __float128 v = digits_to_real16(normalised, implied);
        std::memcpy(element, &v, 16);
    }
    return 0;
}

bool read_logical_field(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && is_blank(field[i])) ++i;
    if (i < field.size() && field[i] == '.') ++i;
    return i < field.size() && (field[i] == 'T' || field[i] == 't');
}

void read_character_field(std::string_view field, const IoItem& item, void* element) {
    const std::size_t length = item.type == TypeClass::character ? item.char_length : item.size;
    text_assign(static_cast<char*>(element), length, field);
}

namespace {

// What an item's field is taken with: the record, the edit state, the descriptor, and
// whether the descriptor is numeric (a comma then ends the field early).
struct FieldRequest {
    RecordReader& in;
    const EditState& state;
    const FormatEntry& e;
    bool numeric;
};

int read_integer_item(const FieldRequest& r, FormatKind kind, const IoItem& item, void* element) {
    if (item.type != TypeClass::integer && item.type != TypeClass::logical) return type_mismatch;
    const int w = r.e.width_given ? r.e.w : default_integer_width(item);
    std::string_view field;
    if (int err = take_field(r.in, static_cast<std::size_t>(w), r.numeric, r.state.pad, field)) return err;
    if (kind == FormatKind::I && read_plain_decimal(field, item, element)) return 0;  // the usual field
    const int base = kind == FormatKind::I ? 10 : kind == FormatKind::B ? 2 : kind == FormatKind::O ? 8 : 16;
    return read_integer_field(field, base, r.state.blank_zero, item, element);
}

int read_real_item(const FieldRequest& r, const IoItem& item, void* element) {
    if (item.type != TypeClass::real && item.type != TypeClass::complex) return type_mismatch;
    if (item.size != 4 && item.size != 8 && item.size != 16) return type_mismatch;
    const int w = r.e.width_given ? r.e.w : default_real_width(item.size);
    std::string_view field;
    if (int err = take_field(r.in, static_cast<std::size_t>(w), r.numeric, r.state.pad, field)) return err;
    const int d = r.e.width_given ? r.e.d : 0;
    return read_real_field(field, d, r.state.scale, r.state.blank_zero, item.size, element);
}

int read_logical_item(const FieldRequest& r, const IoItem& item, void* element) {
    if (item.type != TypeClass::logical && item.type != TypeClass::integer) return type_mismatch;
    const int w = r.e.width_given ? r.e.w : 2;
    std::string_view field;
    if (int err = take_field(r.in, static_cast<std::size_t>(w), false, r.state.pad, field)) return err;
    store_integer(element, item.size, read_logical_field(field) ? 1 : 0);
    return 0;
}

int read_character_item(const FieldRequest& r, const IoItem& item, void* element) {
    RecordReader& in = r.in;
    const std::size_t length = item.type == TypeClass::character ? item.char_length : item.size;
    const std::size_t w = r.e.width_given ? static_cast<std::size_t>(r.e.w) : length;
    const std::size_t start = in.position;
    std::string_view field;
    if (int err = take_field(in, w, false, r.state.pad, field)) return err;
    if (w > length) {
        // The rightmost characters of the field, as far as the record holds them.
        const std::size_t from = start + (w - length);
        const std::size_t end = std::min(start + w, in.length);
        field = from < end ? std::string_view(in.data + from, end - from) : std::string_view{};
    }
    text_assign(static_cast<char*>(element), length, field);
    return 0;
}

// Q: the characters left in the record.
int read_remaining_count(const RecordReader& in, const IoItem& item, void* element) {
    if (item.type != TypeClass::integer) return type_mismatch;
    const std::size_t left = in.position < in.length ? in.length - in.position : 0;
    store_integer(element, item.size, static_cast<std::int64_t>(left));
    return 0;
}

// G reads as the item's own descriptor would.
FormatKind reading_kind(FormatKind kind, const IoItem& item) {
    if (kind != FormatKind::G) return kind;
    return item.type == TypeClass::integer ? FormatKind::I
         : item.type == TypeClass::logical ? FormatKind::L
         : item.type == TypeClass::character ? FormatKind::A : FormatKind::F;
}

}  // namespace

int edit_input(RecordReader& in, const EditState& state, const FormatEntry& e, const IoItem& item,
               void* element) {
    const FieldRequest request{in, state, e, is_numeric_descriptor(e.kind)};
    switch (const FormatKind kind = reading_kind(e.kind, item)) {
        case FormatKind::I:
        case FormatKind::B:
        case FormatKind::O:
        case FormatKind::Z:
            return read_integer_item(request, kind, item, element);
        case FormatKind::F:
        case FormatKind::E:
        case FormatKind::D:
        case FormatKind::EN:
        case FormatKind::ES:
        case FormatKind::Qwd:
            return read_real_item(request, item, element);
        case FormatKind::L: return read_logical_item(request, item, element);
        case FormatKind::A: return read_character_item(request, item, element);
        case FormatKind::Q: return read_remaining_count(in, item, element);
        default: return type_mismatch;
    }
}

void execute_input_control(RecordReader& in, EditState& state, const FormatEntry& e) {
    switch (e.kind) {
        case FormatKind::literal: in.position += static_cast<std::size_t>(e.w); break;
        case FormatKind::tab_right: in.position += static_cast<std::size_t>(e.w); break;
        case FormatKind::tab_to: in.position = static_cast<std::size_t>(e.w > 0 ? e.w - 1 : 0); break;
        case FormatKind::tab_left: {
            const auto n = static_cast<std::size_t>(e.w);
            in.position = in.position >= n ? in.position - n : 0;
            break;
        }
        case FormatKind::scale: state.scale = e.repeat; break;
        case FormatKind::blank_null: state.blank_zero = false; break;
        case FormatKind::blank_zero: state.blank_zero = true; break;
        case FormatKind::sign_plus: state.sign_plus = true; break;
        case FormatKind::sign_default:
        case FormatKind::sign_suppress: state.sign_plus = false; break;
        default: break;
    }
}

}  // namespace corvane::fmtio
