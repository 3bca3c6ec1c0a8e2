// What a manifest records of a file: its size, its modification time in ISO 8601 UTC and
// its SHA-256 checksum (through OpenSSL's libcrypto), so that a later run can tell whether
// the files a result came from are still the same.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace corvane::extract {

struct FileRecord {
    std::string path;  // as the manifest names it
    std::uintmax_t size = 0;
    std::string mtime;   // ISO 8601 UTC
    std::string sha256;  // 64 lowercase hex digits
};

// SHA-256 over bytes handed in pieces.
class Sha256 {
public:
    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void add(const char* bytes, std::size_t count);
    // The sum of everything added, as 64 lowercase hex digits; once, at the end. Empty when
    // libcrypto failed.
    std::optional<std::string> hex();

private:
    struct Context;
    std::unique_ptr<Context> context_;
};

// A file as the system describes it: a file changed or replaced since differs in one of
// these.
struct FileState {
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = 0, mtime_seconds = 0, mtime_nanoseconds = 0;
    bool operator==(const FileState&) const = default;
};

// The state of the file at `path`; empty when there is none.
std::optional<FileState> file_state(const std::filesystem::path& path);

// Lets file_record take `sha256` for the file in `state` instead of reading it: the bytes
// it sums were the file's while it stood so. A file changed since is read as any other.
void offer_digest(const FileState& state, std::string sha256);

// The SHA-256 of a file's bytes, empty when it cannot be read, or when `give_up` goes up
// while it is read.
std::optional<std::string> sha256_of_file(const std::filesystem::path& path,
                                          const std::atomic<bool>* give_up = nullptr);

// The SHA-256 of a file's bytes and the file's state while they were read: the state is
// taken from the open file, so that a file renamed meanwhile (an output placed under its
// final name) keeps its sum. Empty when the file cannot be read, changed while it was read,
// or `give_up` went up.
struct StillFileDigest {
    FileState state;
    std::string sha256;
};
std::optional<StillFileDigest> sha256_of_still_file(const std::filesystem::path& path,
                                                    const std::atomic<bool>* give_up = nullptr);

// The record of `path`, named `shown_as`; empty when the file cannot be read. The checksum
// is one offered for the file as it stands, else the file's bytes are read.
std::optional<FileRecord> file_record(const std::filesystem::path& path, const std::string& shown_as);

// "2026-12-07T23:10:05Z"
std::string iso8601_utc(std::chrono::system_clock::time_point time);

}  // namespace corvane::extract
