// corvane-extract: the extraction from the command line, without a dialogue.
#include <iostream>
#include <variant>

#include "extract/extract_options.hpp"
#include "extract/extract_run.hpp"

int main(int argc, char** argv) {
    const auto parsed = corvane::extract::parse_command_line(argc, argv, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    return corvane::extract::run_extraction(std::get<corvane::extract::ExtractOptions>(parsed), argv[0]);
}
