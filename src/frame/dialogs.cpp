#include "frame/dialogs.hpp"

#include <QFile>
#include <QFileDialog>
#include <QPushButton>

namespace corvane::frame {

void show_box(QWidget* owner, const QString& caption, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

console::SaveAnswer ask_yes_no_cancel(QWidget* owner, const QString& text) {
    QMessageBox box(QMessageBox::Warning, framework_caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes: return console::SaveAnswer::yes;
        case QMessageBox::No: return console::SaveAnswer::no;
        default: return console::SaveAnswer::cancel;
    }
}

std::optional<QString> run_file_dialog(const FileDialogRequest& request) {
    QFileDialog dialog(nullptr, request.caption);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.default_suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwrite_prompt);
    if (!request.initial_name.isEmpty()) dialog.selectFile(request.initial_name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

QString from_bytes(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

std::string to_bytes(const QString& text) { return text.toLatin1().toStdString(); }

std::string to_path(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace corvane::frame
