// Input editing: taking fields from the current record and storing item elements.
#pragma once

#include <cstddef>
#include <string_view>

#include "fmtio/edit_state.hpp"
#include "fmtio/format_program.hpp"
#include "fmtio/io_item.hpp"

namespace corvane::fmtio {

constexpr int illegal_numeric_character = 10016;
constexpr int read_past_end_of_record = 10038;

// The current input record and the position of the next character to take.
struct RecordReader {
    const char* data = nullptr;
    std::size_t length = 0;
    std::size_t position = 0;
    std::size_t taken = 0;        // characters the data descriptors transferred
    bool ran_short = false;       // a field reached past the end of the record
};

int edit_input(RecordReader& in, const EditState& state, const FormatEntry& e, const IoItem& item,
               void* element);

// Literals are skipped; X, T, TL, TR move; BN, BZ, P set the modes.
void execute_input_control(RecordReader& in, EditState& state, const FormatEntry& e);

// Conversions shared with list-directed input. Each returns 0 or a condition code.
int read_integer_field(std::string_view field, int base, bool blank_zero, const IoItem& item, void* element);
int read_real_field(std::string_view field, int implied_digits, int scale, bool blank_zero, int size,
                    void* element);
bool read_logical_field(std::string_view field);
void read_character_field(std::string_view field, const IoItem& item, void* element);

}  // namespace corvane::fmtio
