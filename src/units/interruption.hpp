// Interruption by SIGINT, SIGTERM or SIGHUP. The handler only notes the signal; the
// run-time ends the program at its next safe point (the start of a statement, while it
// waits for console input, or while a system call waits on a FIFO or a pipe) through the ordinary termination, so every unit is flushed and
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

namespace detail {
[[nodiscard]] long run_interruptible(long (*call)(void*), void* context);
}

// True once a signal has arrived.
inline bool interruption_noted() { return detail::interruption_signal != 0; }

// Runs `call`, a system call that may wait without end (the open of a FIFO that has no
// other end yet, a read from or a write to a pipe), so that a signal ends the wait too:
// the handler leaves the call, which then returns -1 with errno EINTR and the signal noted.
// The caller then ends the run (end_if_interrupted), or, while the termination runs (where
// only a further signal ends a wait), gives the call up. A signal noted before the call
// ends the run at once. `call` may hold nothing that needs cleaning up.
template <class Call>
[[nodiscard]] long interruptible(Call call) {
    return detail::run_interruptible([](void* c) -> long { return (*static_cast<Call*>(c))(); }, &call);
}

// Waits until `fd` has input or a signal arrives; true when input (or an error, which the
// read then reports) is there. Without installed handlers it returns at once.
bool wait_for_input(int fd);

}  // namespace corvane::units
