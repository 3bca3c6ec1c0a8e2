#include "console/text_saving.hpp"

#include "console/window_text_file.hpp"

namespace corvane::console {

namespace {

// The save dialog of a text window; on OK the chosen path is remembered for the next
// default name and becomes the window's file and title.
bool choose_file(TextWindow& window, SaveHost& host, SavePaths& paths) {
    const std::string title = host.title();
    const std::optional<std::string> chosen = host.choose_save_file(
        save_title(title), default_save_name(paths.last_path, title, host.current_directory()));
    if (!chosen) return false;
    paths.last_path = *chosen;
    const std::size_t slash = chosen->rfind('/');
    host.set_title(slash == std::string::npos ? *chosen : chosen->substr(slash + 1));
    window.set_file_name(*chosen);
    return true;
}

bool write_file(TextWindow& window, SaveHost& host) {
    switch (write_window_text(window, window.state().file_name)) {
        case SaveOutcome::saved: window.mark_saved(); return true;
        case SaveOutcome::cannot_create: host.warn("Cannot create file"); return false;
        case SaveOutcome::write_error: host.warn("I/O error while writing file"); return false;
    }
    return false;
}

}  // namespace

bool save_window(TextWindow& window, SaveHost& host, SavePaths& paths, bool save_as) {
    if ((save_as || !window.state().has_file_name) && !choose_file(window, host, paths)) return false;
    return write_file(window, host);
}

bool close_question(TextWindow& window, SaveHost& host, SavePaths& paths) {
    if (!window.state().modified) return true;
    switch (host.ask(save_question_text(host.title()))) {
        case SaveAnswer::cancel: return false;
        case SaveAnswer::no: return true;
        case SaveAnswer::yes: break;
    }
    // A cancelled dialog still closes: the user chose not to keep the text.
    if (!window.state().has_file_name && !choose_file(window, host, paths)) return true;
    return write_file(window, host);
}

}  // namespace corvane::console
