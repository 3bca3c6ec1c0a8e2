// The streams of console and window units, and the other ways the run-time reaches the
// console: run-time messages, the file-name dialog, the end of the program, and polling.
// Everything here goes through the console hooks (console_hooks.hpp); nothing else in the
// run-time calls them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "units/connection_record.hpp"
#include "units/console_hooks.hpp"
#include "units/stream.hpp"

namespace corvane::units {

// The stream of a console unit: -2 the standard input, -3 the standard output, any other
// negative code the error output.
Stream& console_stream(int unit_code);

// Connects the record to a new text window through the hooks. Returns 0, or the condition:
// 10034 when there is no window frame, 10035 when the frame refused the window.
int connect_window(ConnectionRecord& record, std::string_view title, std::string_view window_spec);

// A run-time message on the error output or the standard output.
void write_console_message(std::string_view text, bool error_output);

// The window frame's file-name dialog: the name, or an empty optional when the user
// cancelled. `asked` is false when the console has no dialog (a plain console asks on
// its own streams instead).
std::optional<std::string> file_name_dialog(int unit, OpenStatus status, bool& asked);

// The end of the program: a window frame keeps its windows until the user quits.
void console_program_end(int exit_code);

// Lets the console handle its pending events. The engine calls this at the start and end
// of every statement and before every item (a compiled internal READ and a run of rows
// written together poll at their start and end only: they never wait), so it stays inline:
// a flag test when the console says whether anything waits, else one indirect call.
inline void poll_events() {
    const ConsoleHooks& hooks = console_hooks();
    if (!hooks.events_pending || hooks.events_pending->load(std::memory_order_relaxed)) hooks.poll();
}

}  // namespace corvane::units
