// The command line of the interactive programs before their dialogue starts: --help or
// --version alone prints and ends; a leading "--data-dir DIR" enters DIR. Every other word
// is left for the run-time (the file-name prompt takes them under -fileprompt).
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::app {

struct InteractiveProgram {
    std::string_view name;         // e.g. "corvane-console"
    std::string_view description;  // how this program shows the dialogue, a paragraph
};

// The usage text of --help.
std::string help_text(const InteractiveProgram& program);

// Takes the program's own options out of argc/argv (argv[0] stays). Returns the exit status
// to end with at once (0 after --help or --version, 1 when the data directory cannot be
// entered, 2 when --data-dir has no value), or nothing to go on with the dialogue.
std::optional<int> take_program_options(const InteractiveProgram& program, int& argc, char** argv,
                                        std::ostream& out, std::ostream& err);

}  // namespace corvane::app
