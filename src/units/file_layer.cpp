#include "units/file_layer.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "units/conditions.hpp"
#include "units/console_streams.hpp"
#include "units/file_stream.hpp"
#include "units/stream_choice.hpp"
#include "units/file_system_calls.hpp"
#include "units/interruption.hpp"
#include "units/message_tables.hpp"
#include "units/record_limits.hpp"
#include "units/runtime_options.hpp"

namespace corvane::units {

namespace {

void set_system_error(ConnectionRecord& record) { record.error = system_code_from_errno(errno); }

// A record longer than the buffer: buffers only grow, up to the room for the longest
// record and its line end. A record without an end within that bound (a file without line
// ends, an endless device) is condition 10004, and so is a failed allocation.
bool grow_for_longer_record(ConnectionRecord& record) {
    constexpr auto room = static_cast<std::int64_t>(max_record_length) + 2;
    const std::int64_t size = record.buffer_size;
    if (size >= room) {
        record.error = condition::buffer_allocation;
        return false;
    }
    const std::int64_t bigger = std::min(std::max<std::int64_t>(size * 2, console_buffer_size), room);
    std::unique_ptr<char[]> grown(new (std::nothrow) char[static_cast<std::size_t>(bigger)]);
    if (!grown) {
        record.error = condition::buffer_allocation;
        return false;
    }
    std::memcpy(grown.get(), record.buffer.get(), static_cast<std::size_t>(record.data_length));
    record.buffer = std::move(grown);
    record.buffer_size = static_cast<std::int32_t>(bigger);
    return true;
}

bool truncation_exempt(const ConnectionRecord& record) {
    return record.mode.access == Access::direct || record.mode.is_character_device;
}

// A buffer that got out only in part (a full disk, a device error): the file keeps the whole
// records of that part and ends there, and the unit goes on after them. What the cut itself
// meets is not reported: the write's own error is.
void keep_whole_records(ConnectionRecord& record, const char* data, std::size_t done) {
    const char terminator = runtime_options().line_end.terminator;
    std::size_t keep = done;
    while (keep > 0 && data[keep - 1] != terminator) --keep;
    if (record.special.is_disk_file && !truncation_exempt(record) && (keep < done || record.mode.truncate_pending)) {
        file_calls().ftruncate(record.fd, record.buffer_file_offset + static_cast<std::int64_t>(keep));
        record.mode.truncate_pending = false;
    }
    record.buffer_file_offset += static_cast<std::int64_t>(keep);
}

int system_open(const char* path, int flags, mode_t mode) { return ::open(path, flags, mode); }

}  // namespace

FileSystemCalls system_file_calls() {
    return {system_open, ::close, ::read, ::pread, ::write, ::pwrite, ::ftruncate};
}

FileSystemCalls& file_calls() {
    static FileSystemCalls calls = system_file_calls();
    return calls;
}

void allocate_buffer(ConnectionRecord& record, std::int32_t size) {
    record.buffer.reset(new (std::nothrow) char[static_cast<std::size_t>(size)]);
    record.buffer_size = record.buffer ? size : 0;
    record.data_length = 0;
    record.buffer_position = 0;
}

void file_open(ConnectionRecord& record, bool create, bool append) {
    record.error = 0;
    int flags = O_CLOEXEC;
    const bool direct = record.mode.access == Access::direct;
    if (record.mode.can_read && (record.mode.can_write || direct)) flags |= O_RDWR;
    else if (record.mode.can_write) flags |= direct ? O_RDWR : O_WRONLY;
    else flags |= O_RDONLY;
    if (create) flags |= O_CREAT | O_TRUNC;
    // A FIFO opened both ways would be its own reader, and what is written to it would be
    // lost at CLOSE: it is opened one way, to be written when the unit may write.
    if (struct stat st {}; (flags & O_ACCMODE) == O_RDWR && ::stat(record.file_name.c_str(), &st) == 0 &&
                           S_ISFIFO(st.st_mode)) {
        flags = (flags & ~O_ACCMODE) | (record.mode.can_write ? O_WRONLY : O_RDONLY);
    }

    int fd;
    do {
        // A FIFO's open waits for its other end: a signal must still end the run.
        fd = static_cast<int>(interruptible([&] { return file_calls().open(record.file_name.c_str(), flags, 0666); }));
        if (fd < 0 && errno == EINTR) end_if_interrupted();
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        set_system_error(record);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        file_calls().close(fd);
        record.error = system_code_from_errno(EISDIR);
        return;
    }
    record.fd = fd;
    record.tab_width = tab_size();
    record.special.is_disk_file = S_ISREG(st.st_mode);
    record.stream = &stream_for_opened_file(record);
    record.mode.is_character_device = !record.special.is_disk_file;
    record.append_base = 0;
    record.buffer_file_offset = 0;
    if (append && record.special.is_disk_file) {
        record.append_base = st.st_size;
        record.buffer_file_offset = st.st_size;
    }
}

void file_close(ConnectionRecord& record, bool remove) {
    record.error = 0;
    if (record.stream) record.stream->close(record, remove);
}

std::int64_t file_size(ConnectionRecord& record) {
    if (record.fd < 0) return file_size_of(record.file_name);
    if (!record.special.is_disk_file) return 0;
    struct stat st {};
    if (::fstat(record.fd, &st) != 0) {
        set_system_error(record);
        return -1;
    }
    return st.st_size;
}

std::int64_t file_size_of(const std::string& name) {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) return -1;
    return S_ISREG(st.st_mode) ? st.st_size : 0;
}

