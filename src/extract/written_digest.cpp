// The thread takes the blocks in the order they were written; the program hands over the
// unit's buffer itself, taking a spare one in its place, or copies a block into a spare
// buffer, and goes on.
#include "extract/written_digest.hpp"

#include <cstring>
#include <memory>
#include <system_error>

#include "units/output_tap.hpp"

namespace corvane::extract {

namespace {

// Blocks that may wait for the thread: with the units' 256 KiB buffers, a couple of MiB.
constexpr std::size_t most_blocks_waiting = 8;
// The thread sums faster than the program writes, so it is mostly asleep when a block
// comes; it is woken once a few wait rather than for each, as a wake-up costs the program
// more than a copy of the block.
constexpr std::size_t blocks_to_wake_for = 4;

}  // namespace

DigestThread::~DigestThread() { stop(false); }

void DigestThread::add(const char* bytes, std::size_t count) {
    if (!started_) start();
    if (!on_own_thread_) return sum_.add(bytes, count);
    std::unique_lock lock(mutex_);
    if (closing_) return;  // summed up already
    wait_for_room(lock);
    Block block = spare_block(count);
    std::memcpy(block.bytes.get(), bytes, count);
    block.count = count;
    hand_over(std::move(block));
}

bool DigestThread::take(std::unique_ptr<char[]>& buffer, std::size_t size, std::size_t count) {
    if (!started_) start();
    if (!on_own_thread_) return false;
    std::unique_lock lock(mutex_);
    if (closing_) return false;
    wait_for_room(lock);
    Block replacement = spare_block(size);
    hand_over({std::move(buffer), size, count});
    buffer = std::move(replacement.bytes);
    return true;
}

void DigestThread::wait_for_room(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [this] { return waiting_.size() < most_blocks_waiting; });
}

DigestThread::Block DigestThread::spare_block(std::size_t size) {
    for (auto it = spare_.begin(); it != spare_.end(); ++it) {
        if (it->size < size) continue;
        Block block = std::move(*it);
        spare_.erase(it);
        return block;
    }
    return {std::make_unique_for_overwrite<char[]>(size), size, 0};
}

void DigestThread::hand_over(Block block) {
    waiting_.push_back(std::move(block));
    if (waiting_.size() >= blocks_to_wake_for) changed_.notify_all();
}

// Without a thread (the system has none to give) the blocks are summed as they come.
void DigestThread::start() {
    started_ = true;
    try {
        thread_ = std::thread([this] { sum_blocks(); });
        on_own_thread_ = true;
        stop_at_exit(this);
    } catch (const std::system_error&) {
        on_own_thread_ = false;
    }
}

void DigestThread::sum_blocks() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return closing_ || !waiting_.empty(); });
        if (waiting_.empty()) return;  // closing, and everything summed
        Block block = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        sum_.add(block.bytes.get(), block.count);
        lock.lock();
        spare_.push_back(std::move(block));
        changed_.notify_all();
    }
}

// The thread sums what waits, unless the sum is given up, and ends.
void DigestThread::stop(bool give_up) {
    {
        const std::lock_guard lock(mutex_);
        closing_ = true;
        if (give_up) waiting_.clear();
    }
    changed_.notify_all();
    if (!thread_.joinable()) return;
    thread_.join();
    if (!give_up) forget_at_exit(this);  // the exit routine forgets the threads it stops itself
}

void DigestThread::stop_now() { stop(true); }

std::optional<std::string> DigestThread::hex() {
    stop(false);
    return sum_.hex();
}

WrittenDigest::~WrittenDigest() {
    if (unit_) units::drop_output_tap(*unit_, this);
}

void WrittenDigest::attach(int unit_number) {
    if (units::set_output_tap(unit_number, this)) unit_ = unit_number;
}

void WrittenDigest::wrote(std::int64_t offset, const char* bytes, std::size_t count) {
    // Bytes written anywhere but right after the last ones make the sum worthless.
    in_order_ = in_order_ && offset == next_offset_;
    next_offset_ = offset + static_cast<std::int64_t>(count);
    if (in_order_) sum_.add(bytes, count);
}

bool WrittenDigest::keep_buffer(std::int64_t offset, std::unique_ptr<char[]>& buffer, std::size_t size,
                               std::size_t count) {
    if (!in_order_ || offset != next_offset_ || !sum_.take(buffer, size, count)) return false;  // wrote() sees to it
    next_offset_ = offset + static_cast<std::int64_t>(count);
    return true;
}

void WrittenDigest::offer_for(const std::filesystem::path& path) {
    std::optional<std::string> sum = sum_.hex();
    const std::optional<FileState> state = file_state(path);
    if (!in_order_ || !sum || !state || state->size != next_offset_) return;  // not all of it came through here
    offer_digest(*state, std::move(*sum));
}

}  // namespace corvane::extract
