#include "extract/progress.hpp"

#include <cerrno>
#include <unistd.h>

namespace corvane::extract {

namespace {

constexpr int bar_width = 30;
constexpr auto redraw_interval = std::chrono::milliseconds(100);

void write_error_output(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(STDERR_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // the display is best effort
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

void Progress::set_phase(Phase phase) {
    phase_ = phase;
    if (terminal_) draw();
}

void Progress::tick() {
    if (!terminal_ || phase_ == Phase::idle || ++ticks_ % 256 != 0) return;
    if (std::chrono::steady_clock::now() - last_draw_ >= redraw_interval) draw();
}

std::string Progress::line() const {
    const std::string label(run_.variable_label.trimmed());
    const app::SelectedStations& s = run_.stations;
    if (phase_ == Phase::searching) {
        return "corvane-extract: " + label + ": searching the inventory, " + std::to_string(s.selected_count) +
               " stations selected";
    }
    const int total = s.selected_count;
    const int found = run_.found_count;
    const int filled = total > 0 ? found * bar_width / total : bar_width;
    return "corvane-extract: " + label + ": [" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(bar_width - filled), '.') + "] " + std::to_string(found) + " of " +
           std::to_string(total) + " stations found";
}

void Progress::draw() {
    last_draw_ = std::chrono::steady_clock::now();
    write_error_output("\r\033[K" + line());
    shown_ = true;
}

void Progress::clear() {
    if (!shown_) return;
    write_error_output("\r\033[K");
    shown_ = false;
}

}  // namespace corvane::extract
