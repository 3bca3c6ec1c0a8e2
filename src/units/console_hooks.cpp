#include "units/console_hooks.hpp"

#include <cerrno>
#include <unistd.h>

#include "units/interruption.hpp"

namespace corvane::units {

namespace {

std::size_t standard_read_line(char* buffer, std::size_t size, ConnectionRecord&) {
    for (;;) {
        // An interruption while the program waits for an answer ends it here.
        end_if_interrupted();
        if (!wait_for_input(STDIN_FILENO)) continue;
        const ssize_t n = ::read(STDIN_FILENO, buffer, size);
        if (n >= 0) return static_cast<std::size_t>(n);
        if (errno != EINTR) return 0;  // an unreadable standard input ends the input
    }
}

std::size_t standard_write_bytes(const char* bytes, std::size_t count, int handle_code,
                                 ConnectionRecord*) {
    const int fd = handle_code == handle_stdout ? STDOUT_FILENO : STDERR_FILENO;
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd, bytes + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return 0;
        }
        done += static_cast<std::size_t>(n);
    }
    return count;
}

void standard_poll() {}
void standard_program_end(int) {}
int no_window(ConnectionRecord&, std::string_view, std::string_view) { return -10; }
int no_window_close(ConnectionRecord&) { return -10; }

constexpr ConsoleHooks standard_hooks{standard_read_line, standard_write_bytes, standard_poll, standard_program_end,
                                      no_window,          no_window_close,      nullptr,
                                      nullptr};

}  // namespace

namespace detail {
constinit ConsoleHooks installed_hooks = standard_hooks;
}

ConsoleHooks default_console_hooks() { return standard_hooks; }

void install_console_hooks(const ConsoleHooks& hooks) { detail::installed_hooks = hooks; }

}  // namespace corvane::units
