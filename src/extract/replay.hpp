// corvane-extract --replay manifest.json --out-dir DIR: the run a manifest records, again,
// into another directory, but only while every input is still the file it was.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace corvane::extract {

// One line per input of the manifest that is missing or no longer has its recorded size
// and checksum; empty when all are the same. A manifest that cannot be read is one line.
std::vector<std::string> changed_inputs(const std::filesystem::path& manifest);

// The recorded command with its --out-dir given as `out_dir` (added when it had none), and
// its --netcdf and --geojson files, under their own names, in `out_dir` too: the repeated
// run writes nothing where the first one did.
std::vector<std::string> replayed_command(const std::vector<std::string>& command, const std::string& out_dir);

// Handles a command line that asks for --replay; the exit status.
int replay_main(int argc, char** argv);

}  // namespace corvane::extract
