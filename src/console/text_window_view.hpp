// What a text window asks of the toolkit that shows it. The model works out every pixel
// position, so an adapter only carries the requests out: invalidate a rectangle, scroll the
// contents, set a scroll bar, place or show the caret, enable or gray a menu command, and
// reach the clipboard. Painting hands out runs of text to draw.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace corvane::console {

// Menu commands a text window handles or enables (the frame's command identifiers).
enum Command : int {
    command_save = 500,
    command_save_as = 501,
    command_print = 510,
    command_undo = 600,
    command_cut = 610,
    command_copy = 611,
    command_paste = 612,
    command_delete = 613,
    command_font = 650,
    command_colour = 651,
};

// Colours as 0x00BBGGRR.
using Colour = std::uint32_t;
constexpr Colour colour_black = 0x000000;
constexpr Colour colour_white = 0xFFFFFF;
constexpr Colour colour_blue = 0xFF0000;

// A rectangle of the window's client area in pixels.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

enum class ScrollBar { vertical, horizontal };

class TextWindowView {
public:
    virtual ~TextWindowView() = default;

    // The rectangle must be painted again (at the toolkit's next paint).
    virtual void invalidate(const PixelRect& area) = 0;
    virtual void invalidate_all() = 0;
    // Moves the drawn contents by (dx, dy) pixels; the uncovered strip is invalid.
    virtual void scroll_contents(int dx, int dy) = 0;
    // The bar runs from 0 to `range` and stands at `position`.
    virtual void set_scroll_bar(ScrollBar bar, int range, int position) = 0;
    // Caret of the given size, shown (focus gained) or hidden and destroyed (focus lost).
    virtual void show_caret(bool shown, int width, int height) = 0;
    virtual void place_caret(int x, int y) = 0;
    virtual void enable_command(Command command, bool enabled) = 0;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Puts the text on the clipboard; false when the clipboard cannot be had.
    virtual bool put_text(std::string_view text) = 0;
    // The clipboard's text, or nothing when it holds none or cannot be opened.
    virtual std::optional<std::string> text() = 0;
};

// Receives the runs of one paint, in order: whole lines first, then the selection over them.
class TextPainter {
public:
    virtual ~TextPainter() = default;
    // Text at (x, y), its top-left corner; `background` absent: cells keep the window's.
    virtual void draw_text(int x, int y, std::string_view text, Colour foreground,
                           std::optional<Colour> background) = 0;
};

}  // namespace corvane::console
