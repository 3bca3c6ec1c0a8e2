// The dialogue driver: welcome, variable menu, confirmation, selection, search, decision,
// extraction and the end of the program.
#pragma once

namespace corvane::app {

// Runs the whole dialogue on the console; ends the program (STOP) and never returns.
[[noreturn]] void run_dialogue();

}  // namespace corvane::app
