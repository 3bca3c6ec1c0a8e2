// A file's state is taken from the open file before and after it is read: only a file that
// stood still in between has its sum offered, also when it was renamed meanwhile.
#include "extract/background_digests.hpp"

#include <system_error>
#include <vector>

namespace corvane::extract {

namespace {

// The sums begun and not yet offered (touched from the program's own thread only). Never
// destroyed: a sum is given up by its owner's destructor, which may run among the program's
// static objects after this list would have been.
std::vector<BackgroundDigests*>& begun() {
    static auto* const sums = new std::vector<BackgroundDigests*>;
    return *sums;
}

}  // namespace

BackgroundDigests::~BackgroundDigests() {
    std::erase(begun(), this);
    stop_now();
}

void BackgroundDigests::start(std::vector<std::filesystem::path> files) {
    files_ = std::move(files);
    try {
        thread_ = std::thread([this] { sum_files(); });
        stop_at_exit(this);
        begun().push_back(this);
    } catch (const std::system_error&) {
        // No thread: the manifest reads the files itself.
    }
}

void BackgroundDigests::sum_files() {
    for (const std::filesystem::path& file : files_) {
        if (std::optional<StillFileDigest> sum = sha256_of_still_file(file, &give_up_))
            sums_.emplace_back(sum->state, std::move(sum->sha256));
    }
}

void BackgroundDigests::offer() {
    std::erase(begun(), this);
    if (!thread_.joinable()) return;
    thread_.join();
    forget_at_exit(this);
    for (auto& [state, sum] : sums_) offer_digest(state, std::move(sum));
    sums_.clear();
}

void offer_background_digests() {
    const std::vector<BackgroundDigests*> sums = begun();
    for (BackgroundDigests* sum : sums) sum->offer();
}

void BackgroundDigests::stop_now() {
    give_up_ = true;
    if (!thread_.joinable()) return;
    thread_.join();
    forget_at_exit(this);
}

}  // namespace corvane::extract
