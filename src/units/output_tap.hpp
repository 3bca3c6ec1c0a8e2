// A watcher of what a unit hands its file: every run of bytes, with the offset it went to,
// as it goes out. A program that must know something of every byte it wrote (a checksum)
// learns it here while writing, instead of reading the file back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace corvane::units {

class OutputTap {
public:
    // `count` bytes reached the file at `offset`.
    virtual void wrote(std::int64_t offset, const char* bytes, std::size_t count) = 0;

    // The same news with the unit's whole buffer (`size` bytes, the first `count` of them
    // just written at `offset`), offered to keep instead of to look at: a tap that keeps it
    // puts a buffer of at least `size` bytes in its place for the unit to go on with and
    // returns true, and is not told by wrote(). A tap that would only copy the bytes saves
    // the copy.
    virtual bool keep_buffer(std::int64_t /*offset*/, std::unique_ptr<char[]>& /*buffer*/, std::size_t /*size*/,
                             std::size_t /*count*/) {
        return false;
    }

protected:
    ~OutputTap() = default;  // the program owns its taps; a unit only points at one
};

// Attaches `tap` (null: none) to the unit connected under `unit_number` until it is closed;
// false when no unit is connected under that number.
bool set_output_tap(int unit_number, OutputTap* tap);

// Detaches `tap` from the unit connected under `unit_number` if it is attached there.
void drop_output_tap(int unit_number, const OutputTap* tap);

}  // namespace corvane::units
