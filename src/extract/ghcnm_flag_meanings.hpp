// The letters the three flag columns of the version 3 and 4 data files may hold, with what
// they mean, for the flag variables of the netCDF file: a flag variable names a meaning for
// every value it can hold.
#pragma once

#include <vector>

#include "extract/series_sink.hpp"
#include "ghcn/ghcnm_qc_flags.hpp"

namespace corvane::extract {

// DMFLAG: a-i, the days missing from a monthly mean (1 to 9); E, an estimated value.
std::vector<FlagMeaning> dmflag_meanings();

// QCFLAG: the letters the data set's readme lists for this kind of file.
std::vector<FlagMeaning> qcflag_meanings(ghcn::Edition edition, ghcn::FileKind kind);

// DSFLAG: a source code, a capital letter or a digit, named by its code; the readme of the
// release tells the sources apart.
std::vector<FlagMeaning> dsflag_meanings();

}  // namespace corvane::extract
