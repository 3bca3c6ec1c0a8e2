#include "frame/transcript_accessible.hpp"

#include <QAccessibleWidget>
#include <algorithm>

#include "frame/dialogs.hpp"
#include "frame/text_window_widget.hpp"

namespace corvane::frame {

namespace {

class TranscriptAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TranscriptAccessible(TextWindowWidget* window) : QAccessibleWidget(window, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value) return transcript();
        return QAccessibleWidget::text(kind);
    }

    // QAccessibleTextInterface: the transcript is read-only to a reader.
    QString text(int start, int end) const override { return transcript().mid(start, std::max(0, end - start)); }
    int characterCount() const override { return static_cast<int>(transcript().size()); }
    int cursorPosition() const override {
        const console::TextWindowState& s = model().state();
        return offset_of(s.caret_row, s.caret_column);
    }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return model().state().selection_count; }
    void selection(int index, int* start, int* end) const override {
        const console::TextWindowState& s = model().state();
        *start = *end = 0;
        if (index != 0 || s.selection_count == 0) return;
        *start = offset_of(s.selection.row, s.selection.start_column);
        *end = offset_of(s.selection.row, s.selection.end_column);
    }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    QRect characterRect(int offset) const override {
        const auto [row, column] = cell_of(offset);
        const console::TextWindowState& s = model().state();
        const QPoint at((column - s.horizontal_offset) * s.char_width, (row - s.vertical_offset) * s.char_height);
        return {text_window()->viewport()->mapToGlobal(at), QSize(s.char_width, s.char_height)};
    }
    int offsetAtPoint(const QPoint& point) const override {
        const console::TextWindowState& s = model().state();
        const QPoint at = text_window()->viewport()->mapFromGlobal(point);
        return offset_of(at.y() / s.char_height + s.vertical_offset, at.x() / s.char_width + s.horizontal_offset);
    }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* start, int* end) const override {
        *start = *end = offset;
        return {};
    }

private:
    TextWindowWidget* text_window() const { return static_cast<TextWindowWidget*>(widget()); }
    const console::TextWindow& model() const { return text_window()->model(); }

    QString transcript() const {
        QString text;
        for (int row = 0; row < model().state().last_line(); ++row) {
            if (row > 0) text += QLatin1Char('\n');
            text += from_bytes(model().line(row));
        }
        return text;
    }
    // Offsets count each line and the line feed after it; a cell beyond a line's end is its
    // end, and the row below the last line (a new line pending) is the end of the text.
    int offset_of(int row, int column) const {
        if (row >= model().state().last_line()) return characterCount();
        int offset = 0;
        for (int r = 0; r < row; ++r) offset += static_cast<int>(model().line(r).size()) + 1;
        return offset + std::clamp(column, 0, static_cast<int>(model().line(row).size()));
    }
    std::pair<int, int> cell_of(int offset) const {
        for (int row = 0; row < model().state().last_line(); ++row) {
            const int length = static_cast<int>(model().line(row).size());
            if (offset <= length) return {row, std::max(0, offset)};
            offset -= length + 1;
        }
        return {model().state().last_line(), 0};
    }
};

QAccessibleInterface* transcript_factory(const QString& class_name, QObject* object) {
    if (class_name != QLatin1String(TextWindowWidget::staticMetaObject.className())) return nullptr;
    auto* window = qobject_cast<TextWindowWidget*>(object);
    return window ? new TranscriptAccessible(window) : nullptr;
}

}  // namespace

void install_transcript_accessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(transcript_factory);
        return true;
    }();
    (void)installed;
}

}  // namespace corvane::frame
