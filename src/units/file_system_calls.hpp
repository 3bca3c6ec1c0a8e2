// The system calls beneath the file layer. Every call the file layer makes on a unit's file
// goes through this table, so that a test can make one of them fail (a failing open, a
// short write, a full disk, a failing close, a read error) and see the run-time's answer.
// The run-time itself never changes it.
#pragma once

#include <sys/types.h>

namespace corvane::units {

struct FileSystemCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    int (*close)(int fd);
    ssize_t (*read)(int fd, void* buffer, size_t count);
    ssize_t (*pread)(int fd, void* buffer, size_t count, off_t offset);
    ssize_t (*write)(int fd, const void* buffer, size_t count);
    ssize_t (*pwrite)(int fd, const void* buffer, size_t count, off_t offset);
    int (*ftruncate)(int fd, off_t length);
};

// The operating system's own calls.
FileSystemCalls system_file_calls();

// The calls in force.
FileSystemCalls& file_calls();

}  // namespace corvane::units
