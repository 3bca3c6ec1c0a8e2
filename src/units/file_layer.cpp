#include "units/file_layer.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <vector>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "units/console_hooks.hpp"
#include "units/error_report.hpp"
#include "units/message_tables.hpp"
#include "units/record_limits.hpp"
#include "units/runtime_options.hpp"

namespace corvane::units {

namespace {

void set_system_error(ConnectionRecord& record) { record.error = system_code_from_errno(errno); }

bool seekable(const ConnectionRecord& record) { return record.special.is_disk_file; }

// A record longer than the buffer: buffers only grow, up to the room for the longest
// record and its line end. A record without an end within that bound (a file without line
// ends, an endless device) is condition 10004, and so is a failed allocation.
bool grow_for_longer_record(ConnectionRecord& record) {
    constexpr auto room = static_cast<std::int64_t>(max_record_length) + 2;
    const std::int64_t size = record.buffer_size;
    if (size >= room) {
        record.error = condition_buffer_allocation;
        return false;
    }
    const std::int64_t bigger = std::min(std::max<std::int64_t>(size * 2, console_buffer_size), room);
    std::unique_ptr<char[]> grown(new (std::nothrow) char[static_cast<std::size_t>(bigger)]);
    if (!grown) {
        record.error = condition_buffer_allocation;
        return false;
    }
    std::memcpy(grown.get(), record.buffer.get(), static_cast<std::size_t>(record.data_length));
    record.buffer = std::move(grown);
    record.buffer_size = static_cast<std::int32_t>(bigger);
    return true;
}

}  // namespace

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

    int fd;
    do {
        fd = ::open(record.file_name.c_str(), flags, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        set_system_error(record);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        record.error = system_code_from_errno(EISDIR);
        return;
    }
    record.fd = fd;
    record.handle = fd;
    record.tab_width = tab_size();
    record.special.is_disk_file = S_ISREG(st.st_mode);
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
    if (record.handle == handle_window) {
        console_hooks().close_window(record);
        return;
    }
    if (record.fd < 0) return;
    const int rc = ::close(record.fd);
    record.fd = -1;
    record.handle = handle_none;
    if (rc != 0 && errno != EINTR) {
        set_system_error(record);
        return;
    }
    if (remove && ::unlink(record.file_name.c_str()) != 0) set_system_error(record);
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

std::int64_t file_fill_buffer(ConnectionRecord& record, std::int32_t keep_from) {
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

    if (record.handle == handle_stdin || record.handle == handle_window) {
        const std::size_t n = console_hooks().read_line(into, room, record);
        record.data_length += static_cast<std::int32_t>(n);
        return static_cast<std::int64_t>(n);
    }
    for (;;) {
        const ssize_t n = seekable(record)
            ? ::pread(record.fd, into, room, record.buffer_file_offset + kept)
            : ::read(record.fd, into, room);
        if (n >= 0) {
            record.data_length += static_cast<std::int32_t>(n);
            return n;
        }
        if (errno == EINTR) continue;
        set_system_error(record);
        return -1;
    }
}

bool file_write_buffer(ConnectionRecord& record) {
    record.error = 0;
    const auto count = static_cast<std::size_t>(record.data_length);
    const char* data = record.buffer.get();
    if (record.is_console()) {
        if (count > 0 &&
            console_hooks().write_bytes(data, count, record.handle, &record) == 0) {
            record.error = system_code_from_errno(EIO);
            return false;
        }
    } else {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = seekable(record)
                ? ::pwrite(record.fd, data + done, count - done,
                           record.buffer_file_offset + static_cast<std::int64_t>(done))
                : ::write(record.fd, data + done, count - done);
            if (n < 0) {
                if (errno == EINTR) continue;
                set_system_error(record);
                return false;
            }
            done += static_cast<std::size_t>(n);
        }
    }
    const std::int64_t end_of_data = record.buffer_file_offset + record.data_length;
    record.buffer_file_offset = end_of_data;
    record.data_length = 0;
    record.buffer_position = 0;
    if (record.mode.truncate_pending) {
        record.mode.truncate_pending = false;
        const bool exempt = record.mode.access == Access::direct || record.mode.is_character_device ||
                            record.mode.truncation_exempt;
        if (!exempt) {
            const std::int64_t size = file_size(record);
            if (size > end_of_data && !file_truncate_at(record, end_of_data)) return false;
        }
    }
    return true;
}

bool file_truncate_at(ConnectionRecord& record, std::int64_t offset) {
    if (record.fd < 0 || !record.special.is_disk_file) return true;
    if (::ftruncate(record.fd, offset) != 0) {
        set_system_error(record);
        return false;
    }
    return true;
}

std::int64_t file_read_at(ConnectionRecord& record, std::int64_t offset, char* into, std::int64_t count) {
    if (record.fd < 0 || !seekable(record)) return -1;
    for (;;) {
        const ssize_t n = ::pread(record.fd, into, static_cast<std::size_t>(count), offset);
        if (n >= 0) return n;
        if (errno == EINTR) continue;
        set_system_error(record);
        return -1;
    }
}

ProcessLock lock_for_process(const std::string& name) {
    static std::vector<std::string> held;  // descriptors stay open: the lock lasts the process
    if (std::find(held.begin(), held.end(), name) != held.end()) return ProcessLock::held;
    int fd;
    do {
        fd = ::open(name.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
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

bool file_is_terminal(const ConnectionRecord& record) {
    if (record.is_console()) {
        const int fd = record.handle == handle_stdin ? STDIN_FILENO
                     : record.handle == handle_stdout ? STDOUT_FILENO : STDERR_FILENO;
        return record.handle != handle_window && ::isatty(fd) == 1;
    }
    return record.fd >= 0 && ::isatty(record.fd) == 1;
}

bool file_exists(const std::string& name) {
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0;
}

bool file_delete(const std::string& name) { return ::unlink(name.c_str()) == 0; }

std::string temporary_name() {
    std::string dir;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) dir = tmp;
    else if (::access("/tmp", W_OK) == 0) dir = "/tmp";
    else dir = ".";
    std::string name = dir + "/FORXXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd < 0) {
        name = "./FORXXXXXX";
        const int here = ::mkstemp(name.data());
        if (here < 0) return name;
        ::close(here);
    } else {
        ::close(fd);
    }
    ::unlink(name.c_str());  // the unit's open creates it anew
    return name;
}

namespace {
void write_message(std::string_view text, int handle_code) {
    if (text.empty()) return;
    console_hooks().write_bytes(text.data(), text.size(), handle_code, nullptr);
}
}  // namespace

void write_error_message(std::string_view text) { write_message(text, handle_stderr); }
void write_output_message(std::string_view text) { write_message(text, handle_stdout); }

}  // namespace corvane::units
