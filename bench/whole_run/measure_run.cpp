// Runs a program and reports its wall time, its peak resident memory and its exit status
// on one line: "wall_seconds peak_kib status". Standard input and output may be files.
//   corvane-measure-run [--in FILE] [--out FILE] -- PROGRAM [ARGUMENTS...]
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage() {
    std::fprintf(stderr, "usage: corvane-measure-run [--in FILE] [--out FILE] -- PROGRAM [ARGUMENTS...]\n");
    return 2;
}

// Puts `path` on descriptor `target` in the child; exits the child when it cannot.
void redirect(const char* path, int flags, int target) {
    const int fd = ::open(path, flags, 0644);
    if (fd < 0 || ::dup2(fd, target) < 0) {
        std::perror(path);
        ::_exit(127);
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char** argv) {
    const char* input = nullptr;
    const char* output = nullptr;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--in" && i + 1 < argc) input = argv[++i];
        else if (arg == "--out" && i + 1 < argc) output = argv[++i];
        else if (arg == "--") break;
        else return usage();
    }
    if (i + 1 >= argc) return usage();
    char** command = argv + i + 1;

    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) return 1;
    if (pid == 0) {
        if (input) redirect(input, O_RDONLY, STDIN_FILENO);
        if (output) redirect(output, O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO);
        ::execvp(command[0], command);
        std::perror(command[0]);
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) < 0) return 1;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    const int exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::printf("%.4f %ld %d\n", wall.count(), usage.ru_maxrss, exit_status);
    return 0;
}
