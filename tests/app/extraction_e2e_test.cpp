// End-to-end runs of corvane-console: each scenario copies a data set into a scratch
// directory, feeds the scenario's answers on standard input, and compares everything the
// program writes (standard output, error output, exit status and the three output files)
// byte for byte with the checked files in tests/fixtures/<scenario>/.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "test_support.hpp"

extern char** environ;

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

enum class DataSet { fixtures, sample };

// What the program must leave behind; `absent` is an expected state too.
enum class Output { absent, present };
constexpr Output no = Output::absent;
constexpr Output yes = Output::present;

struct Scenario {
    std::string_view name;            // also the fixture directory holding input and expected files
    DataSet data = DataSet::fixtures;
    std::string_view overlay;         // a directory under fixtures/data whose files replace the base files
    std::string_view omitted_file;    // an input file removed before the run
    int exit_status = 0;
    Output log = yes;
    Output series = yes;
    Output failed_values = yes;
};

constexpr std::string_view log_file = "GHCNv2_Log_File";
constexpr std::string_view series_file = "GHCNv2_tsf";
constexpr std::string_view failed_values_file = "GHCNv2_Failed_Values_File";

// A fatal run-time report ends the program with status -1.
constexpr int fatal_status = 255;

constexpr Scenario scenarios[] = {
    // Each criterion alone, combined, and typed in other orders.
    {.name = "country_only"},
    {.name = "area_only"},
    {.name = "elevation_only"},
    {.name = "combined_123"},
    {.name = "digits_31"},
    {.name = "digits_21"},
    // Longitudes around 180 degrees.
    {.name = "dateline_box"},
    {.name = "longitude_transform"},
    // The question on stations without an elevation.
    {.name = "missing_elevation_included"},
    {.name = "missing_elevation_excluded"},
    // Series and failed values.
    {.name = "duplicates"},
    {.name = "failed_values"},
    {.name = "even_variable", .failed_values = no},
    {.name = "sea_level_pressure"},
    {.name = "zero_selected"},
    // The ways through the dialogue.
    {.name = "start_over"},
    {.name = "changed_mind"},
    {.name = "null_answers"},
    {.name = "quit_at_restart", .series = no, .failed_values = no},
    {.name = "quit_at_menu", .log = no, .series = no, .failed_values = no},
    {.name = "invalid_digit_exit", .log = no, .series = no, .failed_values = no},
    {.name = "invalid_digit_start_over"},
    // Failures.
    {.name = "letters_at_numeric_prompt", .exit_status = fatal_status, .log = no, .series = no,
     .failed_values = no},
    {.name = "missing_inventory", .omitted_file = "v2.temperature.inv", .exit_status = fatal_status,
     .series = no, .failed_values = no},
    {.name = "missing_data_file", .omitted_file = "v2.mean", .exit_status = fatal_status, .series = no,
     .failed_values = no},
    {.name = "missing_failed_qc_file", .omitted_file = "v2.mean.failed.qc", .exit_status = fatal_status,
     .failed_values = no},
    {.name = "bad_data_record_while_copying", .overlay = "bad-data-record"},
    {.name = "bad_data_record_while_scanning", .overlay = "bad-data-record"},
    {.name = "bad_failed_qc_record", .overlay = "bad-failed-qc-record"},
    // The bundled sample data set, with its full country list.
    {.name = "sample_samoa", .data = DataSet::sample},
};

void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }

fs::path fixtures_dir() { return CORVANE_FIXTURES_DIR; }
fs::path base_data_dir() { return fixtures_dir() / "data" / "ghcn-v2"; }
fs::path sample_data_dir() { return fs::path(CORVANE_EXAMPLES_DIR) / "ghcn-v2-sample"; }

std::optional<std::string> file_text(const fs::path& path) {
    if (!fs::is_regular_file(path)) return std::nullopt;
    return read_file(path.string());
}

struct RunResult {
    std::string out;
    std::string err;
    int status = -1;  // exit status; -1 when the program did not exit normally
    std::string failure;
};

// The environment of the test without the run-time's own settings, so that a developer's
// shell cannot change the columns of the output.
std::vector<std::string> child_environment() {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view entry = *e;
        if (entry.starts_with("VORNEX_RT_FLAGS=") || entry.starts_with("TABSIZE=")) continue;
        env.emplace_back(entry);
    }
    return env;
}

