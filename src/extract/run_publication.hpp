// How the outputs of a run reach their final names. A run that completed publishes every
// output together. A run whose data could not be read to its end (a damaged record, an
// interruption) publishes its tables and logs as far as they were written, as the dialogue
// leaves its files, but none of the outputs beyond them (the netCDF and GeoJSON files and the
// derived series), which would be incomplete without saying so. A run in which an output could
// not be completed publishes nothing. Whatever is not published is removed.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "extract/more_outputs.hpp"
#include "extract/staging.hpp"

namespace corvane::extract {

enum class RunEnd { complete, stopped, failed };

struct Publication {
    std::vector<std::string> failures;       // each reason, for the error output
    std::vector<std::string_view> names;     // the outputs meant for the output directory
    std::vector<std::filesystem::path> placed;  // the files beside it, now under their final names
    std::vector<std::filesystem::path> withheld;  // of a stopped run: the outputs it does not write
};

// The run's end from what went wrong: a stop on the data outweighs an output that could
// not be completed, since the outputs miss what lay beyond it anyway.
RunEnd run_end(bool data_complete, bool outputs_complete);

// Publishes what `end` allows of `outputs` (names in the staging's output directory, the
// derived series among them) and of the files `more` places beside it; `replace` as --force.
Publication publish_run(Staging& staging, const std::vector<std::string_view>& outputs, const MoreOutputs& more,
                        RunEnd end, bool replace);

// The line that names the outputs a stopped run does not write; empty when there are none.
std::string withheld_line(const Publication& published);

}  // namespace corvane::extract
