#include "program_run.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

extern char** environ;

namespace corvane::testing {

namespace {

// The environment of the test without the run-time's own settings, so that a developer's
// shell cannot change the columns of the output.
std::vector<std::string> child_environment() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry = *e;
        if (entry.starts_with("VORNEX_RT_FLAGS=") || entry.starts_with("TABSIZE=")) continue;
        env.emplace_back(entry);
    }
    return env;
}

std::string system_failure(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// The descriptors between the test and its child.
struct Pipes {
    int to_child = -1;
    std::array<int, 2> from_child = {-1, -1};  // standard output, error output

    void close_all() {
        if (to_child >= 0) close(to_child);
        for (int& fd : from_child) {
            if (fd >= 0) close(fd);
            fd = -1;
        }
        to_child = -1;
    }
};

// Where in the system the program waits: the kernel function named by /proc/<pid>/wchan.
std::string waiting_in(pid_t pid) {
    const int fd = open(("/proc/" + std::to_string(pid) + "/wchan").c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char text[128];
    const ssize_t n = read(fd, text, sizeof text);
    close(fd);
    return n > 0 ? std::string(text, static_cast<std::size_t>(n)) : std::string();
}

bool time_to_signal(const RunOptions& options, pid_t pid, const RunResult& result) {
    if (result.out.find(options.signal_when_output) == std::string::npos) return false;
    return options.signal_when_waiting_in.empty() ||
           waiting_in(pid).find(options.signal_when_waiting_in) != std::string::npos;
}

// Feeds the input, collects the output, and sends the signal when its text shows.
void exchange(const RunOptions& options, pid_t pid, Pipes& pipes, RunResult& result) {
    const auto deadline = std::chrono::steady_clock::now() + options.deadline;
    std::size_t written = 0;
    bool signalled = options.signal_number == 0;
    if (options.input.empty() && !options.keep_input_open && pipes.to_child >= 0) {
        close(pipes.to_child);
        pipes.to_child = -1;
    }
    std::array<std::string*, 2> sinks = {&result.out, &result.err};
    while (pipes.from_child[0] >= 0 || pipes.from_child[1] >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            result.failure = "the program did not finish within " + std::to_string(options.deadline.count()) + " s";
            return;
        }
        std::vector<pollfd> fds;
        const bool feeding = pipes.to_child >= 0 && written < options.input.size();
        if (feeding) fds.push_back({pipes.to_child, POLLOUT, 0});
        for (int fd : pipes.from_child) {
            if (fd >= 0) fds.push_back({fd, POLLIN, 0});
        }
        // Waiting for the program to reach a wait of the system: its place is looked at
        // again every few milliseconds (the signal goes only once it is there).
        const bool watching = !signalled && !options.signal_when_waiting_in.empty();
        const int timeout = watching ? 5 : static_cast<int>(left.count());
        if (poll(fds.data(), fds.size(), timeout) < 0) {
            if (errno == EINTR) continue;
            result.failure = system_failure("poll");
            kill(pid, SIGKILL);
            return;
        }
        for (const pollfd& p : fds) {
            if (p.revents == 0) continue;
            if (p.fd == pipes.to_child) {
                const ssize_t n = write(p.fd, options.input.data() + written, options.input.size() - written);
                if (n > 0) written += static_cast<std::size_t>(n);
                if ((n < 0 && errno != EINTR) || (written == options.input.size() && !options.keep_input_open)) {
                    close(pipes.to_child);
                    pipes.to_child = -1;
                }
                continue;
            }
            for (std::size_t k = 0; k < pipes.from_child.size(); ++k) {
                if (p.fd != pipes.from_child[k]) continue;
                char buffer[8192];
                const ssize_t n = read(p.fd, buffer, sizeof buffer);
                if (n > 0) sinks[k]->append(buffer, static_cast<std::size_t>(n));
                const bool enough = k == 0 && result.out.size() >= options.output_wanted;
                if (enough || n == 0 || (n < 0 && errno != EINTR)) {
                    close(p.fd);
                    pipes.from_child[k] = -1;
                }
            }
        }
        if (!signalled && time_to_signal(options, pid, result)) {
            kill(pid, options.signal_number);
            signalled = true;
        }
    }
}

}  // namespace

RunResult run_console_program(const RunOptions& options) {
    RunResult result;
    int in_pipe[2] = {-1, -1}, out_pipe[2], err_pipe[2];
    const bool from_file = !options.input_file.empty();
    if ((!from_file && pipe2(in_pipe, O_CLOEXEC) != 0) || pipe2(out_pipe, O_CLOEXEC) != 0 ||
        pipe2(err_pipe, O_CLOEXEC) != 0) {
        result.failure = system_failure("pipe");
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (from_file) posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, options.input_file.c_str(), O_RDONLY, 0);
    else posix_spawn_file_actions_adddup2(&actions, in_pipe[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err_pipe[1], STDERR_FILENO);

    std::vector<std::string> env = child_environment();
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> words = {options.program.empty() ? CORVANE_CONSOLE_PROGRAM : options.program};
    words.insert(words.end(), options.args.begin(), options.args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (!from_file) close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    Pipes pipes{from_file ? -1 : in_pipe[1], {out_pipe[0], err_pipe[0]}};
    if (spawned != 0) {
        pipes.close_all();
        result.failure = std::string("posix_spawn: ") + std::strerror(spawned);
        return result;
    }

    // The program may stop reading before the input ends: a write then fails with EPIPE
    // instead of ending the test process.
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);
    exchange(options, pid, pipes, result);
    pipes.close_all();
    sigaction(SIGPIPE, &previous, nullptr);

    int wait_status = 0;
    rusage usage {};
    while (wait4(pid, &wait_status, 0, &usage) < 0 && errno == EINTR) {
    }
    result.max_rss_kib = usage.ru_maxrss;
    if (WIFEXITED(wait_status)) result.status = WEXITSTATUS(wait_status);
    else if (result.failure.empty())
        result.failure = "the program was ended by signal " + std::to_string(WTERMSIG(wait_status));
    return result;
}

}  // namespace corvane::testing
