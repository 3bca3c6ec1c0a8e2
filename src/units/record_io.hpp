// Records on a unit: reading the next line, writing a record with its line end, and
// keeping the buffer consistent when a unit switches between reading and writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "units/connection_record.hpp"

namespace corvane::units {

struct RecordView {
    const char* data = nullptr;
    std::size_t length = 0;
};

// Holds a record that had to be rewritten (carriage returns dropped, tabs expanded).
class RecordScratch {
public:
    char* reserve(std::size_t n);
private:
    std::unique_ptr<char[]> storage_;
    std::size_t capacity_ = 0;
};

constexpr int record_ok = 0;
constexpr int record_end_of_file = -1;

// Reads the next record: the characters up to the terminator, without the companion
// character of its line end (a lone one inside the record stays) and with tabs expanded to the unit's tab width. A last
// line without a terminator is a record too. Returns record_ok, record_end_of_file, or a
// system error code.
int read_record(ConnectionRecord& record, RecordView& out, RecordScratch& scratch);

// The next record exactly as it stands, without dropping or expanding anything; the view
// is valid until the unit's buffer changes. Returns as read_record does.
int read_raw_record(ConnectionRecord& record, RecordView& out);

// Appends a formatted record and, unless `line_end` is false, the unit's record end;
// console units hand it over at once. Returns 0 or a condition code.
int write_record(ConnectionRecord& record, const char* data, std::size_t length, bool line_end);

// Each text a record of its own, with the record end: write_record for each in turn, the
// unit's state and its record end settled once. `written` counts the records placed; on a
// condition the records before it stay written. Returns 0 or the condition code.
int write_records(ConnectionRecord& record, std::span<const std::string_view> texts, std::size_t& written);

// Writes out pending output. Returns 0 or a system error code.
int flush_unit(ConnectionRecord& record);

// The file offset of the next byte the unit transfers.
std::int64_t logical_position(const ConnectionRecord& record);

// Drops the buffer and continues at `offset` (after REWIND, BACKSPACE beyond the buffer).
void reposition(ConnectionRecord& record, std::int64_t offset);

}  // namespace corvane::units
