// File sizes, times and SHA-256 checksums for the manifest.
#include "extract/file_digest.hpp"

#include <array>
#include <cstdio>
#include <ctime>
#include <memory>
#include <openssl/evp.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace corvane::extract {

namespace {

std::string hex(const unsigned char* bytes, unsigned size) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

using DigestContext = std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)>;

std::optional<std::string> final_hex(EVP_MD_CTX* context) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned size = 0;
    if (EVP_DigestFinal_ex(context, digest.data(), &size) != 1) return std::nullopt;
    return hex(digest.data(), size);
}

// A file as stat finds it: a file changed or replaced since differs in one of these.
struct FileState {
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = 0, mtime_seconds = 0, mtime_nanoseconds = 0;
    bool operator==(const FileState&) const = default;
};

FileState file_state(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
            static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

// The digests WrittenDigest offered, each for the file as it stood when it was offered.
std::vector<std::pair<FileState, std::string>>& offered_digests() {
    static std::vector<std::pair<FileState, std::string>> offered;
    return offered;
}

std::optional<std::string> offered_digest(const FileState& state) {
    for (const auto& [offered, sum] : offered_digests()) {
        if (offered == state) return sum;
    }
    return std::nullopt;
}

}  // namespace

struct WrittenDigest::Context {
    DigestContext evp{EVP_MD_CTX_new(), &EVP_MD_CTX_free};
    bool ok = evp && EVP_DigestInit_ex(evp.get(), EVP_sha256(), nullptr) == 1;
};

WrittenDigest::WrittenDigest() : context_(std::make_unique<Context>()) {}

WrittenDigest::~WrittenDigest() {
    if (unit_) units::drop_output_tap(*unit_, this);
}

void WrittenDigest::attach(int unit_number) {
    if (units::set_output_tap(unit_number, this)) unit_ = unit_number;
}

void WrittenDigest::wrote(std::int64_t offset, const char* bytes, std::size_t count) {
    // Bytes written anywhere but right after the last ones make the digest worthless.
    in_order_ = in_order_ && offset == next_offset_;
    next_offset_ = offset + static_cast<std::int64_t>(count);
    if (in_order_ && context_->ok) context_->ok = EVP_DigestUpdate(context_->evp.get(), bytes, count) == 1;
}

void WrittenDigest::offer_for(const std::filesystem::path& path) {
    struct stat status {};
    if (!in_order_ || !context_->ok || ::stat(path.c_str(), &status) != 0) return;
    if (static_cast<std::int64_t>(status.st_size) != next_offset_) return;  // not all of it came through here
    context_->ok = false;  // one digest, offered once
    if (std::optional<std::string> sum = final_hex(context_->evp.get())) offered_digests().emplace_back(file_state(status), *sum);
}

std::optional<std::string> sha256_of_file(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    const DigestContext context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!in || !context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) return std::nullopt;
    std::vector<unsigned char> buffer(1 << 20);
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
        if (EVP_DigestUpdate(context.get(), buffer.data(), got) != 1) return std::nullopt;
    }
    if (std::ferror(in.get()) != 0) return std::nullopt;
    return final_hex(context.get());
}

std::string iso8601_utc(std::chrono::system_clock::time_point time) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

std::optional<FileRecord> file_record(const std::filesystem::path& path, const std::string& shown_as) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    std::optional<std::string> sum = offered_digest(file_state(status));
    if (!sum) sum = sha256_of_file(path);
    if (!sum) return std::nullopt;
    return FileRecord{.path = shown_as,
                      .size = static_cast<std::uintmax_t>(status.st_size),
                      .mtime = iso8601_utc(std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec)),
                      .sha256 = *sum};
}

}  // namespace corvane::extract
