// corvane-extract's command run in a process of its own, for the desktop's criteria form.
// The extraction ends its process when it is done and keeps the record run-time's units,
// console hooks and working directory for itself; in a child process none of that touches
// the dialogue that runs beside it. Its standard error (the one-line reports and the
// summary) is collected; the bytes it has read measure its progress. A cancelled run is
// killed before it can publish anything half-done, and what it had begun is removed: its
// working directory, its temporary files and the empty log of its claim. Files it had
// already moved into place are whole: the extraction moves only complete files.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace corvane::extract {

struct ExtractionOutcome {
    int status = -1;        // the exit status; -1 when the process did not exit by itself
    bool cancelled = false;
    std::vector<std::string> messages;  // its standard error, a line each
    std::string failure;    // why the process could not be run
};

class ExtractionProcess {
public:
    ExtractionProcess() = default;
    ExtractionProcess(const ExtractionProcess&) = delete;
    ExtractionProcess& operator=(const ExtractionProcess&) = delete;
    ~ExtractionProcess();

    // Starts `argv` (the program first), which writes into `out_dir` (and `placed_dirs`, where
    // files beside the output directory go); false when it could not be started (then
    // `wait` says why). A run cancelled before it started is never started.
    bool start(const std::vector<std::string>& argv, const std::filesystem::path& out_dir,
               const std::vector<std::filesystem::path>& placed_dirs = {});
    // Blocks until the process has ended, collecting what it says.
    ExtractionOutcome wait();
    // From any thread: ends the run, or keeps it from starting.
    void cancel();
    // Bytes the process has read so far; 0 when that cannot be known.
    std::uint64_t bytes_read() const;

private:
    void remove_leftovers() const;

    mutable std::mutex mutex_;
    pid_t pid_ = -1;
    bool reaped_ = false;
    bool cancelled_ = false;
    int error_pipe_ = -1;
    std::string failure_;
    std::filesystem::path out_dir_;
    std::vector<std::filesystem::path> placed_dirs_;
    std::set<std::string> names_before_;  // in the output directory, before the run
};

}  // namespace corvane::extract
