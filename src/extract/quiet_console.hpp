// Console hooks for a run without a user. What the routines write to the standard output
// is kept off it (the last two lines are held, for the report of a run that stops); every
// other console write (the error output, a window) goes to standard error. Every console
// read is answered true when missing elevations are kept, else finds the end of the input:
// the question on a station without an elevation is the only read a run makes. Every I/O
// step may redraw the progress line.
#pragma once

#include <string>
#include <vector>

namespace corvane::extract {
class Progress;  // a pointer suffices here; the progress line needs the run data
}

namespace corvane::extract {

struct QuietConsole {
    Progress* progress = nullptr;
    bool keep_missing_elevations = false;
    void (*at_program_end)(int exit_code) = nullptr;  // the run-time is ending the program
};

void install_quiet_console(const QuietConsole& settings);

// The last console lines the routines wrote, without their line ends.
std::vector<std::string> held_console_lines();

// How many console reads were answered (each a question on a missing elevation).
int missing_elevation_answers();

}  // namespace corvane::extract
