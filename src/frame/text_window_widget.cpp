#include "frame/text_window_widget.hpp"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFontDialog>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <cmath>

#include "console/readable_colour.hpp"

#include "frame/child_window.hpp"
#include "frame/dialogs.hpp"
#include "frame/text_printing.hpp"

namespace corvane::frame {

namespace {

constexpr int caret_blink_ms = 530;
constexpr int wheel_lines_per_notch = 3;
constexpr char16_t control_glyph = u'\u25AF';  // bytes without a glyph keep their cell

QColor to_qcolor(console::Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

console::Colour from_qcolor(const QColor& c) {
    return static_cast<console::Colour>(c.red()) | static_cast<console::Colour>(c.green()) << 8 |
           static_cast<console::Colour>(c.blue()) << 16;
}

QString cell_text(std::string_view bytes) {
    QString text = from_bytes(bytes);
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) c = control_glyph;
    }
    return text;
}

// Draws the model's paint runs, every character at its own cell, so that what is drawn,
// the caret, the selection and what Copy takes agree whatever the font's own advance is.
// Runs without a background are the text, drawn in the window's display colour.
class RunPainter : public console::TextPainter {
public:
    RunPainter(QPainter& painter, QSize cell, int ascent, QColor text)
        : painter_(painter), cell_(cell), ascent_(ascent), text_(std::move(text)) {}
    void draw_text(int x, int y, std::string_view text, console::Colour foreground,
                   std::optional<console::Colour> background) override {
        if (text.empty()) return;
        if (background) {
            painter_.fillRect(x, y, static_cast<int>(text.size()) * cell_.width(), cell_.height(), to_qcolor(*background));
        }
        painter_.setPen(background ? to_qcolor(foreground) : text_);
        const QString cells = cell_text(text);
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (cells[i] != QLatin1Char(' ')) painter_.drawText(QPoint(x + int(i) * cell_.width(), y + ascent_), QString(cells[i]));
        }
    }

private:
    QPainter& painter_;
    QSize cell_;
    int ascent_;
    QColor text_;
};

std::optional<int> window_key(int qt_key) {
    switch (qt_key) {
        case Qt::Key_PageUp: return console::keys::page_up;
        case Qt::Key_PageDown: return console::keys::page_down;
        case Qt::Key_End: return console::keys::end;
        case Qt::Key_Home: return console::keys::home;
        case Qt::Key_Left: return console::keys::left;
        case Qt::Key_Up: return console::keys::up;
        case Qt::Key_Right: return console::keys::right;
        case Qt::Key_Down: return console::keys::down;
        case Qt::Key_Insert: return console::keys::insert;
        case Qt::Key_Delete: return console::keys::del;
        default: return std::nullopt;
    }
}

std::optional<console::ScrollRequest> scroll_request(int action, bool vertical) {
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub: return console::ScrollRequest::line_up;
        case QAbstractSlider::SliderSingleStepAdd: return console::ScrollRequest::line_down;
        case QAbstractSlider::SliderPageStepSub: return console::ScrollRequest::page_up;
        case QAbstractSlider::SliderPageStepAdd: return console::ScrollRequest::page_down;
        case QAbstractSlider::SliderToMinimum: return console::ScrollRequest::top;
        case QAbstractSlider::SliderToMaximum: return console::ScrollRequest::bottom;
        // A vertical bar follows the dragged thumb; a horizontal one waits for its release.
        case QAbstractSlider::SliderMove:
            return vertical ? std::optional(console::ScrollRequest::thumb_track) : std::nullopt;
        default: return std::nullopt;
    }
}

}  // namespace

// A cell holds a whole character: a fractional advance is rounded up, so that no glyph runs
// into the next cell.
QSize character_cell(const QFont& font) {
    const QFontMetricsF metrics(font);
    const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(QLatin1Char('M')) - 0.01));
    return {std::max(1, width), std::max(1, static_cast<int>(std::ceil(metrics.height() - 0.01)))};
}

class TextWindowWidget::Clipboard : public console::Clipboard {
public:
    bool put_text(std::string_view text) override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard) return false;
        clipboard->setText(from_bytes(text));
        return true;
    }
    std::optional<std::string> text() override {
        QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
        if (!data || !data->hasText()) return std::nullopt;
        return to_bytes(data->text());
    }
};

