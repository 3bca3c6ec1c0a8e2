// OPEN, CLOSE, REWIND, BACKSPACE, ENDFILE, INQUIRE and pause. Each returns an outcome
// (ok, or error when an ERR branch or iostat variable caught a condition); a condition that
// nothing catches is reported and ends the program.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "units/statement_context.hpp"

namespace corvane::units {

// Named only by the unit layer's entries at the end; its layout stays out of this header,
// which application code reaches through fmtio/statement_api.hpp.
struct ConnectionRecord;

struct OpenSpec {
    std::int32_t unit = 0;
    Control control;
    std::optional<std::string_view> file;  // absent: the default name; empty: ask the user
    std::string_view status;               // keyword texts; empty = not given
    std::string_view access;
    std::string_view form;
    std::optional<std::int32_t> recl;
    std::string_view blank;
    std::string_view position;
    std::string_view action;
    std::string_view delim;
    std::string_view pad;
    std::string_view byte_order;
    std::optional<std::int32_t> block_size;
    std::string_view carriage_control;
    std::optional<std::int32_t> max_record;
    std::string_view dispose;
    std::string_view title;        // ACCESS "WINDOW": the window's title
    std::string_view window_spec;  // ACCESS "WINDOW": its size text
};

Outcome open_unit(const OpenSpec& request);
Outcome close_unit(std::int32_t unit, Control control = {}, std::string_view status = {});
Outcome rewind_unit(std::int32_t unit, Control control = {});
Outcome backspace_unit(std::int32_t unit, Control control = {});
Outcome endfile_unit(std::int32_t unit, Control control = {});

// Properties of a unit or a named file, as INQUIRE reports them.
struct InquireResult {
    bool exists = false;
    bool opened = false;
    std::int32_t number = -1;
    bool named = false;
    std::string name;
    std::string access = "UNDEFINED";      // "SEQUENTIAL", "DIRECT", "TRANSPARENT"
    std::string sequential = "UNKNOWN";    // "YES", "NO", "UNKNOWN"
    std::string direct = "UNKNOWN";
    std::string form = "UNDEFINED";        // "FORMATTED", "UNFORMATTED", "BINARY"
    std::string formatted = "UNKNOWN";
    std::string unformatted = "UNKNOWN";
    std::int32_t recl = 0;
    std::int64_t next_record = 0;
    std::string blank = "UNDEFINED";       // "NULL", "ZERO"
    std::string position = "UNDEFINED";    // "REWIND", "ASIS", "APPEND"
    std::string action = "UNDEFINED";      // "READ", "WRITE", "READWRITE"
    std::string read = "UNKNOWN";
    std::string write = "UNKNOWN";
    std::string readwrite = "UNKNOWN";
    std::string delim = "UNDEFINED";       // "APOSTROPHE", "QUOTE", "NONE"
    std::string pad = "UNDEFINED";         // "YES", "NO"
    std::string carriage_control = "UNDEFINED";  // "FORTRAN", "LIST"
    std::int32_t block_size = 0;
};

Outcome inquire_unit(std::int32_t unit, InquireResult& result, Control control = {});
Outcome inquire_file(std::string_view name, InquireResult& result, Control control = {});

// Writes " " and the text as one console record, then reads one console line and drops it.
void pause_statement(std::string_view text);

// Internal to the unit layer: connecting a unit on its first data transfer, and closing
// one record (write pending output, close the file, drop the record). Both return 0 or a
// condition code.
ConnectionRecord* connect_implicitly(int unit_number, int& error);
int close_connection(ConnectionRecord& record, bool delete_file);

}  // namespace corvane::units
