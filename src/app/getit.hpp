// The extraction: the series of the selected stations copied from the data file into the
// time-series file, their failed values into the failed-values file, and the log block.
// One pass over the data file: each series start is looked up by station number, and the
// failed-QC file is read once and replayed station by station.
#pragma once

#include <cstdint>

#include "app/run_data.hpp"
#include "ghcn/v2_records.hpp"

namespace corvane::app {

// Sees every record of the data file once, in file order, as the extraction reads it: a
// further output built in the same pass. Given a sink, the extraction reads on to the end of
// the file after its last station.
class DataRecordSink {
public:
    virtual ~DataRecordSink() = default;
    virtual void record(const ghcn::DataRecord& record) = 0;
    // A record read only for the sink, after the extraction's last station, cannot be read:
    // the reading ends there (`last_station` is what the READ stored of it).
    virtual void unreadable(std::int32_t last_station) = 0;
};

void getit(RunData& run);
void getit(RunData& run, DataRecordSink& sink);

}  // namespace corvane::app
