// The text window as painted: every character on its cell at fonts whose own advance is
// fractional, the highlighted cells exactly those Copy takes, the theme's colours and a chosen
// colour kept readable; what a screen reader is told; and the frame's status bar, icon and
// fit to the screen.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QImage>
#include <QMdiSubWindow>
#include <QScreen>

#include "console/readable_colour.hpp"
#include "frame/child_window.hpp"
#include "frame/desktop_frame.hpp"
#include "frame/text_window_widget.hpp"
#include "frame/transcript_accessible.hpp"
#include "test_support.hpp"

namespace corvane::testing {
namespace {

struct Window {
    explicit Window(const QFont& font) : widget(paths, [](int, bool) {}, font) {
        widget.resize(1200, 200);
        widget.show();
    }
    void write(std::string_view text) { widget.model().write_text(text.data(), text.size()); }
    QImage painted() { return widget.viewport()->grab().toImage(); }
    QSize cell() const { return frame::character_cell(widget.text_font()); }

    console::SavePaths paths;
    frame::TextWindowWidget widget;
};

QFont mono(double points) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPointSizeF(points);
    return font;
}

bool inked(const QImage& image, int x, int y, const QColor& background) {
    const QColor c = image.pixelColor(x, y);
    return std::abs(c.lightness() - background.lightness()) > 60;
}

// The leftmost and rightmost inked pixel columns of a row of cells.
std::pair<int, int> ink_span(const QImage& image, int row, QSize cell, const QColor& background) {
    int left = image.width(), right = -1;
    for (int y = row * cell.height(); y < (row + 1) * cell.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inked(image, x, y, background)) continue;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    return {left, right};
}

TEST(TextCells, EveryCharacterIsDrawnOnItsCellAtEveryFontSize) {
    for (double points : {7.5, 9.0, 10.5, 13.7}) {
        SCOPED_TRACE(points);
        Window w(mono(points));
        const QSize cell = w.cell();
        const int columns[] = {3, 24, 53, 77};
        for (int column : columns) w.write(std::string(std::size_t(column), ' ') + "M\r\n");
        const QImage image = w.painted();
        const QColor background = w.widget.display_background();
        for (int row = 0; row < 4; ++row) {
            const auto [left, right] = ink_span(image, row, cell, background);
            EXPECT_GE(left, columns[row] * cell.width() - 1) << "column " << columns[row];
            EXPECT_LE(right, (columns[row] + 1) * cell.width()) << "column " << columns[row];
        }
    }
}

TEST(TextCells, TheHighlightedCellsAreWhatCopyTakes) {
    for (double points : {9.0, 13.7}) {
        SCOPED_TRACE(points);
        Window w(mono(points));
        const QSize cell = w.cell();
        const std::string line = "Enter the country code of the stations :> 507 Samoa and more";
        w.write(line);
        console::TextWindow& m = w.widget.model();
        m.button_down();
        m.pointer_moved(41 * cell.width() + 1, cell.height() / 2, true);
        m.pointer_moved(53 * cell.width() + 1, cell.height() / 2, true);
        m.button_up();
        m.command(console::command_copy);
        const QString copied = QGuiApplication::clipboard()->text();

        const QImage image = w.painted();
        QString highlighted;
        for (int column = 0; column < static_cast<int>(line.size()) + 2; ++column) {
            const QColor middle = image.pixelColor(column * cell.width() + cell.width() / 2, cell.height() - 2);
            const bool blue = middle == QColor(0, 0, 255) ||
                              (middle.blue() > 200 && middle.red() < 60 && middle.green() < 60);
            const QColor left_edge = image.pixelColor(column * cell.width(), cell.height() - 1);
            EXPECT_EQ(blue, left_edge.blue() > 200 && left_edge.red() < 60) << "cell " << column << " is one colour";
            if (blue) highlighted += QChar::fromLatin1(line.at(std::size_t(column)));
        }
        EXPECT_EQ(copied.toStdString(), line.substr(41, 12));
        EXPECT_EQ(highlighted, copied);
    }
}

console::Colour as_colour(const QColor& c) {
    return static_cast<console::Colour>(c.red() | c.green() << 8 | c.blue() << 16);
}

TEST(TextCells, TheThemeColoursAndAChosenColourThatStaysReadable) {
    Window w(mono(10));
    QPalette dark = w.widget.palette();
    dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    w.widget.setPalette(dark);
    w.write("text");
    EXPECT_EQ(w.painted().pixelColor(5, w.widget.viewport()->height() - 2), QColor(0x2A, 0x2A, 0x2A));
    EXPECT_EQ(w.widget.display_text_colour(), QColor(0xEE, 0xEE, 0xEE));

    for (const QColor& chosen : {QColor(Qt::yellow), QColor(0, 0, 128), QColor(Qt::black)}) {
        w.widget.set_chosen_colour(chosen);
        const QColor background = w.painted().pixelColor(5, w.widget.viewport()->height() - 2);
        EXPECT_EQ(w.widget.display_text_colour(), chosen);
        EXPECT_EQ(background, w.widget.display_background());
        EXPECT_GE(console::contrast_ratio(as_colour(chosen), as_colour(background)), console::readable_contrast)
            << chosen.name().toStdString();
    }
}

TEST(TextCells, AScreenReaderIsToldTheTranscriptTheCaretAndTheSelection) {
    frame::install_transcript_accessibility();
    Window w(mono(10));
    w.widget.setAccessibleName(QStringLiteral("Input/Output"));
    w.write("first line\r\n");
    w.write("Enter :> ");
    w.widget.model().double_click(1, 1);  // "first"
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&w.widget);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->text(QAccessible::Name), "Input/Output");
    EXPECT_EQ(a->role(), QAccessible::EditableText);
    QAccessibleTextInterface* text = a->textInterface();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->characterCount(), 20);
    EXPECT_EQ(text->text(0, text->characterCount()), "first line\nEnter :> ");
    EXPECT_EQ(text->cursorPosition(), 20);
    ASSERT_EQ(text->selectionCount(), 1);
    int start = 0, end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(text->text(start, end), "first");
    const QRect second_row = text->characterRect(11);
    EXPECT_EQ(second_row.topLeft(), w.widget.viewport()->mapToGlobal(QPoint(0, w.cell().height())));
    EXPECT_EQ(text->offsetAtPoint(second_row.center()), 11);
}

TEST(FrameConventions, StatusBarIconAndAFrameWithinTheScreen) {
    drop_console_units();
    {
        frame::DesktopFrame f(QStringLiteral("corvane"));
        ASSERT_TRUE(f.start());
        EXPECT_EQ(f.program_state_text(), QString::fromUtf8("Working\u2026"));
        f.program_state_changed(console::ProgramState::waiting_for_answer);
        EXPECT_EQ(f.program_state_text(), "Waiting for your answer");
        f.program_state_changed(console::ProgramState::finished);
        EXPECT_EQ(f.program_state_text(), QString::fromUtf8("Finished: File \u25B8 Exit closes the program"));

        EXPECT_FALSE(QApplication::windowIcon().isNull());
        EXPECT_EQ(f.console_window()->child()->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
        const QRect free = f.screen()->availableGeometry();
        EXPECT_TRUE(free.contains(f.geometry())) << f.geometry().width() << "x" << f.geometry().height();
    }
    drop_console_units();
}

}  // namespace
}  // namespace corvane::testing
