// The desktop's conventions the frame follows beside its menu table: Ctrl+S saves, Ctrl+P
// prints and Ctrl+Q quits; File > "Open data folder…" changes the data folder; a status bar
// says whether the program waits for an answer, works, or has finished; every window
// carries the program's icon; the frame opens within the screen, where it was left; and the
// text windows keep the font and colour chosen at an earlier start.
#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

#include "frame/desktop_frame.hpp"
#include "frame/frame_settings.hpp"
#include "frame/text_window_widget.hpp"
#include "frame/transcript_accessible.hpp"

// The icon is built into this static library, whose resources are registered by hand.
static void register_frame_resources() { Q_INIT_RESOURCE(corvane); }

namespace corvane::frame {

namespace {

// Room left around the frame for the window manager's decorations.
constexpr QSize decoration_room{16, 48};

}  // namespace

void DesktopFrame::add_conventions() {
    const std::pair<int, QKeySequence> shortcuts[] = {{console::command_save, QKeySequence(Qt::CTRL | Qt::Key_S)},
                                                      {console::command_print, QKeySequence(Qt::CTRL | Qt::Key_P)},
                                                      {command_exit, QKeySequence(Qt::CTRL | Qt::Key_Q)}};
    for (const auto& [id, keys] : shortcuts) {
        action(id)->setShortcut(keys);
        action(id)->setShortcutContext(Qt::ApplicationShortcut);
    }
    QMenu* file = menuBar()->actions().constFirst()->menu();
    QAction* open = add_command(file, QStringLiteral("Open data folder\u2026"), command_open_data_folder);
    file->removeAction(open);
    QAction* first = file->actions().constFirst();
    file->insertAction(first, open);
    file->insertSeparator(first);

    program_state_ = new QLabel(this);
    program_state_->setObjectName(QStringLiteral("program_state"));
    program_state_->setAccessibleName(QStringLiteral("Program state"));
    statusBar()->addPermanentWidget(program_state_, 1);
    program_state_changed(console::ProgramState::working);

    register_frame_resources();
    const QIcon icon(QStringLiteral(":/corvane/corvane.svg"));
    QApplication::setWindowIcon(icon);
    setWindowIcon(icon);
    mdi_->setAccessibleName(QStringLiteral("Windows"));
    install_transcript_accessibility();
}

QString DesktopFrame::program_state_text() const { return program_state_->text(); }

void DesktopFrame::program_state_changed(console::ProgramState state) {
    switch (state) {
        case console::ProgramState::working: program_state_->setText(QStringLiteral("Working\u2026")); return;
        case console::ProgramState::waiting_for_answer:
            program_state_->setText(QStringLiteral("Waiting for your answer"));
            return;
        case console::ProgramState::finished:
            program_state_->setText(QStringLiteral("Finished: File \u25B8 Exit closes the program"));
            return;
    }
}

void DesktopFrame::fit_to_screen() {
    if (const QByteArray saved = remembered_geometry(); !saved.isEmpty()) restoreGeometry(saved);
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect free = screen->availableGeometry();
    resize(size().boundedTo(free.size() - decoration_room));
    QRect wanted(pos(), size() + decoration_room);
    if (!free.contains(wanted)) {
        wanted.moveCenter(free.center());
        move(wanted.topLeft());
    }
}

void DesktopFrame::apply_remembered_text_settings(TextWindowWidget& widget) {
    if (const std::optional<QFont> font = remembered_font()) widget.set_text_font(*font);
    if (const std::optional<QColor> colour = remembered_colour()) widget.set_chosen_colour(*colour);
    widget.on_font_chosen(remember_font);
    widget.on_colour_chosen(remember_colour);
}

}  // namespace corvane::frame
