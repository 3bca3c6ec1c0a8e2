// Shared parts of the fuzz targets: taking an input apart, a console fed from the input
// whose output is checked and dropped, and items of every type the engine knows, built
// from selector bytes.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "fmtio/io_item.hpp"
#include "fmtio/text_ops.hpp"

namespace corvane::fuzz {

// Reads an input front to back: single bytes, lines, and the rest.
class InputCursor {
public:
    InputCursor(const std::uint8_t* data, std::size_t size) : text_(reinterpret_cast<const char*>(data), size) {}

    std::uint8_t byte() {
        if (text_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(text_[0]);
        text_.remove_prefix(1);
        return b;
    }
    // Up to the next line feed (dropped), or everything left.
    std::string_view line() {
        const std::size_t end = text_.find('\n');
        const std::string_view l = text_.substr(0, end);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
        return l;
    }
    std::string_view rest() const { return text_; }

private:
    std::string_view text_;
};

// Console hooks for the targets: reads come from `input`, one line per call as a terminal
// delivers them; writes are checked (no record beyond the bound reaches the console) and
// dropped. `program_end` throws ProgramEnded so that a target survives the end of the
// program.
struct ProgramEnded {
    int exit_code;
};
void install_fuzz_console(std::string_view input);

// Items of every type: the selector byte picks one of them.
class ItemSet {
public:
    static constexpr int kinds = 16;

    // Adds the item of kind `selector % kinds`; its value comes from `value_bytes` (what
    // is there; the rest zero).
    void add(std::uint8_t selector, std::string_view value_bytes = {});
    const std::vector<fmtio::IoItem>& items() const { return items_; }

private:
    struct Storage {
        alignas(16) unsigned char bytes[256];
    };
    std::vector<Storage> storage_;
    std::vector<fmtio::IoItem> items_;
};

}  // namespace corvane::fuzz
