// One connected unit: its file (or console stream), its buffer and its connection modes.
#pragma once

#include <climits>
#include <cstdint>
#include <memory>
#include <string>

#include "units/output_tap.hpp"
#include "units/stream.hpp"

namespace corvane::units {

// Unit numbers of the console units.
constexpr int unit_default = -1;     // the unit omitted in a data transfer
constexpr int unit_console_in = -2;
constexpr int unit_console_out = -3;
constexpr int unit_console_err = -4;

constexpr int file_buffer_size = 8192;
constexpr int disk_file_buffer_size = 1 << 18;  // disk files: few, large transfers
constexpr int console_buffer_size = 256;

enum class Form : std::uint8_t { formatted, unformatted, binary };
enum class Access : std::uint8_t { sequential, direct, transparent, window };
enum class PositionMode : std::uint8_t { as_is, rewind, append };
enum class OpenStatus : std::uint8_t { unknown, old_file, new_file, scratch, replace };
enum class Delimiter : std::uint8_t { none, apostrophe, quote };
enum class ByteOrder : std::uint8_t { native, big_endian, little_endian };

// What the buffer holds at the moment.
enum class BufferState : std::uint8_t { empty, reading, writing };

struct ModeBits {
    bool can_read = true;
    bool can_write = true;
    Form form = Form::formatted;
    Access access = Access::sequential;
    OpenStatus status = OpenStatus::unknown;
    PositionMode position = PositionMode::as_is;
    bool blank_zero = false;
    bool pad = true;
    bool carriage_control = false;   // records end with the companion character alone
    ByteOrder byte_order = ByteOrder::native;
    bool end_of_file_written = false;  // a documented field; the program does not use it
    bool truncate_pending = false;
    bool is_character_device = false;
    bool pending_output = false;       // a documented field; the program does not use it
    bool delete_on_close = false;    // scratch files and the deleting dispositions
};

struct SpecialFlags {
    bool is_disk_file = false;
    bool binary_form = false;  // a documented field; the program does not use it (see `mode.form`)
    bool transparent_access = false;
};

struct ConnectionRecord {
    std::int32_t unit_number = 0;
    std::int32_t data_length = 0;       // valid bytes in the buffer
    std::int32_t buffer_position = 0;   // next byte to transfer
    std::int32_t buffer_size = 0;
    std::unique_ptr<char[]> buffer;
    ModeBits mode;
    std::int32_t error = 0;             // system error code of the last file operation
    std::int32_t tab_width = 8;
    std::int64_t record_number = 0;     // records transferred since the start of the file
    std::string file_name;
    std::int32_t record_length = INT32_MAX;
    std::int32_t records_per_block = 0;  // a documented field; the program does not use it
    std::int64_t append_base = 0;        // set by an open with append; the program does not read it
    std::int64_t record_count = 0;       // a documented field; the program does not use it
    std::int32_t maximum_record = INT32_MAX;
    Delimiter delimiter = Delimiter::none;
    SpecialFlags special;
    std::int32_t block_size = file_buffer_size;

    // File offset of buffer[0]; with `data_length`, the window of the file the buffer holds.
    std::int64_t buffer_file_offset = 0;
    BufferState buffer_state = BufferState::empty;

    // A record a non-advancing READ left part of: the next READ continues in it.
    std::string pending_input;
    std::size_t pending_input_position = 0;
    bool has_pending_input = false;

    int fd = -1;  // the open file's descriptor; -1 for console and window units
    Stream* stream = nullptr;  // where the bytes go: a file, a console stream or a window; null while closed
    OutputTap* output_tap = nullptr;  // told of every run of bytes written to the stream

    // Records are handed over at once and never repositioned (consoles and windows).
    bool interactive() const { return stream && stream->interactive(); }
};

}  // namespace corvane::units
