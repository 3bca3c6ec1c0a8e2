// What the About box tells of the machine: page size, the lowest and highest address an
// application can use, the processor type and the number of processors.
#pragma once

#include <cstdint>
#include <string>

namespace corvane::frame {

struct SystemInfo {
    std::uint64_t page_size = 0;
    std::uint64_t minimum_address = 0;
    std::uint64_t maximum_address = 0;
    std::string processor_type;
    int processors = 0;
};

SystemInfo system_info();

// "0x" and the value in hexadecimal.
std::string hex_address(std::uint64_t address);

// The highest user address for a virtual address width of `bits` and the page size: the
// lower half of the address space less its last page.
std::uint64_t highest_user_address(int bits, std::uint64_t page_size);

}  // namespace corvane::frame
