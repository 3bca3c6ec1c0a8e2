#include "units/termination.hpp"

#include <cfenv>
#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "units/console_streams.hpp"
#include "units/error_report.hpp"
#include "units/file_layer.hpp"
#include "units/interruption.hpp"
#include "units/runtime_options.hpp"
#include "units/unit_table.hpp"

namespace corvane::units {

namespace {

std::vector<void (*)()>& exit_routines() {
    static std::vector<void (*)()> routines;
    return routines;
}

bool& terminating() {
    static bool flag = false;
    return flag;
}

}  // namespace

void start_runtime(int argc, char** argv) {
    // Round to nearest with every floating-point exception masked: conversions rely on it.
    std::fesetround(FE_TONEAREST);
    std::feclearexcept(FE_ALL_EXCEPT);
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i) words.emplace_back(argv[i]);
    set_command_line_words(std::move(words));
    install_interruption_handlers();
    // A console that went away (its reader closed the pipe) makes the next console write
    // fail and be reported; the signal would end the process with the files' buffers lost.
    std::signal(SIGPIPE, SIG_IGN);
}

std::string stop_text(std::string_view stop_code, bool print_stop) {
    std::string text;
    const bool has_message = stop_code.size() > 1 || (stop_code.size() == 1 && stop_code[0] != ' ');
    if (print_stop) text = has_message ? " STOP " : " STOP";
    if (has_message) text += stop_code;
    return text;
}

void stop_program(std::string_view stop_code, int exit_status) {
    const std::string text = stop_text(stop_code, runtime_options().print_stop);
    if (!text.empty()) {
        write_error_message(text);
        write_error_message(output_line_end(console_unit(unit_console_err)));
    }
    terminate_program(exit_status);
}

void terminate_program(int exit_code) {
    if (!terminating()) {
        terminating() = true;
        if (int err = close_all_units(false)) {
            // A unit that could not be closed: reported without a statement line.
            const std::string_view line_end = output_line_end(ConnectionRecord{});
            write_error_message(format_condition_report(Condition{err}, nullptr, line_end));
            exit_code = -1;
        }
        console_program_end(exit_code);
    }
    exit_program(exit_code);
}

void rearm_termination() { terminating() = false; }

bool program_is_ending() { return terminating(); }

void exit_program(int exit_code) {
    auto& routines = exit_routines();
    while (!routines.empty()) {
        void (*routine)() = routines.back();
        routines.pop_back();
        routine();
    }
    std::exit(exit_code);
}

void register_exit_routine(void (*routine)()) { exit_routines().push_back(routine); }

}  // namespace corvane::units
