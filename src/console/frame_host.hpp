// What the console hooks need from the frame around them: text windows for window units,
// modal message boxes, and the file-name dialog. A desktop frame fills this in with its
// toolkit; the tests fill it with fakes.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/window_spec.hpp"

namespace corvane::console {

class TextWindow;

enum class MessageIcon { error, exclamation, information };

// What the program is doing, for a frame that shows it.
enum class ProgramState { working, waiting_for_answer, finished };

// The file-name dialog of an OPEN that names no file.
struct FileNameRequest {
    bool open_existing = false;    // an open dialog whose file must exist; else a save dialog
    bool overwrite_prompt = false; // save dialog: ask before replacing, hide the read-only box
    std::string title;             // "Open file on FORTRAN UNIT 12"
    std::string initial_name;      // the unit's default file name
    std::string default_extension = "dat";
    std::vector<std::pair<std::string, std::string>> filters{
        {"Data Files (*.dat)", "*.dat"}, {"Text Files (*.txt)", "*.txt"}, {"All Files (*.*)", "*.*"}};
    int name_capacity = 260;
};

class FrameHost {
public:
    virtual ~FrameHost() = default;

    // Creates a text window titled `title`, `size` pixels large or of the default size, as a
    // child of the frame; null when it cannot be made. The frame console registers it.
    virtual TextWindow* create_text_window(std::string_view title, std::optional<WindowSize> size) = 0;
    // A modal message box with the caption; returns when the user has closed it.
    virtual void show_message(std::string_view caption, std::string_view text, MessageIcon icon) = 0;
    // The name the user chose, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> choose_file_name(const FileNameRequest& request) = 0;
    // The program started or ended waiting for an answer, or has ended.
    virtual void program_state_changed(ProgramState) {}
};

}  // namespace corvane::console
