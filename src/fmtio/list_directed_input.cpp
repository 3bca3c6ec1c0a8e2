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
    // Blank and empty records before a value are passed over.
    for (;;) {
        RecordReader& in = source.current_record();
        while (in.position < in.length && is_blank(in.data[in.position])) ++in.position;
        if (in.position < in.length) break;
        if (int err = source.fetch_record()) return err;
    }
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
    std::size_t p = in.position;
    while (p < in.length && in.data[p] >= '0' && in.data[p] <= '9') ++p;
    if (p > in.position && p < in.length && in.data[p] == '*') {
        std::int64_t count = 0;
        for (std::size_t i = in.position; i < p; ++i) {
            count = count * 10 + (in.data[i] - '0');
            if (count > INT32_MAX) return format_error::bad_repeat;  // no 32-bit count holds it
        }
        repeat = static_cast<std::int32_t>(count);
        in.position = p + 1;
    }

    const bool at_value = in.position < in.length && !ends_value(in.data[in.position]);
    if (!at_value) {
        value = {ValueKind::null_value, {}, false};  // "r*" alone: r null values
    } else if (in.data[in.position] == '\'' || in.data[in.position] == '"') {
        value = {ValueKind::text, read_quoted(in, in.data[in.position]), true};
    } else if (in.data[in.position] == '(') {
        value = {ValueKind::text, read_parenthesised(in), false};
    } else {
        const std::size_t start = in.position;
        while (in.position < in.length && !ends_value(in.data[in.position])) ++in.position;
        value = {ValueKind::text, {in.data + start, in.position - start}, false};
    }
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
