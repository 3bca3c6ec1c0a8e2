// The checksums of a run's input files, made on a thread of their own while the run reads
// and writes, so that the manifest at the end need not read the data file once more. Each
// sum is offered for the file as it stood while it was read; a file that changed meanwhile
// is read again by the manifest.
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

class InputDigests : public SummingThread {
public:
    InputDigests() = default;
    ~InputDigests();  // gives the sums up if they were not offered
    InputDigests(const InputDigests&) = delete;
    InputDigests& operator=(const InputDigests&) = delete;

    // Starts summing `files`; nothing happens when no thread can be had.
    void start(std::vector<std::filesystem::path> files);
    // Waits for the sums and offers them to file_record.
    void offer();
    void stop_now() override;

private:
    void sum_files();

    std::vector<std::filesystem::path> files_;
    std::vector<std::pair<FileState, std::string>> sums_;
    std::atomic<bool> give_up_{false};
    std::thread thread_;
};

}  // namespace corvane::extract
