// The data folder of the desktop program: the folder the dialogue reads the data set from
// and writes its output files to. Started without --data-dir in a folder that holds none of
// the data files (from a desktop menu, in the home folder), the program asks for the folder
// before the dialogue starts; File > "Open data folder…" changes it for the next pass of the
// dialogue. The folder is remembered for the next start and named in the frame's title; a
// folder the output files cannot be written to is said at once.
#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace corvane::frame {

class DataFolderChoice {
public:
    // Asks for a folder, starting at `start`; nothing when the user cancelled. Tests put in
    // an answer of their own.
    using Chooser = std::function<std::optional<QString>(const QString& start)>;
    // Says something to the user (the folder cannot be written).
    using Warner = std::function<void(const QString& text)>;

    // `frame`: the window whose title names the folder after `program_title`.
    DataFolderChoice(QWidget& frame, QString program_title);

    void set_chooser(Chooser chooser) { chooser_ = std::move(chooser); }
    void set_warner(Warner warner) { warner_ = std::move(warner); }

    // Before the dialogue: without a folder given on the command line, a working folder
    // that holds none of the data files makes the program ask for one (starting at the
    // remembered one) and enter it. The folder in use is named in the title and checked.
    void settle_at_start(bool given_on_command_line);
    // File > "Open data folder…": the folder chosen is remembered and taken when the next
    // pass of the dialogue starts (enter_pending). False when the user cancelled.
    bool choose_for_next_pass();
    // The start of a pass: a folder chosen meanwhile becomes the working folder.
    void enter_pending();

    QString current() const;
    const std::optional<QString>& pending() const { return pending_; }

private:
    std::optional<QString> ask() const;
    bool enter(const QString& folder);
    bool check_writable(const QString& folder) const;
    void show_in_title();

    QWidget& frame_;
    QString program_title_;
    Chooser chooser_;
    Warner warner_;
    std::optional<QString> pending_;
};

// The toolkit's folder dialog.
std::optional<QString> ask_for_data_folder(const QString& start);

}  // namespace corvane::frame
