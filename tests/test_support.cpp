#include "test_support.hpp"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

#include "units/console_hooks.hpp"
#include "units/unit_table.hpp"

namespace corvane::testing {

namespace {

struct ConsoleScript {
    std::string input;
    std::size_t consumed = 0;
    std::string output;
    std::string errors;
};

ConsoleScript& script() {
    static ConsoleScript s;
    return s;
}

std::size_t scripted_read(char* buffer, std::size_t size, units::ConnectionRecord&) {
    ConsoleScript& s = script();
    // One line per call, as a terminal delivers it.
    std::size_t end = s.input.find('\n', s.consumed);
    end = end == std::string::npos ? s.input.size() : end + 1;
    const std::size_t n = std::min(size, end - s.consumed);
    std::memcpy(buffer, s.input.data() + s.consumed, n);
    s.consumed += n;
    return n;
}

std::size_t captured_write(const char* bytes, std::size_t count, int handle_code, units::ConnectionRecord*) {
    (handle_code == units::handle_stdout ? script().output : script().errors).append(bytes, count);
    return count;
}

}  // namespace

void drop_console_units() {
    for (int code : {units::unit_console_in, units::unit_console_out, units::unit_console_err}) {
        if (units::ConnectionRecord* r = units::unit_table().find(code)) units::unit_table().remove(r);
    }
}

ScratchDirectory::ScratchDirectory() {
    previous_ = std::filesystem::current_path().string();
    std::string templ = (std::filesystem::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (!::mkdtemp(templ.data())) throw std::runtime_error("mkdtemp failed");
    path_ = templ;
    std::filesystem::current_path(path_);
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
    std::filesystem::remove_all(path_, ignored);
}

ScriptedConsole::ScriptedConsole(std::string input) {
    script() = ConsoleScript{std::move(input), 0, {}, {}};
    drop_console_units();
    units::ConsoleHooks hooks = units::default_console_hooks();
    hooks.read_line = scripted_read;
    hooks.write_bytes = captured_write;
    units::install_console_hooks(hooks);
}

ScriptedConsole::~ScriptedConsole() {
    drop_console_units();
    units::install_console_hooks(units::default_console_hooks());
}

const std::string& ScriptedConsole::output() const { return script().output; }
const std::string& ScriptedConsole::errors() const { return script().errors; }
void ScriptedConsole::clear() {
    script().output.clear();
    script().errors.clear();
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void write_file(const std::string& path, std::string_view content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

std::string command_output(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return out;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
    ::pclose(pipe);
    return out;
}

}  // namespace corvane::testing
