#include "extract/staging.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "app/run_data.hpp"
#include "units/file_layer.hpp"

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

// Moves `from` to `to`. Without `replace` an existing `to` is left alone (a hard link
// refuses to replace it, so a file made meanwhile by someone else is not lost).
int move_file(const fs::path& from, const fs::path& to, bool replace) {
    if (replace) return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
    if (::link(from.c_str(), to.c_str()) != 0) return errno;
    ::unlink(from.c_str());
    return 0;
}

}  // namespace

std::string Staging::create(const fs::path& out_dir, const fs::path& data_dir,
                            const std::vector<std::string_view>& inputs) {
    out_dir_ = out_dir;
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

std::vector<std::string> Staging::publish(const std::vector<std::string_view>& outputs, bool replace) {
    std::vector<std::string> failures;
    // A dialogue writing its files in the output directory holds its log locked; replacing
    // its files would leave it writing into files no longer there. (The lock, once taken,
    // keeps a dialogue from starting there until this process ends.)
    const fs::path log = out_dir_ / app::log_file_name;
    std::error_code ignored;
    if (replace && !outputs.empty() && fs::exists(log, ignored) &&
        units::lock_for_process(log.string()) == units::ProcessLock::busy) {
        failures.push_back(out_dir_.string() + ": another run is writing the output files there; the new files are in " +
                           dir_.string());
        return failures;
    }
    for (std::string_view output : outputs) {
        const fs::path from = dir_ / output;
        std::error_code ignored;
        if (!fs::exists(fs::symlink_status(from, ignored))) continue;
        if (int error = move_file(from, out_dir_ / output, replace)) {
            failures.push_back((out_dir_ / output).string() + ": " + std::strerror(error) + "; the new file is " +
                               from.string());
        }
    }
    if (failures.empty()) {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);  // the links, and the directory
    }
    return failures;
}

}  // namespace corvane::extract
