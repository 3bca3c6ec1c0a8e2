#include "console/window_spec.hpp"

#include <vector>

namespace corvane::console {

namespace {

constexpr std::size_t size_text_limit = 100;
constexpr int largest_size = 1 << 20;

int piece_value(std::string_view piece) {
    int value = 0;
    for (char c : piece) {
        if (c == ' ') continue;
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > largest_size) return 0;
    }
    return value;
}

}  // namespace

std::optional<WindowSize> parse_window_size(std::string_view size_text) {
    size_text = size_text.substr(0, size_text_limit);
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t comma = size_text.find(',');
        pieces.push_back(size_text.substr(0, comma));
        if (comma == std::string_view::npos) break;
        size_text.remove_prefix(comma + 1);
    }
    if (pieces.size() < 3) return std::nullopt;
    const WindowSize size{piece_value(pieces[1]), piece_value(pieces[2])};
    if ((size.width & size.height) == 0) return std::nullopt;
    return size;
}

}  // namespace corvane::console
