#include "console/window_text_file.hpp"

#include <cstdio>

namespace corvane::console {

namespace {

constexpr std::size_t question_limit = 50;
constexpr std::string_view console_title = "Input/Output";

std::string_view without_trailing_blanks(std::string_view text) {
    const std::size_t kept = text.find_last_not_of(' ');
    return kept == std::string_view::npos ? std::string_view{} : text.substr(0, kept + 1);
}

}  // namespace

SaveOutcome write_window_text(const TextWindow& window, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return SaveOutcome::cannot_create;
    SaveOutcome outcome = SaveOutcome::saved;
    for (int row = 0; row < window.state().last_line(); ++row) {
        const std::string_view line = window.line(row);
        if (std::fwrite(line.data(), 1, line.size(), file) != line.size() || std::fwrite("\r\n", 1, 2, file) != 2) {
            outcome = SaveOutcome::write_error;
            break;
        }
    }
    // Buffered bytes reach the disk only here: a full disk shows up at the close.
    if (std::fclose(file) != 0 && outcome == SaveOutcome::saved) outcome = SaveOutcome::write_error;
    return outcome;
}

std::string save_title(std::string_view window_title) {
    return std::string(window_title == console_title ? "Untitled" : without_trailing_blanks(window_title));
}

std::string default_save_name(std::string_view last_path, std::string_view title,
                              std::string_view current_directory) {
    std::string directory;
    if (last_path.empty()) {
        directory = current_directory;
        if (directory.empty() || directory.back() != '/') directory += '/';
    } else {
        const std::size_t slash = last_path.rfind('/');
        if (slash != std::string_view::npos) directory = last_path.substr(0, slash + 1);
    }
    return std::string(without_trailing_blanks(directory)) + save_title(title);
}

std::string save_question_text(std::string_view title) {
    std::string text = "Save changes to ";
    text += title;
    text += '?';
    if (text.size() > question_limit) text.resize(question_limit);
    return text;
}

}  // namespace corvane::console
