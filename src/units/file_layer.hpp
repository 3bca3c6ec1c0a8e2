// The record layer's buffer transfers and file operations. Every unit's buffer is filled
// from and written to its record's stream (a file, a console stream or a window); the file
// operations work on POSIX descriptors and names. An operation on a record reports failure
// by leaving a code in its `error` field (0 = none): the system's error code, or condition
// 10004 for a buffer that cannot grow. Operations on a name report through their result.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "units/connection_record.hpp"

namespace corvane::units {

// Opens record.file_name for the access in record.mode; `create` makes a new empty file
// (or empties an existing one), otherwise the file must exist. With `append` the writes to
// a disk file start at its end (`buffer_file_offset` and `append_base` hold its size).
void file_open(ConnectionRecord& record, bool create, bool append);

// Ends the record's stream (a file's descriptor is closed, a window is told) and deletes
// the file when `remove` is set and the close succeeded.
void file_close(ConnectionRecord& record, bool remove);

// The size of the open disk file (0 for a pipe or a device). A unit without a descriptor,
// and file_size_of, give the size of the named file: -1 when there is none, 0 when it is
// no regular file.
std::int64_t file_size(ConnectionRecord& record);
std::int64_t file_size_of(const std::string& name);

// Fills the buffer from the record's stream (a file's bytes, or one line of a console or
// window) after keeping its bytes from `keep_from` on, moved to the front; the buffer grows
// when the kept bytes fill it. Returns the bytes added: 0 at the end of the data (or for a
// closed unit), -1 on failure.
std::int64_t fill_buffer_from_stream(ConnectionRecord& record, std::int32_t keep_from);

// Writes the buffer's `data_length` bytes to the record's stream (a file's at
// `buffer_file_offset`) and empties the buffer; with `truncate_pending` a sequential disk
// file is then cut after them. Returns false on failure and leaves the buffer to the
// caller; a disk file then ends after the whole records that got out.
bool write_buffer_to_stream(ConnectionRecord& record);

// Cuts the file at `offset`; false on failure.
bool file_truncate_at(ConnectionRecord& record, std::int64_t offset);

// Reads `count` bytes at `offset` without moving the buffer (stepping back over records);
// -1 on failure, and for a unit that is no disk file.
std::int64_t file_read_at(ConnectionRecord& record, std::int64_t offset, char* into, std::int64_t count);

// An advisory lock on the named file (created if missing) that this process holds until it
// ends. `busy` when another process holds it; `unavailable` when the file system cannot
// lock (or the file cannot be opened), in which case the caller goes on unguarded.
enum class ProcessLock { held, busy, unavailable };
ProcessLock lock_for_process(const std::string& name);

bool file_exists(const std::string& name);
bool file_delete(const std::string& name);

// A unique name with the prefix "FOR" in $TMPDIR, else /tmp, else "." (also when no file
// can be made in the first); when none can be made anywhere, a name whose OPEN reports why.
std::string temporary_name();

// Run-time messages on the error output and the standard output, through the console hooks.
void write_error_message(std::string_view text);
void write_output_message(std::string_view text);

// A new connection's buffer of `size` bytes (see default_buffer_size); on failure the
// record has no buffer and a size of 0.
void allocate_buffer(ConnectionRecord& record, std::int32_t size);

// The buffer of an open file when OPEN gives no block size: large for a disk file, so that
// records reach the system in few large transfers; 8192 bytes for a pipe or a device.
inline std::int32_t default_buffer_size(const ConnectionRecord& record) {
    return record.special.is_disk_file ? disk_file_buffer_size : file_buffer_size;
}

}  // namespace corvane::units
