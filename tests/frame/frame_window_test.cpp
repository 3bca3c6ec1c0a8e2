// The frame and its windows without a whole session: the menu table, Cascade and the menu
// states of the window in front, keys and the mouse in
// a text window, Paste, window units and the file-name dialog, the operations offered to
// applications, the graphics window and its mapping modes, a child window over its content
// with no frame at all, and the About box.
#include <gtest/gtest.h>

#include <chrono>
#include <map>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>

#include "console/text_window.hpp"
#include "frame/about_box.hpp"
#include "frame/child_window.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/graphics_window.hpp"
#include "frame/scripted_user.hpp"
#include "frame/station_map.hpp"
#include "fmtio/statement_api.hpp"
#include "frame/system_info.hpp"
#include "frame/text_window_widget.hpp"
#include "test_support.hpp"
#include "units/connection_statements.hpp"
#include "units/console_hooks.hpp"

namespace corvane::testing {
namespace {

using frame::DesktopFrame;

// A started frame; the console units and the hooks are fresh for each test.
struct Frame {
    Frame() {
        drop_console_units();
        frame.start();
    }
    ~Frame() { drop_console_units(); }
    DesktopFrame frame{QStringLiteral("corvane")};
    frame::TextWindowWidget& console() { return *frame.console_window(); }
    const console::TextWindowState& state() { return console().model().state(); }
};

// Every item of the menu bar: "text [id] shortcut", separators as "-".
std::vector<std::string> menu_items(QMenuBar* bar) {
    std::vector<std::string> items;
    for (QAction* popup : bar->actions()) {
        items.push_back("# " + popup->text().toStdString());
        for (QAction* a : popup->menu()->actions()) {
            if (a->isSeparator()) {
                items.push_back("-");
                continue;
            }
            std::string item = a->text().toStdString() + " [" + std::to_string(a->data().toInt()) + "]";
            if (!a->shortcut().isEmpty()) item += " " + a->shortcut().toString().toStdString();
            items.push_back(item);
        }
    }
    return items;
}

TEST(DesktopFrame, MenusIdentifiersAcceleratorsAndTheConsole) {
    Frame f;
    const std::vector<std::string> expected{
        "# &File", "Open data folder\u2026 [540]", "-", "&Save [500] Ctrl+S", "Save As... [501]", "-",
        "Print... [510] Ctrl+P", "-", "&About... [520]", "-", "E&xit [530] Ctrl+Q",
        "# &Edit", "&Undo\tCtrl+Z [600] Ctrl+Z", "-", "Cu&t\tCtrl+X [610] Ctrl+X", "&Copy\tCtrl+C [611] Ctrl+C",
        "&Paste\tCtrl+V [612] Ctrl+V", "De&lete [613]",
        "# F&ormat", "&Font... [650]", "&Color [651]",
        "# &Window", "&Cascade\tShift+F5 [702] Shift+F5", "Tile &Horizontally [701]", "Tile &Vertically [700]",
        "&Arrange Icons [703]"};
    EXPECT_EQ(menu_items(f.frame.menuBar()), expected);
    EXPECT_EQ(f.frame.windowTitle(), "corvane");

    QMdiSubWindow* console = f.console().child();
    EXPECT_EQ(console->windowTitle(), "Input/Output");
    EXPECT_EQ(console->geometry(), QRect(15, 15, 600, 300));
    EXPECT_EQ(f.frame.console().registry().open_windows(), 1);
    EXPECT_EQ(f.frame.console().registry().find(-3), &f.console().model());
    for (int id : {console::command_cut, console::command_copy, console::command_delete})
        EXPECT_FALSE(f.frame.action(id)->isEnabled()) << id;

    // The Window menu lists the children; their identifiers from 100 activate them.
    emit f.frame.window_menu()->aboutToShow();
    ASSERT_TRUE(f.frame.action(frame::first_window_list_id));
    EXPECT_EQ(f.frame.action(frame::first_window_list_id)->text(), "&1 Input/Output");
}

// Cascade leaves every window a usable size (the console too, whose toolkit cascade was a
// title bar); the console repainting behind the map leaves the map's menu states alone.
TEST(DesktopFrame, CascadeKeepsWindowsUsableAndAWindowBehindLeavesTheMenuStatesAlone) {
    Frame f;
    f.frame.resize(900, 700);
    frame::show_station_map(f.frame);
    QMdiSubWindow* console = f.console().child();
    QMdiSubWindow* map = f.frame.mdi_area()->currentSubWindow();
    ASSERT_NE(map, console);
    f.frame.command(frame::command_cascade);
    for (QMdiSubWindow* child : {console, map}) {
        EXPECT_GE(child->height(), f.frame.mdi_area()->viewport()->height() / 2) << child->windowTitle().toStdString();
        EXPECT_GE(child->width(), f.frame.mdi_area()->viewport()->width() / 2) << child->windowTitle().toStdString();
    }
    EXPECT_EQ(console->size(), map->size());
    EXPECT_NE(console->pos(), map->pos());
    EXPECT_EQ(f.frame.mdi_area()->currentSubWindow(), map);

    QAction* save = f.frame.action(console::command_save);
    EXPECT_TRUE(save->isEnabled());  // the map can always be saved
    f.console().model().mark_saved();  // nothing new in the console since it was saved
    f.console().repaint();
    EXPECT_TRUE(save->isEnabled()) << "the console behind the map grayed Save";
    f.frame.mdi_area()->setActiveSubWindow(console);
    EXPECT_FALSE(save->isEnabled());  // nothing typed in the console to save
}

TEST(TextWindowWidget, KeysTheMouseAndTheScrollBarsDriveTheModel) {
    Frame f;
    frame::TextWindowWidget& w = f.console();
    const QByteArray lines = QByteArray("line\r\n").repeated(60);
    w.model().write_text(lines.constData(), static_cast<std::size_t>(lines.size()));
    QTest::keyClicks(&w, "ab");
    QTest::keyClick(&w, Qt::Key_Tab);
    QTest::keyClick(&w, Qt::Key_Left);
    QTest::keyClick(&w, Qt::Key_Backspace);
    EXPECT_EQ(w.model().line(f.state().last_line() - 1), "ab     ");  // the blank left of the caret went
    QTest::keyClick(&w, Qt::Key_Home);
    EXPECT_EQ(f.state().vertical_offset, 0);
    EXPECT_EQ(w.verticalScrollBar()->value(), 0);
    QTest::keyClick(&w, Qt::Key_PageDown);
    EXPECT_EQ(f.state().vertical_offset, std::min(f.state().visible_rows, f.state().vertical_range));
    w.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(f.state().vertical_offset, f.state().vertical_range);
    EXPECT_EQ(w.verticalScrollBar()->value(), f.state().vertical_range);
    QWheelEvent up(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
    QApplication::sendEvent(w.viewport(), &up);
    EXPECT_EQ(f.state().vertical_offset, f.state().vertical_range - 3);

    // A double click selects a word; Copy enables Paste; Enter in the typed text ends it.
    w.verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    const QSize cell = frame::character_cell(w.text_font());
    QTest::mouseDClick(w.viewport(), Qt::LeftButton, {}, QPoint(cell.width() + 1, cell.height() / 2));
    QTest::mouseRelease(w.viewport(), Qt::LeftButton, {}, QPoint(cell.width() + 1, cell.height() / 2));
    EXPECT_TRUE(f.frame.action(console::command_copy)->isEnabled());
    f.frame.action(console::command_copy)->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "line");
    EXPECT_TRUE(f.frame.action(console::command_paste)->isEnabled());
}

TEST(TextWindowWidget, PasteTypesAtMost1024BytesOfAnything) {
    Frame f;
    frame::TextWindowWidget& w = f.console();
    QString binary;
    for (int i = 0; i < 2000; ++i) {  // every byte that types one cell: no zero, Backspace, Tab or CR
        const int c = 1 + i % 255;
        binary += QChar(c == 8 || c == 9 || c == 13 ? 'x' : c);
    }
    QGuiApplication::clipboard()->setText(binary);
    w.model().command(console::command_paste);
    EXPECT_EQ(f.state().last_line(), 1);
    EXPECT_EQ(static_cast<int>(w.model().line(0).size()), console::TextWindow::paste_limit);
    w.repaint();  // control bytes are drawn without upsetting the cells
    QGuiApplication::clipboard()->setText(QStringLiteral("7\r"));
    w.model().set_reading_line(true);
    w.model().command(console::command_paste);
    EXPECT_FALSE(f.state().reading_line);  // a pasted CR completes a read
}

TEST(WindowUnits, OpenAWindowUnitAndTheFileNameDialog) {
    Frame f;
    std::int32_t status = -99;
    units::open_unit({.unit = 21, .control = units::with_iostat(status), .access = "WINDOW", .title = "Plot",
                      .window_spec = "x,320,200"});
    EXPECT_EQ(status, 0);
    QMdiSubWindow* child = f.frame.active_child();
    ASSERT_TRUE(child);
    EXPECT_EQ(child->windowTitle(), "Plot");
    EXPECT_EQ(child->size(), QSize(320, 200));
    EXPECT_EQ(f.frame.console().registry().open_windows(), 2);

    // OPEN without a name: the dialog with the unit's title, filters and default name.
    ScriptedUser user;
    std::string title, filters, name;
    user.then("the file-name dialog", [] { return modal<QFileDialog>() != nullptr; }, [&] {
        auto* d = modal<QFileDialog>();
        title = d->windowTitle().toStdString();
        filters = d->nameFilters().join('|').toStdString();
        name = d->defaultSuffix().toStdString();
        d->reject();
    });
    user.start();
    units::open_unit({.unit = 12, .control = units::with_iostat(status), .file = "", .status = "OLD"});
    EXPECT_EQ(status, 10014);
    EXPECT_EQ(title, "Open file on FORTRAN UNIT 12");
    EXPECT_EQ(filters, "Data Files (*.dat)|Text Files (*.txt)|All Files (*.*)");
    EXPECT_EQ(name, "dat");
}

TEST(FrameOperations, MenuItemsTimersAndClear) {
    Frame f;
    static int calls = 0;
    static int last_checked = -1;
    calls = 0;
    ASSERT_TRUE(f.frame.insert_menu_item(5, 0, 0, QStringLiteral("&Tools"), nullptr));
    ASSERT_TRUE(f.frame.append_menu_item(5, 0, QStringLiteral("Run"), [](int checked) {
        ++calls;
        last_checked = checked;
    }));
    ASSERT_TRUE(f.frame.insert_menu_item(5, 1, frame::menu_grayed, QStringLiteral("First"), nullptr));
    QAction* run = f.frame.action(800);
    ASSERT_TRUE(run);
    EXPECT_EQ(f.frame.menuBar()->actions()[4]->text(), "&Tools");
    EXPECT_EQ(f.frame.menuBar()->actions()[4]->menu()->actions()[1], run);
    EXPECT_FALSE(f.frame.action(801)->isEnabled());

    run->trigger();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(last_checked, 0);
    EXPECT_EQ(f.frame.check_menu_item(5, 2, frame::menu_checked), 0);
    run->trigger();  // choosing it does not toggle the mark
    EXPECT_EQ(last_checked, 1);
    EXPECT_TRUE(run->isChecked());
    EXPECT_EQ(f.frame.check_menu_item(5, 2, 0), int(frame::menu_checked));
    EXPECT_EQ(f.frame.enable_menu_item(5, 1, 0), int(frame::menu_grayed));
    EXPECT_EQ(f.frame.check_menu_item(5, 9, 0), -1);
    EXPECT_FALSE(f.frame.delete_menu_item(5, 0));
    EXPECT_TRUE(f.frame.delete_menu_item(5, 1));
    EXPECT_EQ(f.frame.menuBar()->actions()[4]->menu()->actions().size(), 1);

    // 100 timer slots: the 101st is refused; killing an unknown id frees nothing.
    static int ticks = 0;
    for (int id = 1; id <= 100; ++id) EXPECT_EQ(f.frame.set_timer(id, 1000, [] { ++ticks; }), 1) << id;
    EXPECT_EQ(f.frame.set_timer(101, 1000, nullptr), 0);
    f.frame.kill_timer(555);
    EXPECT_EQ(f.frame.set_timer(101, 1000, nullptr), 0);
    f.frame.kill_timer(7);
    EXPECT_EQ(f.frame.set_timer(101, 1, [] { ++ticks; }), 1);
    QTRY_VERIFY_WITH_TIMEOUT(ticks > 0, 5000);

    // Clear empties the console; wait starts its delay.
    f.console().model().write_text("text\r\n", 6);
    EXPECT_EQ(f.frame.clear_window(0), 0);
    EXPECT_EQ(f.state().last_line(), 0);
    f.frame.wait();
    EXPECT_FALSE(f.frame.console().state().timer_elapsed);
    QTRY_VERIFY_WITH_TIMEOUT(f.frame.console().state().timer_elapsed, 5000);
}

TEST(FrameOperations, TimersRunDuringALongRunOfStatementsWithoutConsoleOutput) {
    // An extraction writes its files for minutes without a word on the console; the frame
    // must still repaint and answer, so statements alone must let its events through.
    Frame f;
    static int ticks = 0;
    ticks = 0;
    ASSERT_EQ(f.frame.set_timer(1, 1, [] { ++ticks; }), 1);
    fmtio::Text<4> field;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (ticks == 0 && std::chrono::steady_clock::now() < deadline) {
        fmtio::write(fmtio::internal_unit(field), fmtio::fmt<"(i4)">, 42);
    }
    f.frame.kill_timer(1);
    EXPECT_GT(ticks, 0);
}

TEST(GraphicsWindow, OpenedOncePerRunWithItsSizeTitleAndMappingMode) {
    Frame f;
    static int draws = 0;
    int width = 0, height = 50;
    ASSERT_EQ(f.frame.open_graphics_window(width, height, "   ", 9, [](QPainter&) { ++draws; }), 1);
    EXPECT_EQ(width, 600);
    EXPECT_EQ(height, 300);
    QMdiSubWindow* child = f.frame.graphics().window;
    ASSERT_TRUE(child);
    EXPECT_EQ(child->windowTitle(), "Graphics");
    EXPECT_EQ(child->size(), QSize(600, 300));
    EXPECT_EQ(f.frame.graphics().mapping_mode, frame::mapping_text);
    child->widget()->grab();
    EXPECT_GT(draws, 0);
    ScriptedUser user;
    std::string question;
    user.then("the save question", [] { return modal<QMessageBox>() != nullptr; },
              [&] { question = answer_box(QMessageBox::No).toStdString(); });
    user.start();
    child->close();
    EXPECT_EQ(question, "Save changes to Graphics?");
    int w2 = 10, h2 = 10;
    EXPECT_EQ(f.frame.open_graphics_window(w2, h2, "Again", 1, nullptr), 0);

    // Units and orientation of the mapping modes at 254 dots per inch.
    struct Row {
        int mode;
        QPointF logical;
        QPointF device;
    };
    for (const Row& r : {Row{1, {10, 20}, {10, 20}}, Row{2, {10, 20}, {10, -20}}, Row{3, {100, 200}, {10, -20}},
                         Row{4, {100, 100}, {254, -254}}, Row{5, {1000, 500}, {254, -127}}, Row{6, {1440, 0}, {254, 0}},
                         Row{8, {3, 4}, {3, 4}}, Row{0, {3, 4}, {3, 4}}}) {
        EXPECT_EQ(frame::mapping_transform(r.mode, 254, 254).map(r.logical), r.device) << r.mode;
    }
}

TEST(ChildContent, AChildNeedsOnlyItsStateAndACallbackAndReportsARefusedClose) {
    // No frame: each widget gets the state it works on and a callback for the menu's states.
    std::map<int, bool> states;
    const frame::CommandStateCallback record = [&states](int id, bool enabled) { states[id] = enabled; };
    console::SavePaths paths;
    auto* text = new frame::TextWindowWidget(paths, record, QFont(QStringLiteral("Monospace")));
    frame::ChildWindow text_child(text, *text);
    text->model().write_text("abc\r\n", 5);
    text->show_command_states();
    EXPECT_EQ(states, (std::map<int, bool>{{console::command_save, true},
                                           {console::command_cut, false},
                                           {console::command_copy, false},
                                           {console::command_delete, false}}));

    frame::GraphicsState graphics;
    auto* picture = new frame::GraphicsWidget(graphics, record);
    QPointer<frame::ChildWindow> child = new frame::ChildWindow(picture, *picture);
    child->setWindowTitle(QStringLiteral("Picture"));
    child->show();
    picture->show_command_states();
    EXPECT_TRUE(states[console::command_save]);
    int closings = 0;
    QObject::connect(child, &frame::ChildWindow::closing, [&closings] { ++closings; });

    // Cancel in the save question: close() says so and nothing is closed.
    ScriptedUser user;
    std::string question;
    user.then("the save question", [] { return modal<QMessageBox>() != nullptr; },
              [&] { question = answer_box(QMessageBox::Cancel).toStdString(); });
    user.start();
    EXPECT_FALSE(child->close());
    EXPECT_EQ(question, "Save changes to Picture?");
    EXPECT_EQ(closings, 0);
    EXPECT_TRUE(child->isVisible());

    // A saved picture closes without a question, once.
    graphics.bitmap_saved = true;
    picture->show_command_states();
    EXPECT_FALSE(states[console::command_save]);
    EXPECT_TRUE(child->close());
    EXPECT_EQ(closings, 1);
    QTRY_VERIFY_WITH_TIMEOUT(child.isNull(), 5000);  // deleted once the event loop runs
}

TEST(AboutBox, TitleTextsAndTheMachine) {
    frame::AboutBox box(nullptr);
    EXPECT_EQ(box.windowTitle(), "About Tessel");
    QStringList texts;
    for (QLabel* label : box.findChildren<QLabel*>()) texts << label->text();
    EXPECT_TRUE(texts.contains("Tessel Application Framework"));
    for (const char* field : {"Page Size", "Minimum Address", "Maximum Address", "Processor Type", "Number of Processors"})
        EXPECT_TRUE(texts.contains(field)) << field;
    const frame::SystemInfo info = frame::system_info();
    EXPECT_TRUE(texts.contains(QString::fromStdString(frame::hex_address(info.maximum_address))));
    EXPECT_TRUE(texts.contains(QString::number(info.page_size)));
    EXPECT_GT(info.processors, 0);
    EXPECT_LT(info.minimum_address, info.maximum_address);
    EXPECT_EQ(frame::highest_user_address(48, 4096), 0x7FFFFFFFEFFFu);
    EXPECT_EQ(frame::highest_user_address(32, 65536), 0x7FFEFFFFu);
    EXPECT_EQ(frame::hex_address(0x10000), "0x10000");
}

}  // namespace
}  // namespace corvane::testing
