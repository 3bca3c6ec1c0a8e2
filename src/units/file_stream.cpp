// Reads and writes of file units over their POSIX descriptor: disk files at explicit
// offsets, pipes and devices in sequence.
#include "units/file_stream.hpp"

#include <cerrno>
#include <unistd.h>

#include "units/connection_record.hpp"
#include "units/file_system_calls.hpp"
#include "units/interruption.hpp"
#include "units/message_tables.hpp"
#include "units/termination.hpp"

namespace corvane::units {

namespace {

void set_system_error(ConnectionRecord& record) { record.error = system_code_from_errno(errno); }

// A write to a pipe whose other end takes nothing, ended by a signal: the file gets nothing
// more (its buffer is dropped, so the termination does not wait on it again), and the run
// ends; within the termination the write fails.
std::size_t give_up_waiting_write(ConnectionRecord& record, std::size_t done) {
    record.data_length = 0;
    record.buffer_position = 0;
    if (!program_is_ending()) end_if_interrupted();
    record.error = system_code_from_errno(EINTR);
    return done;
}

class FileStream final : public Stream {
public:
    FileStream() : Stream(false) {}

    std::int64_t read(ConnectionRecord& record, char* into, std::size_t room, std::int64_t offset) override {
        for (;;) {
            const ssize_t n = record.special.is_disk_file
                ? file_calls().pread(record.fd, into, room, offset)
                : interruptible([&] { return file_calls().read(record.fd, into, room); });
            if (n >= 0) return n;
            if (errno == EINTR) {
                end_if_interrupted();
                continue;
            }
            set_system_error(record);
            return -1;
        }
    }

    std::size_t write(ConnectionRecord& record, const char* bytes, std::size_t count, std::int64_t offset) override {
        std::size_t done = 0;
        while (done < count) {
            const ssize_t n = record.special.is_disk_file
                ? file_calls().pwrite(record.fd, bytes + done, count - done, offset + static_cast<std::int64_t>(done))
                : interruptible([&] { return file_calls().write(record.fd, bytes + done, count - done); });
            if (n < 0 && errno == EINTR && interruption_noted()) return give_up_waiting_write(record, done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                // No progress without an error would never end either.
                record.error = system_code_from_errno(n < 0 ? errno : EIO);
                return done;
            }
            done += static_cast<std::size_t>(n);
        }
        return done;
    }

    void close(ConnectionRecord& record, bool remove) override {
        if (record.fd < 0) return;
        const int rc = file_calls().close(record.fd);
        record.fd = -1;
        record.stream = nullptr;
        if (rc != 0 && errno != EINTR) {
            set_system_error(record);
            return;
        }
        if (remove && ::unlink(record.file_name.c_str()) != 0) set_system_error(record);
    }

};

}  // namespace

Stream& file_stream() {
    static FileStream stream;
    return stream;
}

}  // namespace corvane::units
