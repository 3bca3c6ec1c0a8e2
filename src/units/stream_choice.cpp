// The magic bytes decide, not the name: a `.gz` file renamed still reads, and a plain file
// that happens to end in `.gz` is not inflated.
#include "units/stream_choice.hpp"

#include "units/connection_record.hpp"
#include "units/file_stream.hpp"
#include "units/file_system_calls.hpp"
#include "units/gzip_stream.hpp"

namespace corvane::units {

namespace {

bool starts_with_gzip_magic(const ConnectionRecord& record) {
    unsigned char magic[2] = {0, 0};
    return file_calls().pread(record.fd, magic, 2, 0) == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
}

}  // namespace

Stream& stream_for_opened_file(const ConnectionRecord& record) {
    const bool read_only = record.mode.can_read && !record.mode.can_write;
    if (read_only && record.special.is_disk_file && starts_with_gzip_magic(record)) return gzip_stream();
    return file_stream();
}

}  // namespace corvane::units
