// Stand-ins for a toolkit: a view that records the model's requests, a clipboard in
// memory, a painter that keeps the runs it is given, a frame host that makes text windows
// without a screen, and a pump that plays the user when the program waits.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/event_queue_pump.hpp"
#include "console/frame_host.hpp"
#include "console/text_window.hpp"

namespace corvane::testing {

using console::Colour;
using console::Command;
using console::PixelRect;

struct RecordingView : console::TextWindowView {
    struct Bar {
        int range = 0;
        int position = 0;
    };
    std::vector<PixelRect> invalidated;
    int whole_invalidations = 0;
    std::vector<std::pair<int, int>> scrolls;  // (dx, dy)
    Bar vertical;
    Bar horizontal;
    bool caret_shown = false;
    int caret_width = 0;
    int caret_height = 0;
    int caret_x = 0;
    int caret_y = 0;
    std::map<int, bool> enabled;  // by command identifier

    void invalidate(const PixelRect& area) override { invalidated.push_back(area); }
    void invalidate_all() override { ++whole_invalidations; }
    void scroll_contents(int dx, int dy) override { scrolls.emplace_back(dx, dy); }
    void set_scroll_bar(console::ScrollBar bar, int range, int position) override {
        (bar == console::ScrollBar::vertical ? vertical : horizontal) = {range, position};
    }
    void show_caret(bool shown, int width, int height) override {
        caret_shown = shown;
        caret_width = width;
        caret_height = height;
    }
    void place_caret(int x, int y) override {
        caret_x = x;
        caret_y = y;
    }
    void enable_command(Command command, bool on) override { enabled[command] = on; }

    void forget() {
        invalidated.clear();
        whole_invalidations = 0;
        scrolls.clear();
    }
};

struct FakeClipboard : console::Clipboard {
    std::optional<std::string> content;
    bool available = true;

    bool put_text(std::string_view text) override {
        if (!available) return false;
        content = std::string(text);
        return true;
    }
    std::optional<std::string> text() override { return available ? content : std::nullopt; }
};

struct RecordingPainter : console::TextPainter {
    struct Run {
        int x;
        int y;
        std::string text;
        Colour foreground;
        std::optional<Colour> background;
    };
    std::vector<Run> runs;
    void draw_text(int x, int y, std::string_view text, Colour fg, std::optional<Colour> bg) override {
        runs.push_back({x, y, std::string(text), fg, bg});
    }
};

// A text window with its own recording view and clipboard; cells of 8 x 16 pixels.
struct ModelWindow {
    static constexpr int cell_width = 8;
    static constexpr int cell_height = 16;
    RecordingView view;
    FakeClipboard clipboard;
    console::TextWindow window{view, clipboard, cell_width, cell_height};

    // A client area of the given size in cells.
    explicit ModelWindow(int columns = 80, int rows = 25) { window.resized(columns * cell_width, rows * cell_height); }
    void write(std::string_view bytes) { window.write_text(bytes.data(), bytes.size()); }
    void type(std::string_view keys) {
        for (char c : keys) window.character(static_cast<unsigned char>(c));
    }
};

// Every line of the window's store.
std::vector<std::string> lines_of(const console::TextWindow& window);

// Makes text windows without a screen; message boxes are written to the error output,
// where death tests can see them.
class FakeFrameHost : public console::FrameHost {
public:
    struct Created {
        std::string title;
        std::optional<console::WindowSize> size;
    };

    console::TextWindow* create_text_window(std::string_view title, std::optional<console::WindowSize> size) override;
    void show_message(std::string_view caption, std::string_view text, console::MessageIcon icon) override;
    std::optional<std::string> choose_file_name(const console::FileNameRequest& request) override;

    // A window as the frame makes it at start-up (the console).
    console::TextWindow& make_window();
    // The clipboard a window made here reaches.
    FakeClipboard& clipboard_of(const console::TextWindow& window);

    std::vector<Created> created;
    std::vector<std::string> messages;  // "caption: text"
    std::vector<console::FileNameRequest> file_requests;
    std::optional<std::string> file_answer;  // nothing: the user cancels
    bool refuse_windows = false;

private:
    std::vector<std::unique_ptr<ModelWindow>> windows_;
};

// A pump that calls `on_idle` whenever the program waits and nothing is queued: the test's
// user. Without it, or when it does nothing, the loop quits.
class ScriptedPump : public console::EventQueuePump {
public:
    std::function<void(ScriptedPump&)> on_idle;
    int idle_calls = 0;

protected:
    void idle() override {
        ++idle_calls;
        if (on_idle) on_idle(*this);
    }
};

}  // namespace corvane::testing
