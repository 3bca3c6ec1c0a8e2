// Inflation state is kept per connection (streams are shared objects). Reads come in
// sequence from the record layer; a read from offset 0 (REWIND) starts over, and a read
// further on inflates up to it; stepping back elsewhere is not possible in a gzip file and
// is an error. Members written one after another (as `cat a.gz b.gz` makes) are read as
// one file.
#include "units/gzip_stream.hpp"

#include <zlib.h>

#include <cerrno>
#include <map>
#include <memory>

#include "units/connection_record.hpp"
#include "units/file_stream.hpp"
#include "units/file_system_calls.hpp"
#include "units/message_tables.hpp"

namespace corvane::units {

namespace {

constexpr std::size_t input_chunk = 1 << 16;

struct Inflation {
    z_stream z{};
    unsigned char input[input_chunk];
    std::int64_t compressed_offset = 0;  // of the next bytes to take from the file
    std::int64_t position = 0;           // inflated bytes handed out so far
    bool finished = false;               // the last member ended at the end of the file

    Inflation() { inflateInit2(&z, 16 + MAX_WBITS); }
    ~Inflation() { inflateEnd(&z); }
    Inflation(const Inflation&) = delete;
    Inflation& operator=(const Inflation&) = delete;
    void restart() {
        inflateReset(&z);
        z.avail_in = 0;
        compressed_offset = position = 0;
        finished = false;
    }
};

class GzipStream final : public Stream {
public:
    GzipStream() : Stream(false) {}

    std::int64_t read(ConnectionRecord& record, char* into, std::size_t room, std::int64_t offset) override {
        Inflation& state = inflation_of(record);
        if (offset == 0 && state.position != 0) state.restart();
        if (offset < state.position) return fail(record, ESPIPE);
        while (state.position < offset) {  // forward to the offset asked for
            char scratch[4096];
            const std::int64_t n = inflate_some(record, state, scratch,
                                                static_cast<std::size_t>(std::min<std::int64_t>(offset - state.position, sizeof scratch)));
            if (n <= 0) return n;
        }
        return inflate_some(record, state, into, room);
    }

    std::size_t write(ConnectionRecord& record, const char*, std::size_t, std::int64_t) override {
        record.error = system_code_from_errno(EBADF);  // connected for reading only
        return 0;
    }

    void close(ConnectionRecord& record, bool remove) override {
        states_.erase(&record);
        file_stream().close(record, remove);
    }

private:
    Inflation& inflation_of(const ConnectionRecord& record) {
        auto& slot = states_[&record];
        if (!slot) slot = std::make_unique<Inflation>();
        return *slot;
    }

    static std::int64_t fail(ConnectionRecord& record, int errno_value) {
        record.error = system_code_from_errno(errno_value);
        return -1;
    }

    // Fills the input when it is empty; 0 at the end of the file, -1 on an error.
    static std::int64_t refill(ConnectionRecord& record, Inflation& state) {
        for (;;) {
            const ssize_t n = file_calls().pread(record.fd, state.input, input_chunk, state.compressed_offset);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return fail(record, errno);
            state.z.next_in = state.input;
            state.z.avail_in = static_cast<uInt>(n);
            state.compressed_offset += n;
            return n;
        }
    }

    // Up to `room` inflated bytes: their count, 0 at the end of the last member, -1 on a
    // corrupt or cut-short file.
    static std::int64_t inflate_some(ConnectionRecord& record, Inflation& state, char* into, std::size_t room) {
        if (state.finished || room == 0) return 0;
        state.z.next_out = reinterpret_cast<unsigned char*>(into);
        state.z.avail_out = static_cast<uInt>(room);
        while (state.z.avail_out == room) {
            if (state.z.avail_in == 0) {
                const std::int64_t n = refill(record, state);
                if (n < 0) return -1;
                if (n == 0) return fail(record, EBADMSG);  // the file ends inside a member
            }
            const int rc = inflate(&state.z, Z_NO_FLUSH);
            if (rc == Z_STREAM_END && !next_member(record, state)) break;
            if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return fail(record, EBADMSG);
            if (state.finished) break;
        }
        const auto produced = static_cast<std::int64_t>(room - state.z.avail_out);
        state.position += produced;
        return produced;
    }

    // After a member's end: another member follows, or the file is over.
    static bool next_member(ConnectionRecord& record, Inflation& state) {
        if (state.z.avail_in == 0 && refill(record, state) <= 0) {
            state.finished = true;
            return false;
        }
        inflateReset(&state.z);
        return true;
    }

    std::map<const ConnectionRecord*, std::unique_ptr<Inflation>> states_;
};

}  // namespace

Stream& gzip_stream() {
    static GzipStream stream;
    return stream;
}

}  // namespace corvane::units
