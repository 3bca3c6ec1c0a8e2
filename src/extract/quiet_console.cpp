#include "extract/quiet_console.hpp"

#include <atomic>
#include <cstring>
#include <deque>
#include <string_view>
#include <cerrno>
#include <unistd.h>

#include "extract/progress.hpp"
#include "units/console_hooks.hpp"

namespace corvane::extract {

namespace {

constexpr std::size_t lines_held = 2;

struct State {
    QuietConsole settings;
    std::string partial_line;
    std::deque<std::string> held;
    int answers = 0;
};

State& state() {
    static State s;
    return s;
}

void hold(std::string_view bytes) {
    State& s = state();
    for (char c : bytes) {
        if (c == '\n') {
            s.held.push_back(std::move(s.partial_line));
            s.partial_line.clear();
            if (s.held.size() > lines_held) s.held.pop_front();
        } else if (c != '\r') {
            s.partial_line += c;
        }
    }
}

std::size_t quiet_read_line(char* buffer, std::size_t size, units::ConnectionRecord&) {
    State& s = state();
    if (!s.settings.keep_missing_elevations) return 0;
    constexpr std::string_view keep = "T\n";
    if (size < keep.size()) return 0;
    std::memcpy(buffer, keep.data(), keep.size());
    ++s.answers;
    return keep.size();
}

std::size_t quiet_write_bytes(const char* bytes, std::size_t count, int handle_code, units::ConnectionRecord*) {
    if (handle_code == units::handle_stdout) {
        hold({bytes, count});
        return count;
    }
    if (Progress* p = state().settings.progress) p->clear();
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::write(STDERR_FILENO, bytes + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0;
        done += static_cast<std::size_t>(n);
    }
    return count;
}

void quiet_poll() {
    if (Progress* p = state().settings.progress) p->tick();
}

void quiet_program_end(int exit_code) {
    if (auto* end = state().settings.at_program_end) end(exit_code);
}

}  // namespace

void install_quiet_console(const QuietConsole& settings) {
    state() = State{settings, {}, {}, 0};
    units::ConsoleHooks hooks = units::default_console_hooks();
    hooks.read_line = quiet_read_line;
    hooks.write_bytes = quiet_write_bytes;
    hooks.poll = quiet_poll;
    hooks.program_end = quiet_program_end;
    // Without a progress line there is nothing to do at an I/O step: the run-time then
    // tests a flag that stays down instead of calling quiet_poll for every item.
    static const std::atomic<bool> no_events{false};
    const bool drawing = settings.progress && settings.progress->on_terminal();
    hooks.events_pending = drawing ? nullptr : &no_events;
    units::install_console_hooks(hooks);
}

std::vector<std::string> held_console_lines() { return {state().held.begin(), state().held.end()}; }

int missing_elevation_answers() { return state().answers; }

}  // namespace corvane::extract
