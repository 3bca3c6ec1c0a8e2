// The SHA-256 of an output made from its bytes as its unit hands them to the file (the
// unit's output tap), so that the manifest need not read a large file back. The sum is
// worked out on a thread of its own while the program writes on: on a machine with a
// second core the checksum of the values table costs the run next to nothing.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "extract/file_digest.hpp"
#include "extract/summing_threads.hpp"
#include "units/output_tap.hpp"

namespace corvane::extract {

// A SHA-256 summed on its own thread from blocks the program hands it, copied or given
// whole. A few blocks wait at most: a program that writes faster than the thread sums
// waits for it.
class DigestThread : public SummingThread {
public:
    DigestThread() = default;
    ~DigestThread();  // waits for the thread
    DigestThread(const DigestThread&) = delete;
    DigestThread& operator=(const DigestThread&) = delete;

    void add(const char* bytes, std::size_t count);
    // Takes `buffer` whole, its first `count` bytes to be summed, and puts a spare of at
    // least `size` bytes in its place; false, with nothing changed, when the sum is not
    // made on a thread of its own.
    bool take(std::unique_ptr<char[]>& buffer, std::size_t size, std::size_t count);
    // The sum of every block handed in, once they are all summed; once, at the end.
    std::optional<std::string> hex();
    void stop_now() override;

private:
    void start();
    void sum_blocks();
    void stop(bool give_up);

    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;   // the storage's
        std::size_t count = 0;  // the bytes to sum
    };
    // A summed block of at least `size` bytes to reuse, else a new one; the lock is held.
    Block spare_block(std::size_t size);
    void wait_for_room(std::unique_lock<std::mutex>& lock);
    void hand_over(Block block);

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Block> waiting_;
    std::vector<Block> spare_;  // summed blocks, for the next ones to reuse
    bool closing_ = false;
    bool started_ = false;
    bool on_own_thread_ = false;
    Sha256 sum_;
    std::thread thread_;  // started with the first block
};

class WrittenDigest : public units::OutputTap {
public:
    WrittenDigest() = default;
    ~WrittenDigest();  // detaches from the unit if it is still attached
    WrittenDigest(const WrittenDigest&) = delete;
    WrittenDigest& operator=(const WrittenDigest&) = delete;

    // Watches what the unit connected under `unit_number` writes from now on; attach right
    // after the OPEN.
    void attach(int unit_number);
    void wrote(std::int64_t offset, const char* bytes, std::size_t count) override;
    bool keep_buffer(std::int64_t offset, std::unique_ptr<char[]>& buffer, std::size_t size,
                     std::size_t count) override;

    // Once the unit is closed: offers the sum for the file at `path` to file_record, when
    // every byte the file holds is one the tap saw, written from its start and in order.
    void offer_for(const std::filesystem::path& path);

private:
    DigestThread sum_;
    std::optional<int> unit_;
    std::int64_t next_offset_ = 0;
    bool in_order_ = true;
};

}  // namespace corvane::extract
