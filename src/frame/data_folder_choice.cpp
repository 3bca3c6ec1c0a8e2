#include "frame/data_folder_choice.hpp"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QWidget>

#include "app/data_folder.hpp"
#include "frame/dialogs.hpp"
#include "frame/frame_settings.hpp"

namespace corvane::frame {

namespace {

std::filesystem::path as_path(const QString& folder) { return QFile::encodeName(folder).toStdString(); }

}  // namespace

std::optional<QString> ask_for_data_folder(const QString& start) {
    QFileDialog dialog(nullptr, QStringLiteral("Choose the folder of the GHCN data files"), start);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

DataFolderChoice::DataFolderChoice(QWidget& frame, QString program_title)
    : frame_(frame), program_title_(std::move(program_title)), chooser_(ask_for_data_folder),
      warner_([](const QString& text) { show_box(nullptr, framework_caption, text, QMessageBox::Warning); }) {}

QString DataFolderChoice::current() const { return QDir::currentPath(); }

std::optional<QString> DataFolderChoice::ask() const {
    const QString remembered = remembered_data_folder();
    return chooser_(remembered.isEmpty() ? QDir::homePath() : remembered);
}

void DataFolderChoice::settle_at_start(bool given_on_command_line) {
    if (!given_on_command_line && !app::holds_data_files(as_path(current()))) {
        // Cancelled: the dialogue goes on in the working folder.
        if (const std::optional<QString> chosen = ask(); chosen && enter(*chosen)) remember_data_folder(current());
    }
    show_in_title();
    check_writable(current());
}

bool DataFolderChoice::choose_for_next_pass() {
    const std::optional<QString> chosen = ask();
    if (!chosen || !check_writable(*chosen)) return false;
    pending_ = QDir(*chosen).absolutePath();
    remember_data_folder(*pending_);
    show_in_title();
    return true;
}

void DataFolderChoice::enter_pending() {
    if (!pending_) return;
    enter(*pending_);
    pending_.reset();
    show_in_title();
}

bool DataFolderChoice::enter(const QString& folder) {
    if (QDir::setCurrent(folder)) return true;
    warner_(QStringLiteral("The folder %1 cannot be opened.").arg(QDir::toNativeSeparators(folder)));
    return false;
}

// The output files go into the data folder: a folder they cannot be written to is said
// now, not after the whole dialogue.
bool DataFolderChoice::check_writable(const QString& folder) const {
    if (app::output_files_writable(as_path(folder))) return true;
    warner_(QStringLiteral("The folder %1 cannot be written to: the output files GHCNv2_Log_File, GHCNv2_tsf and "
                           "GHCNv2_Failed_Values_File are made there. Choose another with File \u25B8 Open data folder\u2026")
                .arg(QDir::toNativeSeparators(folder)));
    return false;
}

void DataFolderChoice::show_in_title() {
    QString title = program_title_ + QStringLiteral(" \u2014 ") + QDir::toNativeSeparators(current());
    if (pending_) title += QStringLiteral(" (next pass: %1)").arg(QDir::toNativeSeparators(*pending_));
    frame_.setWindowTitle(title);
}

}  // namespace corvane::frame
