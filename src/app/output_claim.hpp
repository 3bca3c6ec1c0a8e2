// One run at a time writes the output files of a directory.
#pragma once

namespace corvane::app {

// Claims the output files for this run before anything is written to them. When another
// run in the same directory holds them, says so in one line and stops with `exit_stopped`.
void claim_output_files();

}  // namespace corvane::app
