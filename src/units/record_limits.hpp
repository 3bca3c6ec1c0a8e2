// The bound every record of the run-time keeps, whatever its input: a record (without its
// line end) holds at most `max_record_length` characters, and no position of a statement
// passes it. A record that would exceed it ends its statement with condition 10004
// instead of exhausting memory.
#pragma once

#include <cstddef>

namespace corvane::units {

constexpr std::size_t max_record_length = 16 * 1024 * 1024;  // 16 MiB

}  // namespace corvane::units
