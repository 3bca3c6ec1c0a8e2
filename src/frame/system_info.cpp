#include "frame/system_info.hpp"

#include <sys/utsname.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace corvane::frame {

namespace {

constexpr std::uint64_t usual_minimum_address = 0x10000;
constexpr int usual_address_bits = 48;

// /proc/sys/vm/mmap_min_addr: below it nothing can be mapped.
std::uint64_t lowest_mappable_address() {
    std::ifstream in("/proc/sys/vm/mmap_min_addr");
    std::uint64_t value = 0;
    return in >> value && value > 0 ? value : usual_minimum_address;
}

// The processor's virtual address width, from "address sizes : 39 bits physical, 48 bits virtual".
int virtual_address_bits() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("address sizes", 0) != 0) continue;
        const std::size_t comma = line.find(',');
        int bits = 0;
        if (comma != std::string::npos && std::sscanf(line.c_str() + comma + 1, "%d", &bits) == 1 && bits > 16 &&
            bits <= 64)
            return bits;
    }
    return sizeof(void*) == 8 ? usual_address_bits : 32;
}

}  // namespace

std::uint64_t highest_user_address(int bits, std::uint64_t page_size) {
    const std::uint64_t half = bits >= 64 ? std::uint64_t{1} << 63 : std::uint64_t{1} << (bits - 1);
    return half - page_size - 1;
}

std::string hex_address(std::uint64_t address) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << address;
    return out.str();
}

SystemInfo system_info() {
    SystemInfo info;
    const long page = sysconf(_SC_PAGESIZE);
    info.page_size = page > 0 ? static_cast<std::uint64_t>(page) : 4096;
    info.minimum_address = lowest_mappable_address();
    info.maximum_address = highest_user_address(virtual_address_bits(), info.page_size);
    utsname name{};
    info.processor_type = uname(&name) == 0 ? name.machine : "unknown";
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    info.processors = processors > 0 ? static_cast<int>(processors) : 1;
    return info;
}

}  // namespace corvane::frame
