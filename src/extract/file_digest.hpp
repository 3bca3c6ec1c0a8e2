// What a manifest records of a file: its size, its modification time in ISO 8601 UTC and
// its SHA-256 checksum (through OpenSSL's libcrypto), so that a later run can tell whether
// the files a result came from are still the same.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace corvane::extract {

struct FileRecord {
    std::string path;  // as the manifest names it
    std::uintmax_t size = 0;
    std::string mtime;   // ISO 8601 UTC
    std::string sha256;  // 64 lowercase hex digits
};

// The SHA-256 of a file's bytes, empty when it cannot be read.
std::optional<std::string> sha256_of_file(const std::filesystem::path& path);

// The record of `path`, named `shown_as`; empty when the file cannot be read.
std::optional<FileRecord> file_record(const std::filesystem::path& path, const std::string& shown_as);

// "2026-12-07T23:10:05Z"
std::string iso8601_utc(std::chrono::system_clock::time_point time);

}  // namespace corvane::extract
