// Checksums of files made on a thread of their own while the run goes on: the inputs' while
// the run reads and writes, the netCDF file's while the other outputs are completed, so that
// the manifest at the end need not read them once more. Each sum is offered for the file as
// it stood while it was read; a file that changed meanwhile is read again by the manifest.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "extract/file_digest.hpp"
#include "extract/summing_threads.hpp"

namespace corvane::extract {

class BackgroundDigests : public SummingThread {
public:
    BackgroundDigests() = default;
    ~BackgroundDigests();  // gives the sums up if they were not offered
    BackgroundDigests(const BackgroundDigests&) = delete;
    BackgroundDigests& operator=(const BackgroundDigests&) = delete;

    // Starts summing `files`; nothing happens when no thread can be had.
    void start(std::vector<std::filesystem::path> files);
    // Waits for the sums and offers them to file_record (offer_background_digests does).
    void offer();
    void stop_now() override;

private:
    void sum_files();

    std::vector<std::filesystem::path> files_;
    std::vector<std::pair<FileState, std::string>> sums_;
    std::atomic<bool> give_up_{false};
    std::thread thread_;
};

// Waits for every sum begun in the background and offers it: the manifest calls it before
// it takes the records of its files.
void offer_background_digests();

}  // namespace corvane::extract
