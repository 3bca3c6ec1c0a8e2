// Temporary names beside the final one, the rename at the end, and the way back.
#include "extract/staged_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace corvane::extract {

namespace fs = std::filesystem;

namespace {

// Whether `path` names the file open on `fd`.
bool names_file(const fs::path& path, int fd) {
    struct stat named {}, open {};
    return fd >= 0 && ::lstat(path.c_str(), &named) == 0 && ::fstat(fd, &open) == 0 && named.st_dev == open.st_dev &&
           named.st_ino == open.st_ino;
}

}  // namespace

StagedFile::StagedFile(fs::path final_path, bool replace)
    : final_(fs::absolute(final_path)), replace_(replace) {
    const std::string hidden = "." + final_.filename().string();
    const std::string pid = std::to_string(::getpid());
    temporary_ = final_.parent_path() / (hidden + ".partial-" + pid);
    previous_ = final_.parent_path() / (hidden + ".previous-" + pid);
}

StagedFile::~StagedFile() {
    if (placed_) settle();
    else discard();
    release_placed();
}

std::string StagedFile::check() const {
    std::error_code error;
    if (!replace_ && fs::exists(fs::symlink_status(final_, error))) {
        return final_.string() + ": the file exists; give --force to replace it";
    }
    const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0) return final_.string() + ": cannot be written: " + std::strerror(errno);
    ::close(fd);
    ::unlink(temporary_.c_str());
    return {};
}

std::string StagedFile::commit() {
    std::string failure = place();
    if (failure.empty()) settle();
    return failure;
}

std::string StagedFile::place() {
    // What the name holds stays reachable under a second name, for retract.
    if (replace_) kept_previous_ = ::link(final_.c_str(), previous_.c_str()) == 0;
    placed_fd_ = ::open(temporary_.c_str(), O_RDONLY | O_CLOEXEC);
    // A link fails when the name is taken, where a rename would replace the file.
    const bool moved = replace_ ? std::rename(temporary_.c_str(), final_.c_str()) == 0
                                : ::link(temporary_.c_str(), final_.c_str()) == 0;
    if (!moved) {
        const std::string reason = std::strerror(errno);
        discard();
        settle();
        release_placed();
        return final_.string() + ": " + reason + "; not written";
    }
    placed_ = true;
    if (!replace_) ::unlink(temporary_.c_str());
    return {};
}

void StagedFile::retract() {
    if (!placed_) return discard();
    placed_ = false;
    // Only this run's file is taken back: another may have taken the name since.
    if (!names_file(final_, placed_fd_)) return settle();
    if (kept_previous_) std::rename(previous_.c_str(), final_.c_str());
    else ::unlink(final_.c_str());
    kept_previous_ = false;
    release_placed();
}

void StagedFile::settle() {
    if (kept_previous_) ::unlink(previous_.c_str());
    kept_previous_ = false;
    release_placed();
}

void StagedFile::release_placed() {
    if (placed_fd_ >= 0) ::close(placed_fd_);
    placed_fd_ = -1;
}

void StagedFile::discard() {
    ::unlink(temporary_.c_str());
}

}  // namespace corvane::extract
