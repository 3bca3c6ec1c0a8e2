// The whole dialogue on arbitrary answers, over the test data set: the menus, the
// selection, the search, the extraction. Every run ends through the program's own end
// (STOP, a report, the end of the answers), which the console hook turns into an exception
// so that the next input can run.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "app/dialogue.hpp"
#include "fuzz_support.hpp"
#include "units/termination.hpp"

using namespace corvane;

namespace {

std::string data_directory;

void remove_data_directory() {
    std::error_code ignored;
    std::filesystem::remove_all(data_directory, ignored);
}

}  // namespace

// The working directory becomes a copy of the test data set (so the corpus and artifact
// paths given to the fuzzer must be absolute).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    namespace fs = std::filesystem;
    data_directory = (fs::temp_directory_path() / "corvane-dialogue-fuzz-XXXXXX").string();
    if (!::mkdtemp(data_directory.data())) std::abort();
    for (const fs::directory_entry& e : fs::directory_iterator(CORVANE_FIXTURE_DATA)) {
        if (e.is_regular_file()) fs::copy_file(e.path(), fs::path(data_directory) / e.path().filename());
    }
    fs::current_path(data_directory);
    std::atexit(remove_data_directory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto run = std::make_unique<app::RunData>();
    *run = app::RunData{};
    fuzz::install_fuzz_console({reinterpret_cast<const char*>(data), size});
    try {
        app::run_dialogue(*run);
    } catch (const fuzz::ProgramEnded&) {
    }
    units::rearm_termination();
    return 0;
}
