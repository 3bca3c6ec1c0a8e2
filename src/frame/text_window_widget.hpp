// A text window on screen: adapts the platform-free TextWindow model to a Qt scroll area.
// Key, character, mouse, wheel, scroll-bar, focus and resize events become model events;
// the model's requests (invalidate, scroll, scroll-bar ranges, caret, menu states) are
// carried out here, and its paint runs are drawn with the window's fixed-pitch font.
// Save, Save As, Print, Font and Colour are the window's own commands. The widget sees only
// the save paths it shares with the other windows and a callback for the menu's states.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QTimer>
#include <functional>
#include <memory>

#include "console/text_saving.hpp"
#include "console/text_window.hpp"
#include "frame/child_content.hpp"

namespace corvane::frame {

class ChildWindow;

class TextWindowWidget : public QAbstractScrollArea,
                         public console::TextWindowView,
                         public console::SaveHost,
                         public ChildContent {
    Q_OBJECT
public:
    TextWindowWidget(console::SavePaths& save_paths, CommandStateCallback command_state, const QFont& font);
    ~TextWindowWidget() override;

    console::TextWindow& model() { return *model_; }
    const console::TextWindow& model() const { return *model_; }
    const QFont& text_font() const { return font_; }
    QColor text_colour() const;
    ChildWindow* child() const;

    // ChildContent: the commands are Save, Save As, Print, the edit commands, Font and
    // Colour; the states shown are Save (when modified) and the edit commands.
    void command(int id) override;
    bool may_close() override;
    void show_command_states() override;

    void set_text_font(const QFont& font);
    // A colour chosen by the user (now or at an earlier start): the text is drawn in it.
    void set_chosen_colour(const QColor& colour);
    bool colour_chosen() const { return colour_chosen_; }
    // Told of what the user chooses in the font and colour dialogs, to be remembered.
    void on_font_chosen(std::function<void(const QFont&)> callback) { font_chosen_callback_ = std::move(callback); }
    void on_colour_chosen(std::function<void(const QColor&)> callback) { colour_chosen_callback_ = std::move(callback); }
    // What the screen shows: the text colour and the background under it.
    QColor display_text_colour() const;
    QColor display_background() const;

    // TextWindowView
    void invalidate(const console::PixelRect& area) override;
    void invalidate_all() override;
    void scroll_contents(int dx, int dy) override;
    void set_scroll_bar(console::ScrollBar bar, int range, int position) override;
    void show_caret(bool shown, int width, int height) override;
    void place_caret(int x, int y) override;
    void enable_command(console::Command command, bool enabled) override;

    // SaveHost
    std::string title() const override;
    void set_title(std::string_view title) override;
    std::string current_directory() const override;
    std::optional<std::string> choose_save_file(std::string_view caption, std::string_view initial_name) override;
    void warn(std::string_view text) override;
    console::SaveAnswer ask(std::string_view text) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    class Clipboard;
    void scroll_bar_action(console::ScrollBar bar, int action);
    void choose_font();
    void choose_colour();
    QRect caret_rect() const;
    void tell_screen_reader_of_caret();

    console::SavePaths& save_paths_;
    CommandStateCallback command_state_;
    std::unique_ptr<Clipboard> clipboard_;
    QFont font_;
    std::unique_ptr<console::TextWindow> model_;
    bool caret_shown_ = false;
    bool caret_blink_on_ = true;
    QSize caret_size_;
    QPoint caret_at_;
    QTimer caret_blink_;
    bool colour_chosen_ = false;
    bool caret_event_pending_ = false;
    std::function<void(const QFont&)> font_chosen_callback_;
    std::function<void(const QColor&)> colour_chosen_callback_;
};

// Cell width and line height of a fixed-pitch font on the screen.
QSize character_cell(const QFont& font);

}  // namespace corvane::frame
