// Save, Save As and the save question of a text window, over what they need from the
// toolkit: the window's title, the save dialog, the warning box and the question box.
//
// A window counts as saved only when its file was written in full: a file that could not
// be created or written leaves `modified` set and Save enabled, and a save question whose
// Yes could not be carried out keeps the window open, so that no transcript is lost while
// the user believes it saved.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "console/text_window.hpp"

namespace corvane::console {

enum class SaveAnswer { yes, no, cancel };

class SaveHost {
public:
    virtual ~SaveHost() = default;
    virtual std::string title() const = 0;
    virtual void set_title(std::string_view title) = 0;
    virtual std::string current_directory() const = 0;
    // The save dialog, captioned `caption`, starting from `initial_name`; the chosen path,
    // or nothing when cancelled.
    virtual std::optional<std::string> choose_save_file(std::string_view caption, std::string_view initial_name) = 0;
    // A box with the caption "Tessel" and a warning icon.
    virtual void warn(std::string_view text) = 0;
    // The same box with Yes, No and Cancel.
    virtual SaveAnswer ask(std::string_view text) = 0;
};

// The last path chosen in a text window's save dialog, shared by all text windows.
struct SavePaths {
    std::string last_path;
};

// Save (`save_as` false: without a dialog once the window has a file) or Save As. True when
// the file was written.
bool save_window(TextWindow& window, SaveHost& host, SavePaths& paths, bool save_as);

// The save question of a closing window; true when the window may close.
bool close_question(TextWindow& window, SaveHost& host, SavePaths& paths);

}  // namespace corvane::console
