// corvane-console: the extraction dialogue on standard input and output.
#include "app/dialogue.hpp"
#include "units/termination.hpp"

int main(int argc, char** argv) {
    corvane::units::start_runtime(argc, argv);
    corvane::app::run_dialogue();
}
