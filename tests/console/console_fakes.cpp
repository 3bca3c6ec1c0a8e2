#include "console_fakes.hpp"

#include <cstdio>
#include <stdexcept>

namespace corvane::testing {

std::vector<std::string> lines_of(const console::TextWindow& window) {
    std::vector<std::string> lines;
    for (int row = 0; row < window.state().last_line(); ++row) lines.emplace_back(window.line(row));
    return lines;
}

console::TextWindow* FakeFrameHost::create_text_window(std::string_view title,
                                                       std::optional<console::WindowSize> size) {
    created.push_back({std::string(title), size});
    if (refuse_windows) return nullptr;
    return &make_window();
}

console::TextWindow& FakeFrameHost::make_window() {
    windows_.push_back(std::make_unique<ModelWindow>());
    return windows_.back()->window;
}

FakeClipboard& FakeFrameHost::clipboard_of(const console::TextWindow& window) {
    for (auto& w : windows_) {
        if (&w->window == &window) return w->clipboard;
    }
    throw std::logic_error("not a window of this host");
}

void FakeFrameHost::show_message(std::string_view caption, std::string_view text, console::MessageIcon) {
    messages.push_back(std::string(caption) + ": " + std::string(text));
    std::fprintf(stderr, "[%.*s] %.*s\n", static_cast<int>(caption.size()), caption.data(),
                 static_cast<int>(text.size()), text.data());
}

std::optional<std::string> FakeFrameHost::choose_file_name(const console::FileNameRequest& request) {
    file_requests.push_back(request);
    return file_answer;
}

}  // namespace corvane::testing
