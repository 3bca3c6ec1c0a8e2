#include "extract/staging.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "app/run_data.hpp"
#include "units/file_layer.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

// 0 when something stands at `path`, ENOENT when nothing does, else the system's reason for
// not knowing: a file that cannot be seen is never taken for one that is not there.
int presence(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? 0 : errno;
}

std::string nothing_moved(const fs::path& dir) { return "; nothing was moved, the new files are in " + dir.string(); }

}  // namespace

std::string Staging::make_output_dir(const fs::path& out_dir) {
    std::error_code error;
    made_out_dir_ = fs::create_directories(out_dir, error);
    return error ? out_dir.string() + ": " + error.message() : std::string();
}

std::string Staging::create(const fs::path& out_dir, const fs::path& data_dir,
                            const std::vector<std::string_view>& inputs) {
    out_dir_ = out_dir;
    claim_output_dir();
    std::string name = (out_dir / ".corvane-extract-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        return "cannot make a working directory in " + out_dir.string() + ": " + std::strerror(errno);
    }
    dir_ = name;
    for (std::string_view input : inputs) {
        std::error_code error;
        fs::create_symlink(data_dir / input, dir_ / input, error);
        if (error) return "cannot link " + (data_dir / input).string() + " into " + dir_.string() + ": " + error.message();
    }
    return {};
}

// The lock the dialogue takes on its log, held until the process ends. The lock makes the
// log's name when nothing stood there: that empty file is this run's, replaced by its log
// or removed again.
void Staging::claim_output_dir() {
    const fs::path log = out_dir_ / app::log_file_name;
    const bool had_log = presence(log) != ENOENT;
    // A file system that cannot lock still gets the name made: it is this run's all the same.
    if (units::lock_for_process(log.string()) == units::ProcessLock::busy || had_log) return;
    struct stat st {};
    if (::lstat(log.c_str(), &st) != 0) return;
    lock_file_ = {st.st_dev, st.st_ino};
}

bool Staging::is_lock_file(const fs::path& path) const {
    struct stat st {};
    return lock_file_ && ::lstat(path.c_str(), &st) == 0 && lock_file_->first == st.st_dev &&
           lock_file_->second == st.st_ino;
}

std::vector<std::string> Staging::publish(const std::vector<std::string_view>& outputs, bool replace) {
    in_place_ = 0;
    // A run writing its files in the output directory holds its log locked; replacing its
    // files would leave it writing into files no longer there, or mix two sets.
    const fs::path log = out_dir_ / app::log_file_name;
    if (!outputs.empty() && units::lock_for_process(log.string()) == units::ProcessLock::busy) {
        return {out_dir_.string() + ": another run is writing the output files there; the new files are in " +
                dir_.string()};
    }
    std::vector<std::string_view> written;
    std::vector<std::string> failures = written_outputs(outputs, written);
    if (failures.empty() && replace) failures = rename_all(written);
    if (failures.empty() && !replace) {
        if (std::string failure = link_all(written); !failure.empty()) failures.push_back(failure);
    }
    if (is_lock_file(log)) ::unlink(log.c_str());  // the log was not written, or not moved
    if (failures.empty()) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);  // the links, and the directory
    }
    return failures;
}

void Staging::abandon() {
    publish({}, false);
    if (made_out_dir_) ::rmdir(out_dir_.c_str());  // fails, as it should, when anything stands there
}

// The outputs that stand in the working directory; a status check that fails for any
// reason but absence is a failure, and nothing is moved.
std::vector<std::string> Staging::written_outputs(const std::vector<std::string_view>& outputs,
                                                  std::vector<std::string_view>& written) const {
    std::vector<std::string> failures;
    for (std::string_view output : outputs) {
        const fs::path from = dir_ / output;
        if (const int error = presence(from); error == 0) written.push_back(output);
        else if (error != ENOENT) failures.push_back(from.string() + ": " + std::strerror(error) + nothing_moved(dir_));
    }
    return failures;
}

// Without replacing anything: each file gets its final name as a second link (which refuses
// a name that is taken), and only when all have one are the working names dropped. The
// claim's own empty log is replaced last.
std::string Staging::link_all(const std::vector<std::string_view>& written) {
    std::vector<fs::path> linked;
    std::string failure;
    for (std::string_view output : written) {
        const fs::path to = out_dir_ / output;
        if (is_lock_file(to)) continue;
        if (::link((dir_ / output).c_str(), to.c_str()) != 0) {
            failure = to.string() + ": " + std::strerror(errno) + nothing_moved(dir_);
            break;
        }
        linked.push_back(to);
    }
    const fs::path log = out_dir_ / app::log_file_name;
    const bool log_written = std::find(written.begin(), written.end(), app::log_file_name) != written.end();
    if (failure.empty() && log_written && is_lock_file(log) &&
        std::rename((dir_ / app::log_file_name).c_str(), log.c_str()) != 0) {
        failure = log.string() + ": " + std::strerror(errno) + nothing_moved(dir_);
    }
    for (const fs::path& to : linked) ::unlink(failure.empty() ? (dir_ / to.filename()).c_str() : to.c_str());
    if (failure.empty()) in_place_ = static_cast<int>(written.size());
    return failure;
}

// Replacing: each file is renamed over its final name.
std::vector<std::string> Staging::rename_all(const std::vector<std::string_view>& written) {
    std::vector<std::string> failures;
    for (std::string_view output : written) {
        const fs::path from = dir_ / output;
        const fs::path to = out_dir_ / output;
        if (std::rename(from.c_str(), to.c_str()) == 0) ++in_place_;
        else failures.push_back(to.string() + ": " + std::strerror(errno) + "; the new file is " + from.string());
    }
    return failures;
}

}  // namespace corvane::extract
