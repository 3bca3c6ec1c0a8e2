// Which stream a unit connected to a file reads and writes through: a file opened for
// reading only whose first bytes are gzip's magic number is inflated as it is read;
// every other file is read and written as it stands.
#pragma once

#include "units/stream.hpp"

namespace corvane::units {

struct ConnectionRecord;

// `record.fd` is open and `record.special.is_disk_file` set.
Stream& stream_for_opened_file(const ConnectionRecord& record);

}  // namespace corvane::units
