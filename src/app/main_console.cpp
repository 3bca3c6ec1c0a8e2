// corvane-console: the extraction dialogue on standard input and output.
#include <new>

#include "app/dialogue.hpp"
#include "units/conditions.hpp"
#include "units/error_report.hpp"
#include "units/termination.hpp"

int main(int argc, char** argv) {
    corvane::units::start_runtime(argc, argv);
    try {
        corvane::app::run_dialogue();
    } catch (const std::bad_alloc&) {
        // Outside any statement: the report has no statement line.
        corvane::units::report_condition_and_end(corvane::units::condition::memory_allocation, nullptr);
    }
}
