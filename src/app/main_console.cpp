// corvane-console: the extraction dialogue on standard input and output.
#include <iostream>
#include <new>

#include "app/dialogue.hpp"
#include "app/program_options.hpp"
#include "units/conditions.hpp"
#include "units/error_report.hpp"
#include "units/termination.hpp"

namespace {

constexpr corvane::app::InteractiveProgram console_program{
    "corvane-console",
    "Runs the GHCN version 2 extraction dialogue on standard input and output: choose one of\n"
    "nine variables, state the criteria (a country, a latitude/longitude box, an elevation\n"
    "range, alone or together), see the stations that match, and extract their monthly\n"
    "series into three files.\n"};

}  // namespace

int main(int argc, char** argv) {
    if (const auto status = corvane::app::take_program_options(console_program, argc, argv, std::cout, std::cerr)) {
        return *status;
    }
    corvane::units::start_runtime(argc, argv);
    try {
        corvane::app::run_dialogue();
    } catch (const std::bad_alloc&) {
        // Outside any statement: the report has no statement line.
        corvane::units::report_condition_and_end(corvane::units::condition::memory_allocation, nullptr);
    }
}
