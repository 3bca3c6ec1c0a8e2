// A watcher of what a unit hands its file: every run of bytes, with the offset it went to,
// as it goes out. A program that must know something of every byte it wrote (a checksum)
// learns it here while writing, instead of reading the file back.
#pragma once

#include <cstddef>
#include <cstdint>

namespace corvane::units {

class OutputTap {
public:
    // `count` bytes reached the file at `offset`.
    virtual void wrote(std::int64_t offset, const char* bytes, std::size_t count) = 0;

protected:
    ~OutputTap() = default;  // the program owns its taps; a unit only points at one
};

// Attaches `tap` (null: none) to the unit connected under `unit_number` until it is closed;
// false when no unit is connected under that number.
bool set_output_tap(int unit_number, OutputTap* tap);

// Detaches `tap` from the unit connected under `unit_number` if it is attached there.
void drop_output_tap(int unit_number, const OutputTap* tap);

}  // namespace corvane::units
