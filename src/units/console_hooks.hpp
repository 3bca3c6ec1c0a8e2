// The table of console routines through which the record layer reaches the console. The
// defaults serve a plain text console on the standard streams; a window frame installs
// its own table before the program's dialogue starts.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

#include "units/connection_record.hpp"

namespace corvane::units {

// Handle codes that tell write_bytes (and the frame) which console stream a record is for.
constexpr int handle_window = -1;
constexpr int handle_stdin = -10;
constexpr int handle_stdout = -11;
constexpr int handle_stderr = -12;

struct ConsoleHooks {
    // Places at most `size` bytes of console input in `buffer`; returns the count placed,
    // 0 at the end of the input. The record's unit number tells the window (negative: the
    // console).
    std::size_t (*read_line)(char* buffer, std::size_t size, ConnectionRecord& record);
    // Writes `count` bytes for the given handle code (-11 output, others the error output);
    // returns the count written, 0 on failure. The record is null for run-time messages.
    std::size_t (*write_bytes)(const char* bytes, std::size_t count, int handle_code,
                               ConnectionRecord* record);
    // Lets the user interface handle its events; called at every I/O step.
    void (*poll)();
    // Called with the exit code just before the process ends.
    void (*program_end)(int exit_code);
    // Connects a unit to a new text window: 0 on success, else a status (-10: no windows).
    int (*open_window)(ConnectionRecord& record, std::string_view title,
                       std::string_view window_spec);
    int (*close_window)(ConnectionRecord& record);
    // Asks for the file name of an OPEN that gives none. Null: the plain console prompt.
    // Returns false when the user cancels.
    bool (*prompt_file_name)(int unit, OpenStatus status, std::string& name);
    // When set, `poll` is called only while this flag is up: an I/O step then costs a
    // flag test when the user interface has nothing to do. Null: `poll` at every step.
    const std::atomic<bool>* events_pending;
};

ConsoleHooks default_console_hooks();

namespace detail {
extern ConsoleHooks installed_hooks;  // constant-initialised with the defaults
}

// The hooks in force; called at every I/O step, so it is a plain load.
inline ConsoleHooks& console_hooks() { return detail::installed_hooks; }
void install_console_hooks(const ConsoleHooks& hooks);

}  // namespace corvane::units
