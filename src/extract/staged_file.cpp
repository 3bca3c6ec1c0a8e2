// Temporary names beside the final one, and the rename at the end.
#include "extract/staged_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace corvane::extract {

namespace fs = std::filesystem;

StagedFile::StagedFile(fs::path final_path, bool replace)
    : final_(fs::absolute(final_path)), replace_(replace) {
    temporary_ = final_.parent_path() / ("." + final_.filename().string() + ".partial-" + std::to_string(::getpid()));
}

StagedFile::~StagedFile() {
    if (!committed_) discard();
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
    // A link fails when the name is taken, where a rename would replace the file.
    const bool moved = replace_ ? std::rename(temporary_.c_str(), final_.c_str()) == 0
                                : ::link(temporary_.c_str(), final_.c_str()) == 0;
    if (!moved) {
        const std::string reason = std::strerror(errno);
        discard();
        return final_.string() + ": " + reason + "; not written";
    }
    committed_ = true;
    if (!replace_) ::unlink(temporary_.c_str());
    return {};
}

void StagedFile::discard() {
    ::unlink(temporary_.c_str());
}

}  // namespace corvane::extract