TextWindowWidget::TextWindowWidget(console::SavePaths& save_paths, CommandStateCallback command_state,
                                   const QFont& font)
    : save_paths_(save_paths), command_state_(std::move(command_state)), clipboard_(std::make_unique<Clipboard>()), font_(font) {
    const QSize cell = character_cell(font_);
    model_ = std::make_unique<console::TextWindow>(*this, *clipboard_, cell.width(), cell.height());
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    verticalScrollBar()->setRange(0, 0);
    horizontalScrollBar()->setRange(0, 0);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { scroll_bar_action(console::ScrollBar::vertical, action); });
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { scroll_bar_action(console::ScrollBar::horizontal, action); });
    connect(horizontalScrollBar(), &QScrollBar::sliderReleased, this, [this] {
        model_->horizontal_scroll(console::ScrollRequest::thumb_position, horizontalScrollBar()->value());
    });
    caret_blink_.setInterval(caret_blink_ms);
    connect(&caret_blink_, &QTimer::timeout, this, [this] {
        caret_blink_on_ = !caret_blink_on_;
        viewport()->update(caret_rect());
    });
}

TextWindowWidget::~TextWindowWidget() = default;

ChildWindow* TextWindowWidget::child() const { return qobject_cast<ChildWindow*>(parentWidget()); }

QColor TextWindowWidget::text_colour() const { return to_qcolor(model_->state().text_colour); }

void TextWindowWidget::command(int id) {
    switch (id) {
        case console::command_save:
        case console::command_save_as:
            console::save_window(*model_, *this, save_paths_, id == console::command_save_as);
            return;
        case console::command_print: print_text_window(*this); return;
        case console::command_font: choose_font(); return;
        case console::command_colour: choose_colour(); return;
        default: model_->command(id); return;
    }
}

bool TextWindowWidget::may_close() { return console::close_question(*model_, *this, save_paths_); }

void TextWindowWidget::show_command_states() {
    const console::TextWindowState& s = model_->state();
    command_state_(console::command_save, s.modified);
    for (int id : {console::command_cut, console::command_copy, console::command_delete})
        command_state_(id, s.edit_commands_enabled);
}

void TextWindowWidget::set_text_font(const QFont& font) {
    font_ = font;
    const QSize cell = character_cell(font_);
    model_->set_font_metrics(cell.width(), cell.height());
}

void TextWindowWidget::choose_font() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, font_, nullptr, tr("Font"), QFontDialog::MonospacedFonts);
    if (!ok) return;
    set_text_font(chosen);
    if (font_chosen_callback_) font_chosen_callback_(chosen);
}

// A cancelled dialog keeps the colour the text had.
void TextWindowWidget::choose_colour() {
    const QColor chosen = QColorDialog::getColor(text_colour(), nullptr);
    if (!chosen.isValid()) return;
    set_chosen_colour(chosen);
    if (colour_chosen_callback_) colour_chosen_callback_(chosen);
}

void TextWindowWidget::set_chosen_colour(const QColor& colour) {
    colour_chosen_ = true;
    model_->set_text_colour(from_qcolor(colour));
}

// Until the user chooses a colour the text follows the theme; a chosen one is drawn on the
// theme's background while it is readable there, else on black or white.
QColor TextWindowWidget::display_text_colour() const {
    return colour_chosen_ ? text_colour() : palette().color(QPalette::Text);
}

QColor TextWindowWidget::display_background() const {
    const QColor theme = palette().color(QPalette::Base);
    if (!colour_chosen_) return theme;
    return to_qcolor(console::readable_background(model_->state().text_colour, from_qcolor(theme)));
}

// --- TextWindowView

void TextWindowWidget::invalidate(const console::PixelRect& area) {
    viewport()->update(area.x, area.y, area.width, area.height);
}

void TextWindowWidget::invalidate_all() { viewport()->update(); }

void TextWindowWidget::scroll_contents(int dx, int dy) { viewport()->scroll(dx, dy); }

void TextWindowWidget::set_scroll_bar(console::ScrollBar bar, int range, int position) {
    const bool vertical = bar == console::ScrollBar::vertical;
    QScrollBar* scroll_bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    scroll_bar->setRange(0, range);
    const console::TextWindowState& s = model_->state();
    scroll_bar->setPageStep(std::max(1, vertical ? s.visible_rows : s.visible_columns));
    scroll_bar->setValue(position);
}

void TextWindowWidget::show_caret(bool shown, int width, int height) {
    viewport()->update(caret_rect());
    caret_shown_ = shown;
    caret_size_ = {width, height};
    caret_blink_on_ = true;
    if (shown) caret_blink_.start();
    else caret_blink_.stop();
    viewport()->update(caret_rect());
}

void TextWindowWidget::place_caret(int x, int y) {
    if (caret_at_ == QPoint(x, y)) return;
    viewport()->update(caret_rect());
    caret_at_ = {x, y};
    caret_blink_on_ = true;
    viewport()->update(caret_rect());
    tell_screen_reader_of_caret();
}

