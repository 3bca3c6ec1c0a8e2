// Saving the text of a text window: the file written (every line as stored, each followed
// by CR LF), the default name offered in the save dialog, and the save question's text.
#pragma once

#include <string>
#include <string_view>

#include "console/text_window.hpp"

namespace corvane::console {

enum class SaveOutcome { saved, cannot_create, write_error };

// Creates or truncates `path` and writes the window's lines to it. A failure part-way
// leaves the file as far as it was written.
SaveOutcome write_window_text(const TextWindow& window, const std::string& path);

// The name a save dialog starts from: the directory part of the last path chosen in a save
// dialog (`current_directory` when none was chosen yet) followed by the window's title,
// "Untitled" for the console. Trailing blanks are removed from both parts.
std::string default_save_name(std::string_view last_path, std::string_view title,
                              std::string_view current_directory);

// What the save dialog is captioned with and the default name ends in.
std::string save_title(std::string_view window_title);

// "Save changes to <title>?", cut to 50 characters.
std::string save_question_text(std::string_view title);

}  // namespace corvane::console
