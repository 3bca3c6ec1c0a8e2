// Runs a program of the build (corvane-console unless another is named) as a child process
// in the working directory: answers on its standard input, everything it writes collected,
// and its end (exit status or signal). Optionally a signal is sent once the output shows a
// given text, or once the program waits in a given place of the system.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane::testing {

struct RunOptions {
    std::string program;               // the program's path; empty: corvane-console
    std::vector<std::string> args;     // the words after the program's name
    std::string input;                 // written to standard input
    std::string input_file;            // instead: this file is the standard input (e.g. /dev/zero)
    bool keep_input_open = false;      // standard input stays open after `input`
    std::string signal_when_output;    // once standard output contains this text ...
    std::string signal_when_waiting_in;  // ... and it waits in a kernel function of this name
                                         // (/proc/<pid>/wchan, e.g. "wait_for_partner": a FIFO's open)
    int signal_number = 0;             // ... this signal is sent to the program
    std::size_t output_wanted = SIZE_MAX;  // standard output is closed after this many bytes
    std::chrono::seconds deadline{45}; // the program is killed after this (a test fails within a minute)
};

struct RunResult {
    std::string out;
    std::string err;
    int status = -1;          // exit status; -1 when the program did not exit normally
    long max_rss_kib = 0;     // the program's peak resident memory
    std::string failure;      // why the run itself failed (spawn, deadline, a signal that ended it)
};

RunResult run_console_program(const RunOptions& options);

// Runs `program` with `args` and nothing on its standard input.
inline RunResult run_program(const std::string& program, const std::vector<std::string>& args) {
    return run_console_program({.program = program, .args = args});
}

}  // namespace corvane::testing
