// Which version of the data set a run reads: the one --dataset asks, else the one the data
// directory holds; and whether --variable names a variable of that version.
#pragma once

#include "extract/extract_options.hpp"

namespace corvane::extract {

// 2, 3 or 4; 0 after naming on standard error why none (a directory of several versions,
// a variable of another version). A directory holding none is version 2's, whose check
// of the inputs then names the files missing.
int edition_to_read(const ExtractOptions& options);

}  // namespace corvane::extract
