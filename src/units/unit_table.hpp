// The table of connected units, in the order they were connected.
#pragma once

#include <memory>
#include <vector>

#include "units/connection_record.hpp"

namespace corvane::units {

class UnitTable {
public:
    // The record connected under exactly this number, or null.
    ConnectionRecord* find(int unit_number);
    ConnectionRecord& append(std::unique_ptr<ConnectionRecord> record);
    void remove(const ConnectionRecord* record);

    const std::vector<std::unique_ptr<ConnectionRecord>>& records() const { return records_; }

private:
    std::vector<std::unique_ptr<ConnectionRecord>> records_;
    ConnectionRecord* last_found_ = nullptr;  // consecutive statements mostly use one unit
};

UnitTable& unit_table();

// The console unit -2 (input), -3 (output) or -4 (error output), created on first use.
ConnectionRecord& console_unit(int code);

// The unit a number names after the console mapping: 5 input, 6 output, 0 error output,
// 9 under -connectunit9. Returns the mapped number, or 0 with `error` set for an illegal one.
int map_unit_number(int unit_number, bool for_read, bool in_data_transfer, int& error);

// The unit of a data transfer, connected implicitly when needed. `unit_number` is
// unit_default for the default unit. Returns null and sets `error` on failure.
ConnectionRecord* unit_for_transfer(int unit_number, bool for_read, int& error);

// Closes every unit in table order: pending output is written, console units are only
// flushed, files are closed (scratch files deleted). Returns the first error met, 0 if none.
int close_all_units(bool keep_console_units);

// Hands every file unit's pending output to the system (written, not synced), so that the
// files hold everything so far while the program waits for an answer. Returns the first
// error met, 0 if none.
int write_out_file_units();

}  // namespace corvane::units
