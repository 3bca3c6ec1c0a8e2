// Where a connection's bytes come from and go to. Each connected unit holds one stream
// and never asks what kind it is: a file (file_stream.hpp), a standard console stream or a
// text window (console_streams.hpp). Only the console and window streams reach the
// console hooks.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::units {

struct ConnectionRecord;

class Stream {
public:
    // Places at most `room` bytes in `into`: a file's bytes from `offset`, or one line of
    // console input. Returns the count, 0 at the end of the data, or -1 with the record's
    // `error` set.
    virtual std::int64_t read(ConnectionRecord& record, char* into, std::size_t room, std::int64_t offset) = 0;
    // Writes `count` bytes (a file's at `offset`). Returns how many got out: all of them,
    // or fewer with the record's `error` set (a full disk may take part of a buffer).
    virtual std::size_t write(ConnectionRecord& record, const char* bytes, std::size_t count, std::int64_t offset) = 0;
    // Ends the connection; a file is also deleted when `remove` is set and it closed.
    virtual void close(ConnectionRecord& record, bool remove) = 0;
    // Consoles and windows: every record is handed over as soon as it is written, and
    // there is no position to rewind to, step back over or cut the data at. Asked at every
    // record written: a flag of the stream, not a call.
    bool interactive() const { return interactive_; }

protected:
    explicit constexpr Stream(bool interactive) : interactive_(interactive) {}
    ~Stream() = default;  // streams are static objects; records only point at them

private:
    bool interactive_;
};

}  // namespace corvane::units
