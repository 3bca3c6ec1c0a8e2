// The stream of a unit connected for reading to a gzip file: the records are read from the
// inflated bytes, so the same formatted READs serve `.gz` files and plain ones. A corrupt
// or cut-short file is a read error of the unit, never an end of file.
#pragma once

#include "units/stream.hpp"

namespace corvane::units {

Stream& gzip_stream();

}  // namespace corvane::units