std::int64_t fill_buffer_from_stream(ConnectionRecord& record, std::int32_t keep_from) {
    record.error = 0;
    const std::int32_t kept = record.data_length - keep_from;
    if (keep_from > 0) {
        std::memmove(record.buffer.get(), record.buffer.get() + keep_from, static_cast<std::size_t>(kept));
        record.buffer_file_offset += keep_from;
        record.buffer_position -= keep_from;
    }
    record.data_length = kept;
    if (kept == record.buffer_size && !grow_for_longer_record(record)) return -1;
    char* into = record.buffer.get() + kept;
    const auto room = static_cast<std::size_t>(record.buffer_size - kept);
    if (!record.stream) return 0;
    const std::int64_t n = record.stream->read(record, into, room, record.buffer_file_offset + kept);
    if (n > 0) record.data_length += static_cast<std::int32_t>(n);
    return n;
}

bool write_buffer_to_stream(ConnectionRecord& record) {
    record.error = 0;
    const auto count = static_cast<std::size_t>(record.data_length);
    if (count > 0 && record.stream) {
        const std::size_t out = record.stream->write(record, record.buffer.get(), count, record.buffer_file_offset);
        if (record.output_tap && out > 0) {
            // A buffer written whole may go to the tap as it is; the rest of a short write
            // is still needed here.
            const bool kept = out == count && record.output_tap->keep_buffer(record.buffer_file_offset, record.buffer,
                                                                            static_cast<std::size_t>(record.buffer_size), out);
            if (!kept) record.output_tap->wrote(record.buffer_file_offset, record.buffer.get(), out);
        }
        if (out < count) {
            keep_whole_records(record, record.buffer.get(), out);
            return false;
        }
    }
    const std::int64_t end_of_data = record.buffer_file_offset + record.data_length;
    record.buffer_file_offset = end_of_data;
    record.data_length = 0;
    record.buffer_position = 0;
    if (record.mode.truncate_pending) {
        record.mode.truncate_pending = false;
        if (!truncation_exempt(record)) {
            const std::int64_t size = file_size(record);
            if (size > end_of_data && !file_truncate_at(record, end_of_data)) return false;
        }
    }
    return true;
}

bool file_truncate_at(ConnectionRecord& record, std::int64_t offset) {
    if (record.fd < 0 || !record.special.is_disk_file) return true;
    if (file_calls().ftruncate(record.fd, offset) != 0) {
        set_system_error(record);
        return false;
    }
    return true;
}

std::int64_t file_read_at(ConnectionRecord& record, std::int64_t offset, char* into, std::int64_t count) {
    if (record.fd < 0 || !record.special.is_disk_file) return -1;
    for (;;) {
        const ssize_t n = file_calls().pread(record.fd, into, static_cast<std::size_t>(count), offset);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        set_system_error(record);
        return -1;
    }
}

ProcessLock lock_for_process(const std::string& name) {
    static std::vector<std::string> held;  // descriptors stay open: the lock lasts the process
    if (std::find(held.begin(), held.end(), name) != held.end()) return ProcessLock::held;
    // Only a file is locked: opening a FIFO would make this process its reader.
    if (struct stat st {}; ::stat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return ProcessLock::unavailable;
    int fd;
    do {
        fd = ::open(name.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);  // a FIFO: no wait
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return ProcessLock::unavailable;
    int rc;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? ProcessLock::busy : ProcessLock::unavailable;
    }
    held.push_back(name);
    return ProcessLock::held;
}

bool file_exists(const std::string& name) {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0;
}

bool file_delete(const std::string& name) { return ::unlink(name.c_str()) == 0; }

namespace {
// Reserves a unique name in `dir`: the file is made and removed again, so that the unit's
// OPEN creates it anew. Empty when no file can be made there.
std::string unique_name_in(std::string_view dir) {
    std::string name;
    name.reserve(dir.size() + 10);
    name.append(dir).append("/FORXXXXXX");
    const int fd = ::mkstemp(name.data());
    if (fd < 0) return {};
    ::close(fd);
    ::unlink(name.c_str());
    return name;
}
}  // namespace

std::string temporary_name() {
    std::string_view dir = ".";
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) dir = tmp;
    else if (::access("/tmp", W_OK) == 0) dir = "/tmp";
    if (std::string name = unique_name_in(dir); !name.empty()) return name;
    if (std::string name = unique_name_in("."); !name.empty()) return name;
    return "./FORXXXXXX";  // nowhere to make one: the OPEN then reports why
}

void write_error_message(std::string_view text) { write_console_message(text, true); }
void write_output_message(std::string_view text) { write_console_message(text, false); }

}  // namespace corvane::units
