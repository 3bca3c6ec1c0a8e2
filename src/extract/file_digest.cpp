// File sizes, times and SHA-256 checksums for the manifest.
#include "extract/file_digest.hpp"

#include <array>
#include <cstdio>
#include <ctime>
#include <memory>
#include <openssl/evp.h>
#include <sys/stat.h>
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

}  // namespace

std::optional<std::string> sha256_of_file(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    const std::unique_ptr<EVP_MD_CTX, void (*)(EVP_MD_CTX*)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!in || !context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) return std::nullopt;
    std::vector<unsigned char> buffer(1 << 20);
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), in.get())) > 0) {
        if (EVP_DigestUpdate(context.get(), buffer.data(), got) != 1) return std::nullopt;
    }
    if (std::ferror(in.get()) != 0) return std::nullopt;
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned size = 0;
    if (EVP_DigestFinal_ex(context.get(), digest.data(), &size) != 1) return std::nullopt;
    return hex(digest.data(), size);
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
    std::optional<std::string> sum = sha256_of_file(path);
    if (!sum) return std::nullopt;
    return FileRecord{.path = shown_as,
                      .size = static_cast<std::uintmax_t>(status.st_size),
                      .mtime = iso8601_utc(std::chrono::system_clock::from_time_t(status.st_mtim.tv_sec)),
                      .sha256 = *sum};
}

}  // namespace corvane::extract
