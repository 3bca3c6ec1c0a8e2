// corvane-extract: the extraction from the command line, without a dialogue.
#include <iostream>
#include <string_view>
#include <variant>

#include "extract/extract_options.hpp"
#include "extract/extract_run.hpp"
#include "extract/replay.hpp"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--replay" || std::string_view(argv[i]).starts_with("--replay=")) {
            return corvane::extract::replay_main(argc, argv);
        }
    }
    const auto parsed = corvane::extract::parse_command_line(argc, argv, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    return corvane::extract::run_extraction(std::get<corvane::extract::ExtractOptions>(parsed), argv[0]);
}
