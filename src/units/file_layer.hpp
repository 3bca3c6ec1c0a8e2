// The file operations of the record layer, over POSIX descriptors. Each reports failure by
// leaving the system error code in the record's `error` field (0 = none).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "units/connection_record.hpp"

namespace corvane::units {

// Opens record.file_name for the access in record.mode; `create` makes a new empty file
// (or empties an existing one), otherwise the file must exist. With `append` the file is
// positioned at its end and `append_base` keeps that offset.
void file_open(ConnectionRecord& record, bool create, bool append);

// Ends the record's stream (a file's descriptor is closed, a window is told) and deletes
// the file when `remove` is set and the close succeeded.
void file_close(ConnectionRecord& record, bool remove);

// The size of the open file (0 for a device), or of the named file; -1 if it cannot be opened.
std::int64_t file_size(ConnectionRecord& record);
std::int64_t file_size_of(const std::string& name);

// Fills the buffer after keeping its bytes from `keep_from` on (moved to the front); the
// buffer grows when it is full. Returns the bytes added; 0 at the end of the file; -1 on
// failure. The bytes come from the record's stream (a console unit: one line).
std::int64_t file_fill_buffer(ConnectionRecord& record, std::int32_t keep_from);

// Writes the buffer's `data_length` bytes at `buffer_file_offset`, cuts the file after them
// when `truncate_pending` is set, and empties the buffer, through the record's stream.
// Returns false on failure.
bool file_write_buffer(ConnectionRecord& record);

// Cuts the file at `offset`; false on failure.
bool file_truncate_at(ConnectionRecord& record, std::int64_t offset);

// Reads `count` bytes at `offset` without moving the buffer (stepping back over records).
std::int64_t file_read_at(ConnectionRecord& record, std::int64_t offset, char* into, std::int64_t count);

// An advisory lock on the named file (created if missing) that this process holds until it
// ends. `busy` when another process holds it; `unavailable` when the file system cannot
// lock (or the file cannot be opened), in which case the caller goes on unguarded.
enum class ProcessLock { held, busy, unavailable };
ProcessLock lock_for_process(const std::string& name);

bool file_is_terminal(const ConnectionRecord& record);
bool file_exists(const std::string& name);
bool file_delete(const std::string& name);

// A unique name in the temporary directory ($TMPDIR, /tmp, or "."), prefix "FOR".
std::string temporary_name();

// Run-time messages on the error output and the standard output, through the console hooks.
void write_error_message(std::string_view text);
void write_output_message(std::string_view text);

// The buffer of a new connection: 8192 bytes for files (or the block size), 256 for consoles.
void allocate_buffer(ConnectionRecord& record, std::int32_t size);

// The buffer of an open file when OPEN gives no block size: large for a disk file, so that
// records reach the system in few large transfers; 8192 bytes for a pipe or a device.
inline std::int32_t default_buffer_size(const ConnectionRecord& record) {
    return record.special.is_disk_file ? disk_file_buffer_size : file_buffer_size;
}

}  // namespace corvane::units
