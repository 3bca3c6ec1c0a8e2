// The dialogue driver: welcome, variable menu, confirmation, selection, search, decision,
// extraction and the end of the program.
#pragma once

#include <functional>

#include "app/run_data.hpp"

namespace corvane::app {

// Runs the whole dialogue on the console; ends the program (STOP) and never returns.
[[noreturn]] void run_dialogue();

// The same on the given run data (the first form lends it its own, for the whole run).
[[noreturn]] void run_dialogue(RunData& run);

// A routine called as each pass of the dialogue starts, before its welcome (the desktop
// program enters a newly chosen data folder there); none by default.
void set_pass_start(std::function<void()> routine);

// The run data of the dialogue in progress, for a window that shows it meanwhile (the
// desktop program's station map). Read-only: only the dialogue changes it.
const RunData& current_run();

}  // namespace corvane::app
