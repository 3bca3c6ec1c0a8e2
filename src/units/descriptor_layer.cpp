#include "units/descriptor_layer.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "units/connection_record.hpp"
#include "units/console_streams.hpp"

namespace corvane::units {

namespace {

constexpr char ctrl_z = 26;
constexpr std::size_t text_piece = 256;

struct Descriptor {
    bool in_use = false;
    int fd = -1;           // system descriptor; standard streams go through the hooks
    int flags = 0;
    bool pending_cr = false;  // a CR read as the last byte of a read, decided by the next byte
    bool ended = false;       // Ctrl-Z met in text mode
    std::string carry;        // bytes read but not yet delivered: they come first next time
};

std::vector<Descriptor>& table() {
    static std::vector<Descriptor> descriptors;
    return descriptors;
}

int& last_error() {
    static int error = 0;
    return error;
}

Descriptor* lookup(int d) {
    auto& t = table();
    if (d < 0 || static_cast<std::size_t>(d) >= t.size() || !t[static_cast<std::size_t>(d)].in_use) {
        last_error() = descriptor_error_bad;
        return nullptr;
    }
    return &t[static_cast<std::size_t>(d)];
}

int allocate(int fd, int flags) {
    auto& t = table();
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!t[i].in_use) {
            t[i] = {true, fd, flags, false, false};
            return static_cast<int>(i);
        }
    }
    t.push_back({true, fd, flags, false, false});
    return static_cast<int>(t.size() - 1);
}

std::int64_t raw_read(int d, Descriptor& desc, char* buffer, std::size_t count) {
    if (!desc.carry.empty()) {
        const std::size_t n = std::min(count, desc.carry.size());
        std::memcpy(buffer, desc.carry.data(), n);
        desc.carry.erase(0, n);
        return static_cast<std::int64_t>(n);
    }
    if (d == 0) {
        ConnectionRecord console;
        console.unit_number = unit_console_in;
        return console_stream(unit_console_in).read(console, buffer, count, 0);
    }
    for (;;) {
        const ssize_t n = ::read(desc.fd, buffer, count);
        if (n >= 0 || errno != EINTR) return n;
    }
}

