// The stream of a unit connected to a file: its descriptor is the record's `fd`.
#pragma once

#include "units/stream.hpp"

namespace corvane::units {

Stream& file_stream();

}  // namespace corvane::units
