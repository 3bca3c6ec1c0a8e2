// What a manifest records of a file: its size, its modification time in ISO 8601 UTC and
// its SHA-256 checksum (through OpenSSL's libcrypto), so that a later run can tell whether
// the files a result came from are still the same.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "units/output_tap.hpp"

namespace corvane::extract {

struct FileRecord {
    std::string path;  // as the manifest names it
    std::uintmax_t size = 0;
    std::string mtime;   // ISO 8601 UTC
    std::string sha256;  // 64 lowercase hex digits
};

// The SHA-256 of an output made from its bytes as its unit writes them (the unit's output
// tap), so that the manifest need not read a large file back. Attach it right after the
// OPEN, and offer it once the unit is closed.
class WrittenDigest : public units::OutputTap {
public:
    WrittenDigest();
    ~WrittenDigest();  // detaches from the unit if it is still attached
    WrittenDigest(const WrittenDigest&) = delete;
    WrittenDigest& operator=(const WrittenDigest&) = delete;

    // Watches what the unit connected under `unit_number` writes from now on.
    void attach(int unit_number);
    void wrote(std::int64_t offset, const char* bytes, std::size_t count) override;

    // Lets file_record take the digest for the file at `path` instead of reading it: only
    // when every byte the file holds is one the tap saw, written from its start in order,
    // and only while the file stays as it is now (the same file, size and modification time).
    void offer_for(const std::filesystem::path& path);

private:
    struct Context;
    std::unique_ptr<Context> context_;
    std::optional<int> unit_;
    std::int64_t next_offset_ = 0;
    bool in_order_ = true;
};

// The SHA-256 of a file's bytes, empty when it cannot be read.
std::optional<std::string> sha256_of_file(const std::filesystem::path& path);

// The record of `path`, named `shown_as`; empty when the file cannot be read. The checksum
// is one a WrittenDigest offered for this very file, else the file's bytes are read.
std::optional<FileRecord> file_record(const std::filesystem::path& path, const std::string& shown_as);

// "2026-12-07T23:10:05Z"
std::string iso8601_utc(std::chrono::system_clock::time_point time);

}  // namespace corvane::extract