// Runs the program in the working directory (the scratch directory) with `input` on its
// standard input; no shell is involved.
RunResult run_program(const std::string& input) {
    RunResult result;
    int in_pipe[2], out_pipe[2], err_pipe[2];
    if (pipe2(in_pipe, O_CLOEXEC) != 0 || pipe2(out_pipe, O_CLOEXEC) != 0 || pipe2(err_pipe, O_CLOEXEC) != 0) {
        result.failure = std::string("pipe: ") + std::strerror(errno);
        return result;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in_pipe[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err_pipe[1], STDERR_FILENO);

    std::vector<std::string> env = child_environment();
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = CORVANE_CONSOLE_PROGRAM;
    char* argv[] = {program.data(), nullptr};

    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(in_pipe[0]);
    close(out_pipe[1]);
    close(err_pipe[1]);
    if (spawned != 0) {
        close(in_pipe[1]);
        close(out_pipe[0]);
        close(err_pipe[0]);
        result.failure = std::string("posix_spawn: ") + std::strerror(spawned);
        return result;
    }

    // The program may stop reading before the script ends: a write then fails with EPIPE
    // instead of ending the test process.
    struct sigaction ignore {}, previous {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previous);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int to_child = in_pipe[1];
    std::size_t written = 0;
    if (input.empty()) {
        close(to_child);
        to_child = -1;
    }
    std::array<int, 2> from_child = {out_pipe[0], err_pipe[0]};
    std::array<std::string*, 2> sinks = {&result.out, &result.err};
    while (to_child >= 0 || from_child[0] >= 0 || from_child[1] >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                                std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            result.failure = "the program did not finish within 120 s";
            break;
        }
        std::vector<pollfd> fds;
        if (to_child >= 0) fds.push_back({to_child, POLLOUT, 0});
        for (int fd : from_child) {
            if (fd >= 0) fds.push_back({fd, POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0) {
            if (errno == EINTR) continue;
            result.failure = std::string("poll: ") + std::strerror(errno);
            kill(pid, SIGKILL);
            break;
        }
        for (const pollfd& p : fds) {
            if (p.revents == 0) continue;
            if (p.fd == to_child) {
                const ssize_t n = write(to_child, input.data() + written, input.size() - written);
                if (n > 0) written += static_cast<std::size_t>(n);
                if ((n < 0 && errno != EINTR) || written == input.size()) {
                    close(to_child);
                    to_child = -1;
                }
                continue;
            }
            for (std::size_t k = 0; k < from_child.size(); ++k) {
                if (p.fd != from_child[k]) continue;
                char buffer[8192];
                const ssize_t n = read(p.fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[k]->append(buffer, static_cast<std::size_t>(n));
                } else if (n == 0 || errno != EINTR) {
                    close(p.fd);
                    from_child[k] = -1;
                }
            }
        }
    }
    if (to_child >= 0) close(to_child);
    for (int fd : from_child) {
        if (fd >= 0) close(fd);
    }
    sigaction(SIGPIPE, &previous, nullptr);

    int wait_status = 0;
    while (waitpid(pid, &wait_status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(wait_status)) result.status = WEXITSTATUS(wait_status);
    else if (result.failure.empty()) result.failure = "the program was ended by signal " +
                                                      std::to_string(WTERMSIG(wait_status));
    return result;
}

std::string hex_byte(unsigned char c) {
    constexpr char digits[] = "0123456789abcdef";
    return {digits[c >> 4], digits[c & 15]};
}

std::string visible(std::string_view line) {
    std::string s;
    for (char c : line) {
        if (c == '\r') s += "\\r";
        else if (static_cast<unsigned char>(c) < 32 || c == 127) s += "\\x" + hex_byte(static_cast<unsigned char>(c));
        else s += c;
    }
    return s;
}

// Empty when equal; otherwise the first line that differs, both ways, so a failure reads
// without a byte dump.
std::string difference(const std::string& expected, const std::string& actual) {
    if (expected == actual) return {};
    std::size_t line = 1, start = 0;
    const std::size_t n = std::min(expected.size(), actual.size());
    std::size_t i = 0;
    while (i < n && expected[i] == actual[i]) {
        if (expected[i] == '\n') {
            ++line;
            start = i + 1;
        }
        ++i;
    }
    auto line_at = [start](const std::string& s) {
        const std::size_t end = s.find('\n', start);
        return start > s.size() ? std::string_view{} : std::string_view(s).substr(start, end == std::string::npos
                                                                                                 ? std::string::npos
                                                                                                 : end - start);
    };
    return "first difference in line " + std::to_string(line) + " (byte " + std::to_string(i) + ")\n  expected: \"" +
           visible(line_at(expected)) + "\"" + (i == expected.size() ? " <end>" : "") + "\n  actual:   \"" +
           visible(line_at(actual)) + "\"" + (i == actual.size() ? " <end>" : "") + "\n  sizes: expected " +
           std::to_string(expected.size()) + ", actual " + std::to_string(actual.size());
}

void copy_data_files(const fs::path& from, const fs::path& to) {
    ASSERT_TRUE(fs::is_directory(from)) << from;
    for (const fs::directory_entry& e : fs::directory_iterator(from)) {
        if (e.is_regular_file() && e.path().filename().string().starts_with("v2.")) {
            fs::copy_file(e.path(), to / e.path().filename(), fs::copy_options::overwrite_existing);
        }
    }
}

void expect_output_file(const fs::path& expected_dir, const fs::path& work, std::string_view name, Output state) {
    SCOPED_TRACE(std::string(name));
    const std::optional<std::string> expected = file_text(expected_dir / name);
    const std::optional<std::string> actual = file_text(work / name);
    if (state == Output::absent) {
        EXPECT_FALSE(expected.has_value()) << "the fixture holds a file that the table says is absent";
        EXPECT_FALSE(actual.has_value()) << "the program wrote a file it must not write";
        return;
    }
    ASSERT_TRUE(expected.has_value()) << "no expected file in " << expected_dir;
    ASSERT_TRUE(actual.has_value()) << "the program did not write the file";
    EXPECT_TRUE(*expected == *actual) << difference(*expected, *actual);
}

class ExtractionEndToEnd : public ::testing::TestWithParam<Scenario> {};

TEST_P(ExtractionEndToEnd, WritesExactlyTheCheckedFiles) {
    const Scenario& s = GetParam();
    const fs::path expected_dir = fixtures_dir() / s.name;
    const std::optional<std::string> input = file_text(expected_dir / "input");
    ASSERT_TRUE(input.has_value()) << "no input script in " << expected_dir;

    ScratchDirectory scratch;
    const fs::path work = scratch.path();
    ASSERT_NO_FATAL_FAILURE(copy_data_files(s.data == DataSet::sample ? sample_data_dir() : base_data_dir(), work));
    if (!s.overlay.empty()) {
        ASSERT_NO_FATAL_FAILURE(copy_data_files(fixtures_dir() / "data" / s.overlay, work));
    }
    if (!s.omitted_file.empty()) {
        ASSERT_TRUE(fs::remove(work / s.omitted_file)) << "the data set has no " << s.omitted_file;
    }

    const RunResult run = run_program(*input);
    ASSERT_TRUE(run.failure.empty()) << run.failure;

    const std::optional<std::string> expected_out = file_text(expected_dir / "stdout");
    const std::optional<std::string> expected_err = file_text(expected_dir / "stderr");
    ASSERT_TRUE(expected_out.has_value() && expected_err.has_value()) << "missing stdout or stderr in " << expected_dir;
    EXPECT_EQ(run.status, s.exit_status);
    EXPECT_TRUE(*expected_out == run.out) << "standard output: " << difference(*expected_out, run.out);
    EXPECT_TRUE(*expected_err == run.err) << "error output: " << difference(*expected_err, run.err);
    expect_output_file(expected_dir, work, log_file, s.log);
    expect_output_file(expected_dir, work, series_file, s.series);
    expect_output_file(expected_dir, work, failed_values_file, s.failed_values);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ExtractionEndToEnd, ::testing::ValuesIn(scenarios),
                         [](const ::testing::TestParamInfo<Scenario>& info) { return std::string(info.param.name); });

// A scenario directory that the table does not name would never run.
TEST(ExtractionEndToEndFixtures, EveryScenarioDirectoryIsInTheTable) {
    std::set<std::string> named;
    for (const Scenario& s : scenarios) EXPECT_TRUE(named.insert(std::string(s.name)).second) << s.name;
    std::set<std::string> found;
    for (const fs::directory_entry& e : fs::directory_iterator(fixtures_dir())) {
        if (e.is_directory() && fs::exists(e.path() / "input")) found.insert(e.path().filename().string());
    }
    EXPECT_EQ(found, named);
}

}  // namespace
}  // namespace corvane::testing
