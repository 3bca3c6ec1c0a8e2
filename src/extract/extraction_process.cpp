#include "extract/extraction_process.hpp"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/run_data.hpp"

extern char** environ;

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

std::set<std::string> names_in(const fs::path& dir) {
    std::set<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, error)) names.insert(entry.path().filename());
    return names;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (end == std::string::npos) break;
        from = end + 1;
    }
    return lines;
}

std::string read_all(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR) break;
    }
    return text;
}

bool empty_file(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
}

}  // namespace

ExtractionProcess::~ExtractionProcess() {
    cancel();
    if (pid_ > 0 && !reaped_) wait();
    if (error_pipe_ >= 0) ::close(error_pipe_);
}

bool ExtractionProcess::start(const std::vector<std::string>& argv, const fs::path& out_dir,
                              const std::vector<fs::path>& placed_dirs) {
    std::lock_guard lock(mutex_);
    if (cancelled_) return false;
    out_dir_ = fs::absolute(out_dir);
    placed_dirs_ = placed_dirs;
    names_before_ = names_in(out_dir_);
    int pipe_ends[2];
    if (::pipe2(pipe_ends, O_CLOEXEC) != 0) {
        failure_ = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> words;
    for (const std::string& word : argv) words.push_back(const_cast<char*>(word.c_str()));
    words.push_back(nullptr);
    const int error = ::posix_spawn(&pid_, words[0], &actions, nullptr, words.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipe_ends[1]);
    error_pipe_ = pipe_ends[0];
    if (error == 0) return true;
    pid_ = -1;
    failure_ = argv[0] + ": " + std::strerror(error);
    return false;
}

ExtractionOutcome ExtractionProcess::wait() {
    ExtractionOutcome outcome;
    if (pid_ <= 0) {
        outcome.cancelled = cancelled_;
        outcome.failure = failure_;
        return outcome;
    }
    outcome.messages = lines_of(read_all(error_pipe_));
    // Seen ended but not yet reaped: a cancel meanwhile cannot reach another process of
    // the same number.
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    int status = 0;
    {
        std::lock_guard lock(mutex_);
        ::waitpid(pid_, &status, 0);
        reaped_ = true;
        outcome.cancelled = cancelled_;
    }
    if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
    if (outcome.cancelled) remove_leftovers();
    return outcome;
}

void ExtractionProcess::cancel() {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
    if (pid_ > 0 && !reaped_) ::kill(pid_, SIGKILL);
}

std::uint64_t ExtractionProcess::bytes_read() const {
    std::lock_guard lock(mutex_);
    if (pid_ <= 0 || reaped_) return 0;
    std::ifstream io("/proc/" + std::to_string(pid_) + "/io");
    for (std::string key; io >> key;) {
        std::uint64_t value = 0;
        if (!(io >> value)) break;
        if (key == "rchar:") return value;
    }
    return 0;
}

// What the killed run had begun: a working directory, the temporary names of the files it
// writes beside its final ones, and the empty log its claim made.
void ExtractionProcess::remove_leftovers() const {
    const std::string partial = ".partial-" + std::to_string(pid_);
    std::vector<fs::path> dirs = placed_dirs_;
    dirs.push_back(out_dir_);
    for (const fs::path& dir : dirs) {
        for (const std::string& name : names_in(dir)) {
            std::error_code ignored;
            if (name.starts_with(".") && name.ends_with(partial)) fs::remove(dir / name, ignored);
        }
    }
    for (const std::string& name : names_in(out_dir_)) {
        if (names_before_.contains(name)) continue;
        std::error_code ignored;
        if (name.starts_with(".corvane-extract-")) fs::remove_all(out_dir_ / name, ignored);
        if (name == app::log_file_name && empty_file(out_dir_ / name)) fs::remove(out_dir_ / name, ignored);
    }
}

}  // namespace corvane::extract
