// The failed-QC file of an extraction, read once, at the first station that needs it, and
// kept by station: each station's failed values then come back in file order without
// reading the file again.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "ghcn/v2_records.hpp"

namespace corvane::app {

using ghcn::FailedRecord;

class FailedValues {
public:
    enum class Load { whole_file, unreadable_record };

    bool loaded() const { return loaded_; }

    // Reads the file on `unit` from its current record to its end; each record is read into
    // `last` and kept. An unreadable record ends the reading: `last` then holds what the
    // READ stored of it, and the records before it are kept.
    Load load(int unit, FailedRecord& last);

    // The records of one station, in file order.
    std::span<const FailedRecord> of_station(std::int32_t station_id) const;

private:
    std::vector<FailedRecord> records_;  // by station; file order within a station
    bool loaded_ = false;
};

}  // namespace corvane::app
