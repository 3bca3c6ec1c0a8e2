#include "fuzz_support.hpp"

#include <algorithm>
#include <cstdlib>

#include "units/console_hooks.hpp"
#include "units/record_limits.hpp"

namespace corvane::fuzz {

namespace {

std::string_view console_input;

std::size_t fuzz_read_line(char* buffer, std::size_t size, units::ConnectionRecord&) {
    std::size_t end = console_input.find('\n');
    end = end == std::string_view::npos ? console_input.size() : end + 1;
    const std::size_t n = std::min(size, end);
    std::memcpy(buffer, console_input.data(), n);
    console_input.remove_prefix(n);
    return n;
}

std::size_t fuzz_write_bytes(const char*, std::size_t count, int, units::ConnectionRecord*) {
    // A record and its line end: nothing longer may ever be handed to the console.
    if (count > units::max_record_length + 2) std::abort();
    return count;
}

void fuzz_poll() {}
[[noreturn]] void fuzz_program_end(int exit_code) { throw ProgramEnded{exit_code}; }
int no_window(units::ConnectionRecord&, std::string_view, std::string_view) { return -10; }
int no_window_close(units::ConnectionRecord&) { return -10; }

}  // namespace

void install_fuzz_console(std::string_view input) {
    console_input = input;
    units::install_console_hooks({fuzz_read_line, fuzz_write_bytes, fuzz_poll, fuzz_program_end, no_window,
                                  no_window_close, nullptr});
}

void ItemSet::add(std::uint8_t selector, std::string_view value_bytes) {
    storage_.emplace_back();
    unsigned char* at = storage_.back().bytes;
    std::memset(at, 0, sizeof(Storage::bytes));
    if (!value_bytes.empty()) std::memcpy(at, value_bytes.data(), std::min(value_bytes.size(), sizeof(Storage::bytes)));
    using fmtio::TypeClass;
    fmtio::IoItem item;
    item.address = at;
    switch (selector % kinds) {
        case 0: item = {TypeClass::integer, 1, at}; break;
        case 1: item = {TypeClass::integer, 2, at}; break;
        case 2: item = {TypeClass::integer, 4, at}; break;
        case 3: item = {TypeClass::integer, 8, at}; break;
        case 4: item = {TypeClass::real, 4, at}; break;
        case 5: item = {TypeClass::real, 8, at}; break;
        case 6: item = {TypeClass::real, 16, at}; break;
        case 7: item = {TypeClass::complex, 8, at}; break;
        case 8: item = {TypeClass::complex, 16, at}; break;
        case 9: item = {TypeClass::logical, 4, at}; break;
        case 10: item = {TypeClass::logical, 1, at}; break;
        case 11: item = {TypeClass::character, 1, at, 1}; break;
        case 12: item = {TypeClass::character, 1, at, 33}; break;
        case 13: item = {TypeClass::character, 1, at, 100}; break;
        case 14: item = {TypeClass::integer, 4, at, 0, 12}; break;  // an array, as the data record has
        default: item = {TypeClass::real, 4, at, 0, 3}; break;
    }
    items_.push_back(item);
    // The vector of storage may move: point every item at its block again.
    for (std::size_t i = 0; i < items_.size(); ++i) items_[i].address = storage_[i].bytes;
}

}  // namespace corvane::fuzz
