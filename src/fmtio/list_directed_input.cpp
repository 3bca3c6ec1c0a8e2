#include "fmtio/list_directed_input.hpp"

#include <cstdint>
#include <cstring>

#include "fmtio/element_value.hpp"
#include "fmtio/output_editing.hpp"

namespace corvane::fmtio {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool ends_value(char c) { return is_blank(c) || c == ',' || c == '/'; }

}  // namespace

void ListInput::start() {
    slash_seen_ = false;
    repeat_left_ = 0;
}

void ListInput::skip_separator(RecordReader& in) {
    while (in.position < in.length && is_blank(in.data[in.position])) ++in.position;
    if (in.position < in.length && in.data[in.position] == ',') ++in.position;
}

std::string_view ListInput::read_quoted(RecordReader& in, char quote) {
    quoted_.clear();
    ++in.position;  // the opening delimiter
    while (in.position < in.length) {
        const char c = in.data[in.position++];
        if (c == quote) {
            if (in.position < in.length && in.data[in.position] == quote) {
                ++in.position;  // a doubled delimiter stands for one
            } else {
                break;
            }
        }
        quoted_.push_back(c);
    }
    return quoted_;
}

std::string_view ListInput::read_parenthesised(RecordReader& in) {
    const std::size_t start = in.position;
    while (in.position < in.length && in.data[in.position] != ')') ++in.position;
    if (in.position < in.length) ++in.position;
    return {in.data + start, in.position - start};
}

// Blank and empty records before a value are passed over.
int ListInput::skip_to_value(RecordSource& source) {
    for (;;) {
        RecordReader& in = source.current_record();
        while (in.position < in.length && is_blank(in.data[in.position])) ++in.position;
        if (in.position < in.length) return 0;
        if (int err = source.fetch_record()) return err;
    }
}

// "r*" in front of a value: the count, 1 when there is none.
int ListInput::read_repeat_count(RecordReader& in, std::int32_t& repeat) {
    repeat = 1;
    std::size_t p = in.position;
    while (p < in.length && in.data[p] >= '0' && in.data[p] <= '9') ++p;
    if (p == in.position || p >= in.length || in.data[p] != '*') return 0;
    std::int64_t count = 0;
    for (std::size_t i = in.position; i < p; ++i) {
        count = count * 10 + (in.data[i] - '0');
        if (count > INT32_MAX) return format_error::bad_repeat;  // no 32-bit count holds it
    }
    repeat = static_cast<std::int32_t>(count);
    in.position = p + 1;
    return 0;
}

// The value at the position: quoted, parenthesised, or up to a separator; a null value
// when a separator (or the record's end) stands there.
ListInput::Value ListInput::read_value(RecordReader& in) {
    if (in.position >= in.length || ends_value(in.data[in.position])) return {ValueKind::null_value, {}, false};
    const char first = in.data[in.position];
    if (first == '\'' || first == '"') return {ValueKind::text, read_quoted(in, first), true};
    if (first == '(') return {ValueKind::text, read_parenthesised(in), false};
    const std::size_t start = in.position;
    while (in.position < in.length && !ends_value(in.data[in.position])) ++in.position;
    return {ValueKind::text, {in.data + start, in.position - start}, false};
}

int ListInput::next_value(RecordSource& source, Value& value) {
    if (slash_seen_) {
        value = {ValueKind::slash, {}, false};
        return 0;
    }
    if (repeat_left_ > 0) {
        --repeat_left_;
        value = repeated_;
        return 0;
    }
    if (int err = skip_to_value(source)) return err;
    RecordReader& in = source.current_record();
    const char first = in.data[in.position];
    if (first == ',') {  // a comma with no value before it
        ++in.position;
        value = {ValueKind::null_value, {}, false};
        return 0;
    }
    if (first == '/') {
        slash_seen_ = true;
        value = {ValueKind::slash, {}, false};
        return 0;
    }
    std::int32_t repeat = 1;
    if (int err = read_repeat_count(in, repeat)) return err;
    value = read_value(in);  // "r*" alone: r null values
    skip_separator(in);
    if (repeat > 1) {
        repeat_left_ = repeat - 1;
        repeated_ = value;
    }
    return 0;
}

int ListInput::read_element(RecordSource& source, const IoItem& item, void* element) {
    Value value;
    if (int err = next_value(source, value)) return err;
    if (value.kind != ValueKind::text) return 0;  // the element keeps its content
    switch (item.type) {
        case TypeClass::logical:
            store_integer(element, item.size, read_logical_field(value.text) ? 1 : 0);
            return 0;
        case TypeClass::integer:
            return read_integer_field(value.text, 10, false, item, element);
        case TypeClass::real:
            return read_real_field(value.text, 0, 0, false, item.size, element);
        case TypeClass::complex: {
            // (real, imaginary)
            std::string_view text = value.text;
            if (!text.empty() && text.front() == '(') text.remove_prefix(1);
            if (!text.empty() && text.back() == ')') text.remove_suffix(1);
            const std::size_t comma = text.find(',');
            const int half = item.size / 2;
            if (int err = read_real_field(text.substr(0, comma), 0, 0, false, half, element)) return err;
            if (comma == std::string_view::npos) return 0;
            return read_real_field(text.substr(comma + 1), 0, 0, false, half, static_cast<char*>(element) + half);
        }
        case TypeClass::character:
            read_character_field(value.text, item, element);
            return 0;
    }
    return type_mismatch;
}

}  // namespace corvane::fmtio
