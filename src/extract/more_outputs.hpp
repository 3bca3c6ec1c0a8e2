// The outputs of a run beyond its tables and log (the netCDF file, the GeoJSON file, the
// derived series, ...): the sinks that receive what the tables receive, and the names of
// the files they write in the working directory, which are published with the others.
#pragma once

#include <string_view>
#include <vector>

#include "extract/extract_options.hpp"
#include "extract/series_sink.hpp"

namespace corvane::extract {

struct MoreOutputs {
    std::vector<SeriesSink*> sinks;       // owned by more_outputs; live until the program ends
    std::vector<std::string_view> files;  // names in the output directory
};

// The outputs the options ask for; the same every time it is called in a run.
const MoreOutputs& more_outputs(const ExtractOptions& options);

}  // namespace corvane::extract
