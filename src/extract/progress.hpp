// What corvane-extract shows on standard error while it runs: on a terminal, a line that
// is redrawn in place (the stations selected while the inventory is searched, then a bar of
// the stations found); elsewhere nothing until the one summary line.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "app/run_data.hpp"

namespace corvane::extract {

class Progress {
public:
    enum class Phase { idle, searching, extracting };

    Progress(const app::RunData& run, bool terminal) : run_(run), terminal_(terminal) {}

    // Whether there is a line to draw at all.
    bool on_terminal() const { return terminal_; }
    void set_phase(Phase phase);
    // Called at every I/O step: cheap, and redraws at most ten times a second.
    void tick();
    // Takes the line off the terminal before other text is written there.
    void clear();

    // The line as it would be drawn now (without the carriage return).
    std::string line() const;

private:
    void draw();

    const app::RunData& run_;
    const bool terminal_;
    Phase phase_ = Phase::idle;
    bool shown_ = false;
    std::uint32_t ticks_ = 0;
    std::chrono::steady_clock::time_point last_draw_{};
};

}  // namespace corvane::extract
