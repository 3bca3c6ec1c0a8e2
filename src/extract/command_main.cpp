#include "extract/command_main.hpp"

#include <iostream>
#include <string_view>
#include <variant>

#include "extract/extract_options.hpp"
#include "extract/extract_run.hpp"
#include "extract/replay.hpp"

namespace corvane::extract {

int command_main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]) == "--replay" || std::string_view(argv[i]).starts_with("--replay=")) {
            return replay_main(argc, argv);
        }
    }
    const auto parsed = parse_command_line(argc, argv, std::cout, std::cerr);
    if (const int* status = std::get_if<int>(&parsed)) return *status;
    return run_extraction(std::get<ExtractOptions>(parsed), argv[0]);
}

}  // namespace corvane::extract
