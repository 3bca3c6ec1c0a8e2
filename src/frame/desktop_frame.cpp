#include "frame/desktop_frame.hpp"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMenuBar>
#include <QStyle>

#include "app/dialogue.hpp"
#include "console/text_window_view.hpp"
#include "frame/child_window.hpp"
#include "frame/dialogs.hpp"
#include "frame/frame_settings.hpp"
#include "frame/text_window_widget.hpp"
#include "units/termination.hpp"

namespace corvane::frame {

namespace {

DesktopFrame* the_frame = nullptr;

constexpr QPoint console_position{15, 15};
constexpr QSize console_size{600, 300};

QMessageBox::Icon box_icon(console::MessageIcon icon) {
    switch (icon) {
        case console::MessageIcon::error: return QMessageBox::Critical;
        case console::MessageIcon::exclamation: return QMessageBox::Warning;
        case console::MessageIcon::information: return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

DesktopFrame::DesktopFrame(const QString& title) : console_(pump_, *this), data_folder_(*this, title) {
    the_frame = this;
    setWindowTitle(title);
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    // The menu bar is shared by all children; each shows its own states when it becomes active.
    connect(mdi_, &QMdiArea::subWindowActivated, this, [](QMdiSubWindow* window) {
        if (auto* child = qobject_cast<ChildWindow*>(window)) child->content().show_command_states();
    });
    build_menus();
    add_conventions();
    resize(800, 560);
}

DesktopFrame::~DesktopFrame() {
    if (the_frame != this) return;
    the_frame = nullptr;
    app::set_pass_start(nullptr);
}

DesktopFrame* DesktopFrame::instance() { return the_frame; }

bool DesktopFrame::start() {
    console_.start();
    // A folder chosen with "Open data folder…" is taken as the dialogue starts over.
    app::set_pass_start([this] { data_folder_.enter_pending(); });
    fit_to_screen();
    show();
    TextWindowWidget* console = make_text_window(QStringLiteral("Input/Output"));
    if (!console) return false;
    console_window_ = console;
    ChildWindow* child = console->child();
    child->move(console_position);
    child->resize(console_size);
    console_.attach_console(console->model());
    mdi_->setActiveSubWindow(child);
    console->setFocus();
    return true;
}

QAction* DesktopFrame::add_command(QMenu* menu, const QString& text, int id, const QKeySequence& shortcut) {
    QAction* action = menu->addAction(text);
    action->setData(id);
    if (!shortcut.isEmpty()) {
        action->setShortcut(shortcut);
        action->setShortcutContext(Qt::ApplicationShortcut);
    }
    connect(action, &QAction::triggered, this, [this, id] { command(id); });
    actions_[id] = action;
    return action;
}

void DesktopFrame::build_menus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add_command(file, QStringLiteral("&Save"), console::command_save);
    add_command(file, QStringLiteral("Save As..."), console::command_save_as);
    file->addSeparator();
    add_command(file, QStringLiteral("Print..."), console::command_print);
    file->addSeparator();
    add_command(file, QStringLiteral("&About..."), command_about);
    file->addSeparator();
    add_command(file, QStringLiteral("E&xit"), command_exit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    add_command(edit, QStringLiteral("&Undo\tCtrl+Z"), console::command_undo, QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    add_command(edit, QStringLiteral("Cu&t\tCtrl+X"), console::command_cut, QKeySequence(Qt::CTRL | Qt::Key_X));
    add_command(edit, QStringLiteral("&Copy\tCtrl+C"), console::command_copy, QKeySequence(Qt::CTRL | Qt::Key_C));
    add_command(edit, QStringLiteral("&Paste\tCtrl+V"), console::command_paste, QKeySequence(Qt::CTRL | Qt::Key_V));
    add_command(edit, QStringLiteral("De&lete"), console::command_delete);

    QMenu* format = menuBar()->addMenu(QStringLiteral("F&ormat"));
    add_command(format, QStringLiteral("&Font..."), console::command_font);
    add_command(format, QStringLiteral("&Color"), console::command_colour);

    window_menu_ = menuBar()->addMenu(QStringLiteral("&Window"));
    add_command(window_menu_, QStringLiteral("&Cascade\tShift+F5"), command_cascade, QKeySequence(Qt::SHIFT | Qt::Key_F5));
    add_command(window_menu_, QStringLiteral("Tile &Horizontally"), command_tile_horizontally);
    add_command(window_menu_, QStringLiteral("Tile &Vertically"), command_tile_vertically);
    add_command(window_menu_, QStringLiteral("&Arrange Icons"), command_arrange_icons);
    connect(window_menu_, &QMenu::aboutToShow, this, &DesktopFrame::rebuild_window_list);

    // Nothing is selected yet, so there is nothing to cut, copy or delete.
    for (int id : {console::command_cut, console::command_copy, console::command_delete}) enable_command(id, false);
}

// The children listed after the Window menu's commands, numbered from 1; their command
// identifiers run from 100 in the same order.
void DesktopFrame::rebuild_window_list() {
    for (QAction* a : window_list_) {
        actions_.erase(a->data().toInt());
        window_menu_->removeAction(a);
        a->deleteLater();
    }
    window_list_.clear();
    const QList<QMdiSubWindow*> children = mdi_->subWindowList(QMdiArea::CreationOrder);
    if (children.isEmpty()) return;
    window_list_.push_back(window_menu_->addSeparator());
    window_list_.back()->setData(-1);
    int id = first_window_list_id;
    for (QMdiSubWindow* child : children) {
        QAction* item = add_command(window_menu_, QStringLiteral("&%1 %2").arg(id - first_window_list_id + 1).arg(child->windowTitle()), id);
        item->setCheckable(true);
        item->setChecked(child == active_child());
        window_list_.push_back(item);
        ++id;
    }
}

QAction* DesktopFrame::action(int id) const {
    const auto found = actions_.find(id);
    return found == actions_.end() ? nullptr : found->second;
}

void DesktopFrame::enable_command(int id, bool enabled) {
    if (QAction* a = action(id)) a->setEnabled(enabled);
}

QMdiSubWindow* DesktopFrame::active_child() const {
    if (QMdiSubWindow* current = mdi_->currentSubWindow(); current && current->isVisible()) return current;
    const QList<QMdiSubWindow*> history = mdi_->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto it = history.rbegin(); it != history.rend(); ++it) {
        if ((*it)->isVisible()) return *it;
    }
    return nullptr;
}

void DesktopFrame::command(int id) {
    switch (id) {
        case command_about: show_about(); return;
        case command_exit: exit_frame(); return;
        case command_open_data_folder: data_folder_.choose_for_next_pass(); return;
        case command_tile_vertically: tile(true); return;
        case command_tile_horizontally: tile(false); return;
        case command_cascade: cascade(); return;
        case command_arrange_icons: arrange_icons(); return;
        default: break;
    }
    if (QAction* a = action(id); a && console_.state().run_command(id, a->isChecked())) return;
    if (id >= first_window_list_id && id < console::command_save) {
        const QList<QMdiSubWindow*> children = mdi_->subWindowList(QMdiArea::CreationOrder);
        const int index = id - first_window_list_id;
        if (index < children.size()) mdi_->setActiveSubWindow(children[index]);
        return;
    }
    if (auto* child = qobject_cast<ChildWindow*>(active_child())) child->content().command(id);
}

bool DesktopFrame::exit_frame() {
    const console::WindowRegistry& registry = console_.registry();
    while (registry.open_windows() > 0) {
        QMdiSubWindow* child = active_child();
        if (!child) break;
        // A child whose save question was cancelled ignores the close: everything stays open.
        const bool close_accepted = child->close();
        if (!close_accepted) return false;
    }
    remember_geometry(saveGeometry());
    hide();
    pump_.request_quit(0);
    if (!console_.program_ended()) units::stop_program(" ");
    return true;
}

void DesktopFrame::closeEvent(QCloseEvent* event) {
    if (exit_frame()) event->accept();
    else event->ignore();
}

void DesktopFrame::tile(bool side_by_side) {
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* child : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (child->isVisible() && !child->isMinimized()) children.push_back(child);
    }
    if (children.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(children.size());
    for (int i = 0; i < n; ++i) {
        children[i]->showNormal();
        if (side_by_side) {
            const int w = area.width() / n;
            children[i]->setGeometry(i * w, 0, i == n - 1 ? area.width() - i * w : w, area.height());
        } else {
            const int h = area.height() / n;
            children[i]->setGeometry(0, i * h, area.width(), i == n - 1 ? area.height() - i * h : h);
        }
    }
}

// Each child a title bar's height below and right of the one behind it, all of one size
// that leaves the last one inside the area (the toolkit's own cascade shrinks a window
// without a size hint of its own, such as the console, to its title bar).
void DesktopFrame::cascade() {
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* child : mdi_->subWindowList(QMdiArea::StackingOrder)) {
        if (child->isVisible() && !child->isMinimized()) children.push_back(child);
    }
    if (children.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, children.front()) + 4;
    const int n = static_cast<int>(children.size());
    const QSize size(std::max(area.width() - (n - 1) * step, area.width() / 2),
                     std::max(area.height() - (n - 1) * step, area.height() / 2));
    for (int i = 0; i < n; ++i) {
        children[i]->showNormal();
        const int offset = (i * step) % std::max(1, std::min(area.width(), area.height()) / 2);
        children[i]->setGeometry(QRect(QPoint(offset, offset), size.expandedTo(children[i]->minimumSizeHint())));
    }
    mdi_->setActiveSubWindow(children.back());
}

void DesktopFrame::arrange_icons() {
    const QRect area = mdi_->viewport()->rect();
    int x = 0;
    for (QMdiSubWindow* child : mdi_->subWindowList(QMdiArea::CreationOrder)) {
        if (!child->isMinimized()) continue;
        child->move(x, area.height() - child->height());
        x += child->width();
    }
}

ChildWindow* DesktopFrame::add_child(QWidget* widget, ChildContent& content, const QString& title) {
    auto* child = new ChildWindow(widget, content);
    child->setWindowTitle(title);
    child->setWindowIcon(QApplication::windowIcon());
    mdi_->addSubWindow(child);
    return child;
}

CommandStateCallback DesktopFrame::command_state_callback() {
    return [this](int id, bool enabled) { enable_command(id, enabled); };
}

TextWindowWidget* DesktopFrame::make_text_window(const QString& title) {
    auto* widget =
        new TextWindowWidget(save_paths_, command_state_callback(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
    apply_remembered_text_settings(*widget);
    widget->setAccessibleName(title);
    ChildWindow* child = add_child(widget, *widget, title);
    connect(child, &ChildWindow::closing, this, [this, widget] { console_.window_closed(widget->model()); });
    child->show();
    return widget;
}

console::TextWindow* DesktopFrame::create_text_window(std::string_view title, std::optional<console::WindowSize> size) {
    TextWindowWidget* widget = make_text_window(from_bytes(title));
    if (size) widget->child()->resize(size->width, size->height);
    mdi_->setActiveSubWindow(widget->child());
    return &widget->model();
}

void DesktopFrame::show_message(std::string_view caption, std::string_view text, console::MessageIcon icon) {
    show_box(nullptr, from_bytes(caption), from_bytes(text), box_icon(icon));
}

std::optional<std::string> DesktopFrame::choose_file_name(const console::FileNameRequest& request) {
    FileDialogRequest dialog{.caption = from_bytes(request.title),
                             .default_suffix = from_bytes(request.default_extension),
                             .initial_name = from_bytes(request.initial_name),
                             .save = !request.open_existing,
                             .overwrite_prompt = request.overwrite_prompt};
    for (const auto& [name, pattern] : request.filters) dialog.filters.push_back(from_bytes(name));
    const std::optional<QString> chosen = run_file_dialog(dialog);
    if (!chosen) return std::nullopt;
    std::string path = to_path(*chosen);
    if (path.size() > static_cast<std::size_t>(request.name_capacity)) return std::nullopt;
    return path;
}

}  // namespace corvane::frame
