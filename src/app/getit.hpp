// The extraction: the series of the selected stations copied from the data file into the
// time-series file, their failed values into the failed-values file, and the log block.
// One pass over the data file: each series start is looked up by station number, and the
// failed-QC file is read once and replayed station by station.
#pragma once

#include "app/run_data.hpp"

namespace corvane::app {

void getit(RunData& run);

}  // namespace corvane::app
