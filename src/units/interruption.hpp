// Interruption by SIGINT, SIGTERM or SIGHUP. The handler only notes the signal; the
// run-time ends the program at its next safe point (the start of a statement, or while it
// waits for console input) through the ordinary termination, so every unit is flushed and
// closed with whole records, and the process exits with 128 + the signal number.
#pragma once

namespace corvane::units {

void install_interruption_handlers();

namespace detail {
extern volatile int interruption_signal;  // 0 until a signal arrives
[[noreturn]] void end_interrupted_run();
}  // namespace detail

// Called at every safe point: a plain load unless a signal has arrived.
inline void end_if_interrupted() {
    if (detail::interruption_signal != 0) detail::end_interrupted_run();
}

// Waits until `fd` has input or a signal arrives; true when input (or an error, which the
// read then reports) is there. Without installed handlers it returns at once.
bool wait_for_input(int fd);

}  // namespace corvane::units
