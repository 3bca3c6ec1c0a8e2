// List-directed input: values separated by blanks, tabs or commas, with null values,
// repeat counts, quoted character values and a slash that ends the READ.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "fmtio/input_editing.hpp"
#include "fmtio/io_item.hpp"

namespace corvane::fmtio {

// Gives the list reader its records; a statement implements it.
class RecordSource {
public:
    virtual int fetch_record() = 0;  // 0, or a condition code (end of file included)
    virtual const RecordReader& current_record() const = 0;
    virtual RecordReader& current_record() = 0;

protected:
    ~RecordSource() = default;
};

class ListInput {
public:
    void start();
    // Reads the next value into one element; null values and values after a slash leave
    // the element as it was. Returns 0 or a condition code.
    int read_element(RecordSource& source, const IoItem& item, void* element);

private:
    enum class ValueKind : std::uint8_t { null_value, text, slash };
    struct Value {
        ValueKind kind = ValueKind::null_value;
        std::string_view text;
        bool quoted = false;
    };

    int next_value(RecordSource& source, Value& value);
    static int skip_to_value(RecordSource& source);
    static int read_repeat_count(RecordReader& in, std::int32_t& repeat);
    Value read_value(RecordReader& in);
    static void skip_separator(RecordReader& in);
    std::string_view read_quoted(RecordReader& in, char quote);
    std::string_view read_parenthesised(RecordReader& in);

    bool slash_seen_ = false;
    std::int32_t repeat_left_ = 0;
    Value repeated_;
    std::string quoted_;  // a quoted value with its doubled delimiters undone
};

}  // namespace corvane::fmtio