// A screen reader reads the line the caret comes to: after output, the prompt. One event per
// turn of the event loop, however many characters a write typed.
void TextWindowWidget::tell_screen_reader_of_caret() {
    if (!QAccessible::isActive() || caret_event_pending_) return;
    caret_event_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        caret_event_pending_ = false;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(this);
        if (QAccessibleTextInterface* text = accessible ? accessible->textInterface() : nullptr) {
            QAccessibleTextCursorEvent moved(this, text->cursorPosition());
            QAccessible::updateAccessibility(&moved);
        }
    });
}

QRect TextWindowWidget::caret_rect() const { return {caret_at_, caret_size_}; }

// The menu bar shows the states of the window in front: a window behind it that repaints
// (the console, as the program writes) must not change them.
void TextWindowWidget::enable_command(console::Command command, bool enabled) {
    const ChildWindow* own = child();
    const QMdiSubWindow* front = own && own->mdiArea() ? own->mdiArea()->currentSubWindow() : nullptr;
    if (!front || front == own) command_state_(command, enabled);
}

// --- SaveHost

std::string TextWindowWidget::title() const { return child() ? to_bytes(child()->windowTitle()) : std::string(); }

void TextWindowWidget::set_title(std::string_view title) {
    if (child()) child()->setWindowTitle(QFile::decodeName(QByteArray(title.data(), static_cast<qsizetype>(title.size()))));
}

std::string TextWindowWidget::current_directory() const { return to_path(QDir::currentPath()); }

std::optional<std::string> TextWindowWidget::choose_save_file(std::string_view caption, std::string_view initial_name) {
    const std::optional<QString> chosen = run_file_dialog(
        {.caption = from_bytes(caption),
         .filters = {QStringLiteral("Text Files (*.txt)"), QStringLiteral("All Files (*.*)")},
         .default_suffix = QStringLiteral("txt"),
         .initial_name = QFile::decodeName(QByteArray(initial_name.data(), static_cast<qsizetype>(initial_name.size())))});
    if (!chosen) return std::nullopt;
    return to_path(*chosen);
}

void TextWindowWidget::warn(std::string_view text) {
    show_box(nullptr, framework_caption, from_bytes(text), QMessageBox::Warning);
}

console::SaveAnswer TextWindowWidget::ask(std::string_view text) { return ask_yes_no_cancel(this, from_bytes(text)); }

// --- events

void TextWindowWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.fillRect(event->rect(), display_background());
    painter.setFont(font_);
    const QRect r = event->rect();
    RunPainter runs(painter, character_cell(font_), QFontMetrics(font_).ascent(), display_text_colour());
    model_->paint({r.x(), r.y(), r.width(), r.height()}, runs);
    if (caret_shown_ && caret_blink_on_) {
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(caret_rect(), Qt::white);
    }
}

void TextWindowWidget::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    model_->resized(viewport()->width(), viewport()->height());
}

void TextWindowWidget::keyPressEvent(QKeyEvent* event) {
    if (const std::optional<int> key = window_key(event->key()); key && model_->user_key(*key)) return;
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: model_->user_character('\r'); return;
        case Qt::Key_Backspace: model_->user_character('\b'); return;
        case Qt::Key_Tab: model_->user_character('\t'); return;
        default: break;
    }
    const QString text = event->text();
    if (text.isEmpty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    for (char c : text.toLatin1()) model_->user_character(static_cast<unsigned char>(c));
}

void TextWindowWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    model_->button_down();
}

void TextWindowWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    model_->pointer_moved(at.x(), at.y(), event->buttons() & Qt::LeftButton);
}

void TextWindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) model_->button_up();
}

void TextWindowWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint at = event->position().toPoint();
    model_->double_click(at.x(), at.y());
}

void TextWindowWidget::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    const auto request = notches > 0 ? console::ScrollRequest::line_up : console::ScrollRequest::line_down;
    for (int i = 0; i < std::abs(notches) * wheel_lines_per_notch; ++i) model_->vertical_scroll(request);
    event->accept();
}

void TextWindowWidget::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    model_->focus_changed(true);
}

void TextWindowWidget::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    model_->focus_changed(false);
}

bool TextWindowWidget::focusNextPrevChild(bool) { return false; }  // Tab is typed

void TextWindowWidget::scrollContentsBy(int, int) {}  // the model scrolls the contents itself

void TextWindowWidget::scroll_bar_action(console::ScrollBar bar, int action) {
    const bool vertical = bar == console::ScrollBar::vertical;
    QScrollBar* scroll_bar = vertical ? verticalScrollBar() : horizontalScrollBar();
    const std::optional<console::ScrollRequest> request = scroll_request(action, vertical);
    if (!request) return;
    if (vertical) model_->vertical_scroll(*request, scroll_bar->sliderPosition());
    else model_->horizontal_scroll(*request, scroll_bar->sliderPosition());
    const console::TextWindowState& s = model_->state();
    scroll_bar->setSliderPosition(vertical ? s.vertical_offset : s.horizontal_offset);
}

}  // namespace corvane::frame
