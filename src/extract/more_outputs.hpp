// The outputs of a run beyond its tables and log (the netCDF file, the GeoJSON file, the
// derived series): the sinks that receive what the tables receive, and the names of the
// files they write in the working directory, which are published with the others when the
// whole run succeeds, and never otherwise.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "extract/extract_options.hpp"
#include "extract/series_sink.hpp"

namespace corvane::extract {

class AnomalySink;
class StagedFile;

struct MoreOutputs {
    std::vector<SeriesSink*> sinks;       // owned by more_outputs; live until the program ends
    std::vector<std::string_view> files;  // names in the output directory
    // Written beside the output directory's files, where the options name them.
    std::vector<std::filesystem::path> placed_files;
    // Those files under their temporary names, placed when the whole run has succeeded.
    std::vector<StagedFile*> staged;
    const AnomalySink* anomalies = nullptr;  // with --anomalies, for the log's line
};

// The outputs the options ask for; the same every time it is called in a run.
const MoreOutputs& more_outputs(const ExtractOptions& options);

// The lines the outputs add to a run's log once they are complete (the anomalies' normals).
std::vector<std::string> more_outputs_log_lines(const MoreOutputs& more);

// 0, or status_failed after naming each output file that cannot be written or that is
// another output of the run (`out_names` are those in the output directory), and a
// manifest that stands in the output directory already (without --force).
int check_more_outputs(const ExtractOptions& options, const std::vector<std::string_view>& out_names);

}  // namespace corvane::extract
