// The size of a window unit, read from the window specification text of its OPEN: pieces
// separated by commas, the second and third holding the width and the height in pixels.
#pragma once

#include <optional>
#include <string_view>

namespace corvane::console {

struct WindowSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const WindowSize&, const WindowSize&) = default;
};

// At most the first 100 characters count. A piece is read as a decimal number with blanks
// skipped; any other character (a sign, a letter) makes it 0, as does a number too large
// for a window. Nothing (the default size) with fewer than three pieces, or when the two
// numbers have no set bit in common.
std::optional<WindowSize> parse_window_size(std::string_view size_text);

}  // namespace corvane::console
