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

std::string hex_text(const unsigned char* bytes, unsigned size) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    for (unsigned i = 0; i < size; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

FileState state_of(const struct stat& status) {
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::int64_t>(status.st_size), static_cast<std::int64_t>(status.st_mtim.tv_sec),
            static_cast<std::int64_t>(status.st_mtim.tv_nsec)};
}

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

struct Sha256::Context {
    std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> evp{EVP_MD_CTX_new(), &EVP_MD_CTX_free};
    bool ok = evp && EVP_DigestInit_ex(evp.get(), EVP_sha256(), nullptr) == 1;
};

Sha256::Sha256() : context_(std::make_unique<Context>()) {}

Sha256::~Sha256() = default;

void Sha256::add(const char* bytes, std::size_t count) {
    if (context_->ok) context_->ok = EVP_DigestUpdate(context_->evp.get(), bytes, count) == 1;
}

std::optional<std::string> Sha256::hex() {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned size = 0;
    const bool ok = context_->ok && EVP_DigestFinal_ex(context_->evp.get(), digest.data(), &size) == 1;
    context_->ok = false;
    if (!ok) return std::nullopt;
    return hex_text(digest.data(), size);
}

std::optional<FileState> file_state(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
    return state_of(status);
}

void offer_digest(const FileState& state, std::string sha256) { offered_digests().emplace_back(state, std::move(sha256)); }

namespace {

std::optional<std::string> sha256_of_stream(std::FILE* in, const std::atomic<bool>* give_up) {
    Sha256 sum;
    std::vector<char> buffer(1 << 20);
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0) {
        if (give_up && give_up->load(std::memory_order_relaxed)) return std::nullopt;
        sum.add(buffer.data(), got);
    }
    if (std::ferror(in) != 0) return std::nullopt;
    return sum.hex();
}

std::optional<FileState> open_file_state(std::FILE* in) {
    struct stat status {};
    if (::fstat(fileno(in), &status) != 0) return std::nullopt;
    return state_of(status);
}

}  // namespace

std::optional<std::string> sha256_of_file(const std::filesystem::path& path, const std::atomic<bool>* give_up) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!in) return std::nullopt;
    return sha256_of_stream(in.get(), give_up);
}

std::optional<StillFileDigest> sha256_of_still_file(const std::filesystem::path& path,
                                                    const std::atomic<bool>* give_up) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!in) return std::nullopt;
    const std::optional<FileState> before = open_file_state(in.get());
    if (!before) return std::nullopt;
    std::optional<std::string> sum = sha256_of_stream(in.get(), give_up);
    if (!sum || open_file_state(in.get()) != before) return std::nullopt;
    return StillFileDigest{*before, std::move(*sum)};
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
    std::optional<std::string> sum = offered_digest(state_of(status));
    if (!sum) sum = sha256_of_file(path);
    if (!sum) return std::nullopt;
    return FileRecord{.path = shown_as,
                      .size = static_cast<std::uintmax_t>(status.st_size),
                      .mtime = iso8601_utc(std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec)),
                      .sha256 = *sum};
}

}  // namespace corvane::extract
