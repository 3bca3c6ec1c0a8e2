#include "units/interruption.hpp"

#include <atomic>
#include <cerrno>
#include <csetjmp>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
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

// A system call that may wait without end runs with `waiting` set; the handler then jumps
// back to where it began instead of letting the call be restarted. A signal delivered to
// another thread is passed on to the waiting one.
sigjmp_buf wait_start;
pthread_t waiting_thread;
std::atomic<bool> waiting{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void note_interruption(int signal_number) {
    const int saved = errno;
    if (detail::interruption_signal == 0) detail::interruption_signal = signal_number;
    if (wake_pipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_pipe[1], &byte, 1);
    }
    if (waiting.load()) {
        if (!pthread_equal(pthread_self(), waiting_thread)) {
            ::pthread_kill(waiting_thread, signal_number);
        } else {
            waiting.store(false);
            siglongjmp(wait_start, 1);
        }
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

long detail::run_interruptible(long (*call)(void*), void* context) {
    const bool ending = program_is_ending();
    if (!ending) end_if_interrupted();
    waiting_thread = pthread_self();
    if (sigsetjmp(wait_start, 1) != 0) {
        errno = EINTR;
        return -1;
    }
    waiting.store(true);
    // A signal that came before `waiting` was set is seen here; one after it, by the handler.
    if (!ending && interruption_signal != 0) {
        waiting.store(false);
        errno = EINTR;
        return -1;
    }
    const long result = call(context);
    const int saved = errno;
    waiting.store(false);
    errno = saved;
    return result;
}

bool wait_for_input(int fd) {
    if (wake_pipe[0] < 0) return true;
    pollfd fds[2] = {{fd, POLLIN, 0}, {wake_pipe[0], POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) return errno != EINTR;
    return fds[1].revents == 0;
}

}  // namespace corvane::units
