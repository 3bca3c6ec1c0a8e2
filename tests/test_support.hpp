// Shared test helpers: a scratch working directory, a console whose input is a script and
// whose output is captured, and small file utilities.
#pragma once

#include <string>
#include <string_view>

namespace corvane::testing {

// Creates a fresh directory, makes it the working directory, and removes it afterwards.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

// Replaces the console hooks: reads come from `input`, writes to the standard output and
// the error output are collected. The default hooks come back afterwards, and the console
// units are dropped so that the next test starts with fresh ones.
class ScriptedConsole {
public:
    explicit ScriptedConsole(std::string input = {});
    ~ScriptedConsole();
    ScriptedConsole(const ScriptedConsole&) = delete;
    ScriptedConsole& operator=(const ScriptedConsole&) = delete;

    const std::string& output() const;
    const std::string& errors() const;
    void clear();
};

// Forgets the console units, so that the next statement makes fresh ones.
void drop_console_units();

std::string read_file(const std::string& path);
void write_file(const std::string& path, std::string_view content);
bool file_exists(const std::string& path);
// What a shell command writes on its standard output (empty when it cannot be started).
std::string command_output(const std::string& command);

}  // namespace corvane::testing
