// Console hooks for a run without a user. The routines' console lines are kept off
// standard output (the last two are held, to be shown if the run stops); the run-time's
// error output passes through to standard error; the question on a station without an
// elevation is answered true when missing elevations are kept, and any other console read
// finds the end of the input; every I/O step may redraw the progress line.
#pragma once

#include <string>
#include <vector>

#include "extract/progress.hpp"

namespace corvane::extract {

struct QuietConsole {
    Progress* progress = nullptr;
    bool keep_missing_elevations = false;
    void (*at_program_end)(int exit_code) = nullptr;  // the run-time is ending the program
};

void install_quiet_console(const QuietConsole& settings);

// The last console lines the routines wrote, without their line ends.
std::vector<std::string> held_console_lines();

// How many times the question on a missing elevation was answered.
int missing_elevation_answers();

}  // namespace corvane::extract
