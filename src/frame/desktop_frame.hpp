// The desktop frame: the main window with its MDI area, the menus and accelerators, the
// window list, Exit, the About box, and the frame's side of the console: it creates text
// windows for the console hooks, shows their message boxes and file dialogs, and carries
// the operations an application may use (added menu items, timers, clear, wait, the
// graphics window). One frame exists per program.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "console/frame_console.hpp"
#include "console/frame_host.hpp"
#include "console/text_saving.hpp"
#include "frame/child_content.hpp"
#include "frame/data_folder_choice.hpp"
#include "frame/graphics_window.hpp"
#include "frame/qt_event_pump.hpp"

class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QAction;
class QLabel;
class QTimer;

namespace corvane::frame {

class TextWindowWidget;
class ChildWindow;

// Command identifiers of the frame's own menu items.
enum FrameCommand : int {
    command_about = 520,
    command_exit = 530,
    command_open_data_folder = 540,
    command_tile_vertically = 700,
    command_tile_horizontally = 701,
    command_cascade = 702,
    command_arrange_icons = 703,
    first_window_list_id = 100,
};

// Flags of added menu items.
inline constexpr unsigned menu_grayed = 0x1;
inline constexpr unsigned menu_disabled = 0x2;
inline constexpr unsigned menu_checked = 0x8;
inline constexpr unsigned menu_separator = 0x800;

class DesktopFrame : public QMainWindow, public console::FrameHost {
    Q_OBJECT
public:
    // `title`: the program's file name.
    explicit DesktopFrame(const QString& title);
    ~DesktopFrame() override;

    static DesktopFrame* instance();

    // Installs the console hooks, shows the frame and creates the console "Input/Output";
    // false when the console could not be created.
    bool start();

    console::FrameConsole& console() { return console_; }
    QtEventPump& pump() { return pump_; }
    QMdiArea* mdi_area() const { return mdi_; }
    QMenu* window_menu() const { return window_menu_; }
    TextWindowWidget* console_window() const { return console_window_; }
    GraphicsState& graphics() { return graphics_; }
    DataFolderChoice& data_folder() { return data_folder_; }
    // The status bar's text: what the program is doing.
    QString program_state_text() const;

    // A menu command, as chosen from the menu or through an accelerator.
    void command(int id);
    // The Exit command: closes every child (each may ask to save; a refusal ends the Exit
    // with everything open), then quits; a program still running is stopped. False when a
    // child refused.
    bool exit_frame();
    // Enables or grays a menu command of the menu bar.
    void enable_command(int id, bool enabled);
    QAction* action(int id) const;
    QMdiSubWindow* active_child() const;
    void show_about();

    // FrameHost
    console::TextWindow* create_text_window(std::string_view title, std::optional<console::WindowSize> size) override;
    void show_message(std::string_view caption, std::string_view text, console::MessageIcon icon) override;
    std::optional<std::string> choose_file_name(const console::FileNameRequest& request) override;
    void program_state_changed(console::ProgramState state) override;

    // Operations offered to applications; positions are 1-based.
    using CommandRoutine = console::FrameState::CommandRoutine;
    using TimerRoutine = console::FrameState::TimerRoutine;
    bool append_menu_item(int popup, unsigned flags, const QString& text, CommandRoutine routine);
    bool insert_menu_item(int popup, int item, unsigned flags, const QString& text, CommandRoutine routine);
    int check_menu_item(int popup, int item, unsigned flags);   // previous state, -1 if none
    int enable_menu_item(int popup, int item, unsigned flags);  // previous state, -1 if none
    bool delete_menu_item(int popup, int item);
    int set_timer(int id, int interval_ms, TimerRoutine routine);  // 1, or 0 when refused
    void kill_timer(int id);
    int clear_window(int unit_code);
    void wait();
    // One graphics window per run; 1 when it was opened. A width or height of 0 gives
    // 600 x 300, written back.
    int open_graphics_window(int& width, int& height, std::string_view title, int mapping_mode,
                             DrawRoutine routine);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void build_menus();
    // The desktop's conventions beside the menu table: the shortcuts Ctrl+S, Ctrl+P and
    // Ctrl+Q, "Open data folder…", the status bar and the program's icon.
    void add_conventions();
    // The remembered geometry, or the default size, within the screen's free area.
    void fit_to_screen();
    void apply_remembered_text_settings(TextWindowWidget& widget);
    QAction* add_command(QMenu* menu, const QString& text, int id, const QKeySequence& shortcut = {});
    void rebuild_window_list();
    void tile(bool side_by_side);
    void cascade();
    void arrange_icons();
    ChildWindow* add_child(QWidget* widget, ChildContent& content, const QString& title);
    CommandStateCallback command_state_callback();
    TextWindowWidget* make_text_window(const QString& title);
    QAction* item_at(int popup, int item) const;
    QAction* added_action(unsigned flags, const QString& text, CommandRoutine routine);

    QtEventPump pump_;
    console::FrameConsole console_;
    QMdiArea* mdi_ = nullptr;
    QMenu* window_menu_ = nullptr;
    std::vector<QAction*> window_list_;
    std::map<int, QAction*> actions_;
    TextWindowWidget* console_window_ = nullptr;
    console::SavePaths save_paths_;
    GraphicsState graphics_;
    std::map<int, QTimer*> timers_;  // by timer slot
    QLabel* program_state_ = nullptr;
    DataFolderChoice data_folder_;
};

}  // namespace corvane::frame
