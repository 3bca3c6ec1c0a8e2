// corvane-extract's front end on arbitrary argument vectors over the test data set: the
// command line, the checks, the search, the extraction, the CSV tables and the moving of
// the files into place. The input is the words, separated by NUL bytes. Every path stays
// inside a private directory (a '/' becomes '_', and ".." is no word), and what a run leaves
// there beside the data set is removed before the next. A run that the run-time ends comes
// back through an exit routine that throws, so that the next input can run.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

#include "extract/extract_options.hpp"
#include "extract/extract_run.hpp"
#include "units/termination.hpp"

using namespace corvane;
namespace fs = std::filesystem;

namespace {

fs::path private_directory;
std::set<fs::path> data_set;  // the files that stay between runs

struct ProgramEnded {};
bool exit_armed = false;

void end_of_program() {
    exit_armed = false;
    throw ProgramEnded{};
}

void remove_private_directory() {
    std::error_code ignored;
    fs::current_path(fs::temp_directory_path(), ignored);
    fs::remove_all(private_directory, ignored);
}

// The words of the input, each kept inside the private directory.
std::vector<std::string> words_of(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\0') words.emplace_back();
        else words.back() += c == '/' ? '_' : c;
    }
    for (std::string& w : words) {
        if (w == "..") w = "_";
    }
    return words;
}

// Back in the private directory with only the data set in it.
void clean_up() {
    std::error_code ignored;
    fs::current_path(private_directory, ignored);
    std::vector<fs::path> left;
    for (const fs::directory_entry& e : fs::directory_iterator(private_directory, ignored)) {
        if (!data_set.contains(e.path().filename())) left.push_back(e.path());
    }
    for (const fs::path& p : left) fs::remove_all(p, ignored);
}

}  // namespace

// The working directory becomes a copy of the test data set (so the corpus and artifact
// paths given to the fuzzer must be absolute).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string name = (fs::temp_directory_path() / "corvane-extract-fuzz-XXXXXX").string();
    if (!::mkdtemp(name.data())) std::abort();
    private_directory = name;
    for (const fs::directory_entry& e : fs::directory_iterator(CORVANE_FIXTURE_DATA)) {
        if (!e.is_regular_file()) continue;
        fs::copy_file(e.path(), private_directory / e.path().filename());
        data_set.insert(e.path().filename());
    }
    fs::current_path(private_directory);
    std::atexit(remove_private_directory);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words = words_of(data, size);
    std::vector<char*> argv;
    std::string program = "corvane-extract";
    argv.push_back(program.data());
    for (std::string& w : words) argv.push_back(w.data());
    std::ostringstream out, err;
    const auto parsed = extract::parse_command_line(static_cast<int>(argv.size()), argv.data(), out, err);
    if (const auto* options = std::get_if<extract::ExtractOptions>(&parsed)) {
        if (!exit_armed) units::register_exit_routine(end_of_program);
        exit_armed = true;
        try {
            extract::run_extraction(*options, argv[0]);
        } catch (const ProgramEnded&) {
        }
        units::rearm_termination();
    }
    clean_up();
    return 0;
}
