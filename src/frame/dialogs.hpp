// The frame's modal boxes and file dialogs. Boxes of the framework carry the caption
// "Tessel"; file dialogs have no owner window, as the windows that ask for them may be
// closing.
#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>

#include "console/text_saving.hpp"

namespace corvane::frame {

inline const QString framework_caption = QStringLiteral("Tessel");

// A modal box with one OK button.
void show_box(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon);

// "Tessel" box with a warning icon and Yes, No and Cancel.
console::SaveAnswer ask_yes_no_cancel(QWidget* owner, const QString& text);

struct FileDialogRequest {
    QString caption;          // empty: the toolkit's own
    QStringList filters;      // "Text Files (*.txt)", ...
    QString default_suffix;   // without the point
    QString initial_name;
    bool save = true;         // else an open dialog whose file must exist
    bool overwrite_prompt = true;
};

// The path chosen, or nothing when the dialog was cancelled.
std::optional<QString> run_file_dialog(const FileDialogRequest& request);

// Texts of the run-time (bytes) and of the toolkit: file names are in the local encoding,
// window texts are single bytes.
QString from_bytes(std::string_view text);
std::string to_bytes(const QString& text);
std::string to_path(const QString& path);

}  // namespace corvane::frame
