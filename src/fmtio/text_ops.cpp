#include "fmtio/text_ops.hpp"

#include <cstring>

namespace corvane::fmtio {

namespace {
bool all_blank(std::string_view s) {
    return s.find_first_not_of(' ') == std::string_view::npos;
}
}  // namespace

bool text_equal(std::string_view a, std::string_view b) {
    if (a.size() > b.size()) std::swap(a, b);
    return std::memcmp(a.data(), b.data(), a.size()) == 0 && all_blank(b.substr(a.size()));
}

int text_compare(std::string_view a, std::string_view b) {
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(i < a.size() ? a[i] : ' ');
        const auto cb = static_cast<unsigned char>(i < b.size() ? b[i] : ' ');
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return 0;
}

void text_assign(char* dst, std::size_t dst_length, std::string_view src) {
    const std::size_t n = std::min(dst_length, src.size());
    if (n > 0) std::memmove(dst, src.data(), n);  // memmove: the source may overlap the destination
    if (dst_length > n) std::memset(dst + n, ' ', dst_length - n);
}

std::size_t text_concat(char* dst, std::size_t capacity, std::string_view a, std::string_view b) {
    const std::size_t first = std::min(capacity, a.size());
    if (first > 0) std::memmove(dst, a.data(), first);
    const std::size_t second = std::min(capacity - first, b.size());
    if (second > 0) std::memmove(dst + first, b.data(), second);
    return first + second;
}

}  // namespace corvane::fmtio
