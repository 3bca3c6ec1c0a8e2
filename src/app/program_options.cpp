#include "app/program_options.hpp"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>
#include <unistd.h>

#include "app/program_help.hpp"

namespace corvane::app {

namespace {

// Removes `count` words from argv at `first`, keeping the terminating null.
void drop_words(int& argc, char** argv, int first, int count) {
    for (int i = first; i + count <= argc; ++i) argv[i] = argv[i + count];
    argc -= count;
}

}  // namespace

std::string help_text(const InteractiveProgram& p) {
    const std::string name(p.name);
    return "Usage: " + name + " [--data-dir DIR] [WORD...]\n"
           "       " + name + " --help | --version\n\n" +
           std::string(p.description) +
           "\n"
           "  --data-dir DIR  enter DIR, which holds the data files, before the dialogue starts;\n"
           "                  the output files are written there too\n"
           "  --help          show this help and exit (only as the one argument)\n"
           "  --version       show the version and exit (only as the one argument)\n"
           "  WORD...         with VORNEX_RT_FLAGS=-fileprompt, the names of files that an OPEN\n"
           "                  gives without a name, in turn\n\n"
           "Files read, from the working directory:\n" +
           input_files_text() + "Files written, into the working directory:\n" + output_files_text() +
           "\nEnvironment:\n" + environment_text() +
           "\nExit status:\n"
           "  0      the dialogue ended normally\n"
           "  1      the extraction stopped at a record it could not read, another run is writing\n"
           "         the output files in the directory, or the data directory cannot be entered\n"
           "  2      --data-dir without a directory\n"
           "  128+n  interrupted by signal n (the files written so far are complete records)\n"
           "  255    a run-time error, reported on standard error in lines beginning \"? \"\n\n" +
           data_source_text() + "See also: corvane-extract(1), the manual page " + name + "(1).\n";
}

std::optional<int> take_program_options(const InteractiveProgram& program, int& argc, char** argv,
                                        std::ostream& out, std::ostream& err) {
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        out << help_text(program);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        out << version_text(program.name);
        return 0;
    }
    if (argc < 2) return std::nullopt;
    const std::string_view first = argv[1];
    std::string dir;
    if (first == "--data-dir") {
        if (argc < 3 || *argv[2] == '\0') {
            err << program.name << ": --data-dir: no directory given; expected --data-dir DIR\n";
            return 2;
        }
        dir = argv[2];
        drop_words(argc, argv, 1, 2);
    } else if (first.starts_with("--data-dir=")) {
        dir = first.substr(std::strlen("--data-dir="));
        if (dir.empty()) {
            err << program.name << ": --data-dir: no directory given; expected --data-dir DIR\n";
            return 2;
        }
        drop_words(argc, argv, 1, 1);
    } else {
        return std::nullopt;
    }
    if (::chdir(dir.c_str()) != 0) {
        const int error = errno;
        std::error_code ignored;
        err << program.name << ": cannot enter the data directory " << std::filesystem::absolute(dir, ignored).string()
            << ": " << std::strerror(error) << '\n';
        return 1;
    }
    return std::nullopt;
}

}  // namespace corvane::app