bool raw_write(int d, Descriptor& desc, const char* buffer, std::size_t count) {
    if (d == 1 || d == 2) {
        ConnectionRecord console;
        console.unit_number = d == 1 ? unit_console_out : unit_console_err;
        return count == 0 || console_stream(console.unit_number).write(console, buffer, count, 0);
    }
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(desc.fd, buffer + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

void start_descriptor_layer() {
    auto& t = table();
    t.clear();
    allocate(STDIN_FILENO, descriptor_flag_text);
    allocate(STDOUT_FILENO, descriptor_flag_text);
    allocate(STDERR_FILENO, descriptor_flag_text);
}

void close_all_descriptors() {
    auto& t = table();
    for (std::size_t i = 3; i < t.size(); ++i) {
        if (t[i].in_use) descriptor_close(static_cast<int>(i));
    }
}

int descriptor_open(const char* name, int flags) {
    int oflags = O_CLOEXEC;
    switch (flags & 3) {
        case 0: oflags |= O_RDONLY; break;
        case 1: oflags |= O_WRONLY; break;
        default: oflags |= O_RDWR; break;
    }
    const bool write_access = (flags & 3) != 0;
    if (flags & descriptor_truncate) oflags |= O_CREAT | O_TRUNC;                        // create always
    else if (write_access || ((flags & descriptor_create) && !(flags & descriptor_exclusive)))
        oflags |= O_CREAT;                                                                 // open always
    else if (flags & descriptor_exclusive) oflags |= O_CREAT | O_EXCL;                     // create new
    const int fd = ::open(name, oflags, 0666);
    if (fd < 0) {
        last_error() = descriptor_error_io;
        return -1;
    }
    int kept = 0;
    if (flags & descriptor_append) kept |= descriptor_flag_append;
    if (flags & descriptor_text) kept |= descriptor_flag_text;
    return allocate(fd, kept);
}

int descriptor_close(int d) {
    Descriptor* desc = lookup(d);
    if (!desc) return -1;
    if (d > 2 && desc->fd >= 0) ::close(desc->fd);
    *desc = Descriptor{};
    return 0;
}

std::int64_t descriptor_read(int d, char* buffer, std::size_t count) {
    Descriptor* desc = lookup(d);
    if (!desc) return -1;
    if (!(desc->flags & descriptor_flag_text)) {
        const std::int64_t n = raw_read(d, *desc, buffer, count);
        if (n < 0) last_error() = descriptor_error_io;
        return n;
    }
    if (desc->ended || count == 0) return 0;
    // Text mode: CR LF becomes LF, a lone CR stays, Ctrl-Z ends the data.
    std::size_t placed = 0;
    while (placed == 0) {
        std::vector<char> raw(count);
        std::int64_t n = raw_read(d, *desc, raw.data(), count);
        if (n < 0) {
            last_error() = descriptor_error_io;
            return -1;
        }
        if (n == 0) {
            if (desc->pending_cr) {
                desc->pending_cr = false;
                buffer[placed++] = '\r';
            }
            return static_cast<std::int64_t>(placed);
        }
        for (std::int64_t i = 0; i < n; ++i) {
            const char c = raw[static_cast<std::size_t>(i)];
            // A CR held back from the last read takes a place of its own, so the buffer
            // can fill before the raw bytes are used up: those are kept for the next call.
            if (desc->pending_cr && c != '\n' && placed < count) {
                buffer[placed++] = '\r';
                desc->pending_cr = false;
            }
            if (placed >= count) {
                desc->carry.insert(0, raw.data() + i, static_cast<std::size_t>(n - i));
                break;
            }
            desc->pending_cr = false;
            if (c == ctrl_z) {
                desc->ended = true;
                return static_cast<std::int64_t>(placed);
            }
            if (c == '\r') {
                if (i + 1 < n) {
                    if (raw[static_cast<std::size_t>(i) + 1] != '\n') buffer[placed++] = '\r';
                } else {
                    desc->pending_cr = true;  // the next byte decides
                }
                continue;
            }
            buffer[placed++] = c;
        }
    }
    return static_cast<std::int64_t>(placed);
}

std::int64_t descriptor_write(int d, const char* buffer, std::size_t count) {
    Descriptor* desc = lookup(d);
    if (!desc) return -1;
    if ((desc->flags & descriptor_flag_append) && d > 2) ::lseek(desc->fd, 0, SEEK_END);
    if (!(desc->flags & descriptor_flag_text)) {
        if (!raw_write(d, *desc, buffer, count)) {
            last_error() = descriptor_error_io;
            return -1;
        }
        return static_cast<std::int64_t>(count);
    }
    char piece[text_piece];
    std::size_t used = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (used + 2 > text_piece) {
            if (!raw_write(d, *desc, piece, used)) {
                last_error() = descriptor_error_io;
                return -1;
            }
            used = 0;
        }
        if (buffer[i] == '\n') piece[used++] = '\r';
        piece[used++] = buffer[i];
    }
    if (used > 0 && !raw_write(d, *desc, piece, used)) {
        last_error() = descriptor_error_io;
        return -1;
    }
    return static_cast<std::int64_t>(count);
}

std::int64_t descriptor_seek(int d, std::int64_t offset, int origin) {
    Descriptor* desc = lookup(d);
    if (!desc) return -1;
    const int whence = origin == 0 ? SEEK_SET : origin == 1 ? SEEK_CUR : origin == 2 ? SEEK_END : -1;
    if (whence < 0) {
        last_error() = descriptor_error_origin;
        return -1;
    }
    // Bytes read ahead (kept back or a CR waiting for its next byte) are not yet consumed.
    const auto read_ahead = static_cast<std::int64_t>(desc->carry.size()) + (desc->pending_cr ? 1 : 0);
    const off_t at = ::lseek(desc->fd, whence == SEEK_CUR ? offset - read_ahead : offset, whence);
    if (at < 0) {
        last_error() = descriptor_error_io;
        return at;
    }
    desc->carry.clear();
    desc->pending_cr = false;
    return at;
}

int descriptor_rename(const char* from, const char* to) {
    if (std::rename(from, to) != 0) {
        last_error() = descriptor_error_io;
        return -1;
    }
    return 0;
}

int descriptor_delete(const char* name) {
    if (::unlink(name) != 0) {
        last_error() = descriptor_error_delete;
        return -1;
    }
    return 0;
}

bool descriptor_exists(const char* name) {
    struct stat st {};
    return ::stat(name, &st) == 0;
}

void descriptor_set_flag(int d, int flag) {
    if (Descriptor* desc = lookup(d)) desc->flags |= flag;
}

int descriptor_flags(int d) {
    const Descriptor* desc = lookup(d);
    return desc ? desc->flags : -1;
}

int descriptor_error() { return last_error(); }

}  // namespace corvane::units
