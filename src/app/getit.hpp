// The extraction: the series of the selected stations copied from the data file into the
// time-series file, their failed values into the failed-values file, and the log block.
#pragma once

#include "app/run_data.hpp"

namespace corvane::app {

void getit(RunData& run);

}  // namespace corvane::app
