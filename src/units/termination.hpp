// Start-up of the run-time, STOP, and the ordered end of the program.
#pragma once

#include <string>
#include <string_view>

namespace corvane::units {

// Floating-point mode, the command-line words, the interruption handlers, and SIGPIPE
// ignored so that a console gone away is a failed write.
void start_runtime(int argc, char** argv);

// STOP with a stop code: " STOP" under -printstop, the code unless it is empty or one
// blank, a line end if anything was written; then the program ends with `exit_status`
// (0 for a plain STOP).
[[noreturn]] void stop_program(std::string_view stop_code = " ", int exit_status = 0);

// Closes all units, lets the console end the program (a window frame waits for the user
// to quit), then ends the process.
[[noreturn]] void terminate_program(int exit_code);

// For a harness whose program_end hook throws to catch the end of the program (the
// dialogue's fuzz target): lets the next run of the program end again.
void rearm_termination();

// True once terminate_program has begun closing the units.
bool program_is_ending();

// Runs the exit routines (last registered first) and ends the process.
[[noreturn]] void exit_program(int exit_code);
void register_exit_routine(void (*routine)());

// The text STOP writes to the error output, without its line end ("" when nothing).
std::string stop_text(std::string_view stop_code, bool print_stop);

}  // namespace corvane::units
