// corvane-extract's whole command: --replay, or the options parsed and the extraction run.
// The desktop program runs the same command in a process of its own for its criteria form.
#pragma once

namespace corvane::extract {

// Returns, or ends the process with, the command's exit status.
int command_main(int argc, char** argv);

}  // namespace corvane::extract
