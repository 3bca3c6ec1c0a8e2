#include "units/interruption.hpp"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include "units/termination.hpp"

namespace corvane::units {

namespace detail {
volatile int interruption_signal = 0;

void end_interrupted_run() { terminate_program(128 + interruption_signal); }
}  // namespace detail

namespace {

// Written by the handler so that a wait for console input wakes up: a signal that arrives
// just before the wait begins is not lost.
int wake_pipe[2] = {-1, -1};

extern "C" void note_interruption(int signal_number) {
    const int saved = errno;
    if (detail::interruption_signal == 0) detail::interruption_signal = signal_number;
    if (wake_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_pipe[1], &byte, 1);
    }
    errno = saved;
}

}  // namespace

void install_interruption_handlers() {
    if (wake_pipe[0] < 0 && ::pipe2(wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0) wake_pipe[0] = wake_pipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = note_interruption;
    action.sa_flags = SA_RESTART;  // file operations go on; only the wait for input wakes
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, s);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        ::sigaction(s, nullptr, &previous);
        if (previous.sa_handler == SIG_IGN) continue;  // ignored by whoever started us (nohup)
        ::sigaction(s, &action, nullptr);
    }
}

bool wait_for_input(int fd) {
    if (wake_pipe[0] < 0) return true;
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake_pipe[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) return errno != EINTR;
    return fds[1].revents == 0;
}

}  // namespace corvane::units
