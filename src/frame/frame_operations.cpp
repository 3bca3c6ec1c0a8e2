// The operations the frame offers to applications: menu items added, inserted, checked,
// enabled and deleted by position; timers in 100 slots; clearing a window; the wait; the
// graphics window; and the About box.
#include <QAction>
#include <QMdiArea>
#include <QMenuBar>
#include <QTimer>

#include "console/text_window.hpp"
#include "console/text_window_view.hpp"
#include "frame/about_box.hpp"
#include "frame/child_window.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/dialogs.hpp"
#include "units/termination.hpp"

namespace corvane::frame {

namespace {

constexpr int graphics_default_width = 600;
constexpr int graphics_default_height = 300;
constexpr std::size_t graphics_title_limit = 80;

QMenu* popup_at(QMenuBar* bar, int popup) {
    const QList<QAction*> popups = bar->actions();
    if (popup < 1 || popup > popups.size()) return nullptr;
    return popups[popup - 1]->menu();
}

}  // namespace

void DesktopFrame::show_about() {
    AboutBox box(this);
    box.exec();
}

QAction* DesktopFrame::item_at(int popup, int item) const {
    QMenu* menu = popup_at(menuBar(), popup);
    if (!menu) return nullptr;
    const QList<QAction*> items = menu->actions();
    return item >= 1 && item <= items.size() ? items[item - 1] : nullptr;
}

// A new menu item with the next command identifier. Choosing it does not toggle its check
// mark: only the check operation does, and the routine is told whether it is checked.
QAction* DesktopFrame::added_action(unsigned flags, const QString& text, CommandRoutine routine) {
    const int id = console_.state().add_command(routine);
    auto* action = new QAction(text, this);
    action->setData(id);
    action->setSeparator(flags & menu_separator);
    action->setEnabled(!(flags & (menu_grayed | menu_disabled)));
    if (flags & menu_checked) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    connect(action, &QAction::triggered, this, [this, action, id] {
        if (action->isCheckable()) action->setChecked(!action->isChecked());
        command(id);
    });
    actions_[id] = action;
    return action;
}

bool DesktopFrame::append_menu_item(int popup, unsigned flags, const QString& text, CommandRoutine routine) {
    QMenu* menu = popup_at(menuBar(), popup);
    if (!menu) return false;
    menu->addAction(added_action(flags, text, routine));
    return true;
}

bool DesktopFrame::insert_menu_item(int popup, int item, unsigned flags, const QString& text, CommandRoutine routine) {
    if (item == 0) {  // a new popup at that position of the menu bar
        auto* menu = new QMenu(text, this);
        menu->setEnabled(!(flags & (menu_grayed | menu_disabled)));
        const QList<QAction*> popups = menuBar()->actions();
        if (popup >= 1 && popup <= popups.size()) menuBar()->insertMenu(popups[popup - 1], menu);
        else menuBar()->addMenu(menu);
        return true;
    }
    QAction* before = item_at(popup, item);
    if (!before) return false;
    popup_at(menuBar(), popup)->insertAction(before, added_action(flags, text, routine));
    return true;
}

int DesktopFrame::check_menu_item(int popup, int item, unsigned flags) {
    QAction* action = item_at(popup, item);
    if (!action) return -1;
    const int previous = action->isChecked() ? int(menu_checked) : 0;
    const bool checked = flags & menu_checked;
    if (checked) action->setCheckable(true);
    action->setChecked(checked);
    if (!checked) action->setCheckable(false);
    return previous;
}

int DesktopFrame::enable_menu_item(int popup, int item, unsigned flags) {
    QAction* action = item_at(popup, item);
    if (!action) return -1;
    const int previous = action->isEnabled() ? 0 : int(menu_grayed);
    action->setEnabled(!(flags & (menu_grayed | menu_disabled)));
    return previous;
}

bool DesktopFrame::delete_menu_item(int popup, int item) {
    QAction* action = item ? item_at(popup, item) : nullptr;
    if (!action) return false;
    popup_at(menuBar(), popup)->removeAction(action);
    return true;
}

int DesktopFrame::set_timer(int id, int interval_ms, TimerRoutine routine) {
    const int slot = console_.state().take_timer_slot(id, routine);
    if (slot < 0) return 0;
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] { console_.state().timer_fired(id); });
    timer->start(interval_ms);
    if (!timer->isActive()) {
        console_.state().free_timer_slot(id);
        delete timer;
        return 0;
    }
    timers_[slot] = timer;
    return 1;
}

void DesktopFrame::kill_timer(int id) {
    const auto& ids = console_.state().timer_id;
    for (std::size_t slot = 0; slot < ids.size(); ++slot) {
        if (id == 0 || ids[slot] != id) continue;
        if (const auto t = timers_.find(static_cast<int>(slot)); t != timers_.end()) {
            delete t->second;
            timers_.erase(t);
        }
        console_.state().free_timer_slot(id);
        return;
    }
}

int DesktopFrame::clear_window(int unit_code) {
    if (console::TextWindow* window = console_.registry().find(unit_code <= 0 ? -1 : unit_code)) window->clear();
    pump_.drain();
    return 0;
}

// The delay runs on the frame's own timer, which fires while the program pumps (every
// I/O step does).
void DesktopFrame::wait() {
    pump_.drain();
    console::FrameState& s = console_.state();
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    connect(timer, &QTimer::timeout, this, [this, timer] {
        console_.state().timer_elapsed = true;
        timer->deleteLater();
    });
    timer->start(s.wait_delay);
    if (timer->isActive()) {
        s.timer_elapsed = false;
        return;
    }
    delete timer;
    QMessageBox box(QMessageBox::Warning, framework_caption, QStringLiteral("No timers available. Continue?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    if (box.exec() == QMessageBox::No) units::stop_program(" ");
}

int DesktopFrame::open_graphics_window(int& width, int& height, std::string_view title, int mapping_mode,
                                       DrawRoutine routine) {
    if (graphics_.opened) return 0;
    graphics_.draw_routine = routine;
    graphics_.mapping_mode = effective_mapping_mode(mapping_mode);
    std::string_view name = title.substr(0, std::min(title.size(), graphics_title_limit));
    const std::size_t kept = name.find_last_not_of(' ');
    name = kept == std::string_view::npos ? std::string_view("Graphics") : name.substr(0, kept + 1);
    if (width == 0 || height == 0) {
        width = graphics_default_width;
        height = graphics_default_height;
    }
    auto* widget = new GraphicsWidget(graphics_, command_state_callback());
    ChildWindow* child = add_child(widget, *widget, from_bytes(name));
    child->move(15, 15);
    child->resize(width, height);
    child->show();
    mdi_->setActiveSubWindow(child);
    graphics_.opened = true;
    graphics_.window = child;
    graphics_.bitmap_saved = false;
    return 1;
}

}  // namespace corvane::frame
