#include "frame/text_printing.hpp"

#include <QPainter>
#include <QPrinter>
#include <memory>

#include "frame/dialogs.hpp"
#include "frame/printing.hpp"
#include "frame/text_window_widget.hpp"

namespace corvane::frame {

namespace {

constexpr int units_per_inch = 100;

QFont printer_font(const TextWindowWidget& window) {
    QFont font = window.text_font();
    font.setPixelSize(QFontInfo(window.text_font()).pixelSize());
    return font;
}

void scale_to_inches(QPainter& painter, const QPrinter& printer) {
    painter.resetTransform();
    painter.scale(double(printer.logicalDpiX()) / units_per_inch, double(printer.logicalDpiY()) / units_per_inch);
}

// Draws `text` a character to a cell, as the screen does.
void draw_cells(QPainter& painter, int y, const QString& text, int cell_width) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char(' ')) painter.drawText(QPoint(int(i) * cell_width, y), QString(text[i]));
    }
}

}  // namespace

QSize printed_cell(TextWindowWidget& window) {
    const QFontMetrics metrics(printer_font(window));
    return {character_cell(printer_font(window)).width(), metrics.height() + std::max(0, metrics.leading())};
}

int printed_line_height(TextWindowWidget& window) { return printed_cell(window).height(); }

PrintedText lay_out_text(TextWindowWidget& window, QPrinter& printer) {
    PrintedText text;
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    const QSize cell = printed_cell(window);
    text.lines_per_page = console::lines_per_page(page.height(), printer.logicalDpiY(), cell.height());
    text.body_lines_per_page = console::body_lines_per_page(text.lines_per_page);
    text.columns = console::columns_per_page(page.width(), printer.logicalDpiX(), cell.width());
    std::vector<int> lengths;
    for (int row = 0; row < window.model().state().last_line(); ++row)
        lengths.push_back(static_cast<int>(window.model().line(row).size()));
    text.lines = console::wrap_lines(lengths, text.columns);
    text.pages = console::pages_for(static_cast<int>(text.lines.size()), text.body_lines_per_page);
    return text;
}

TextPrintResult print_text_lines(TextWindowWidget& window, QPrinter& printer, int first_line, int last_line,
                                 bool (*go_on)(void*), void* context) {
    TextPrintResult result;
    printer.setDocName(QStringLiteral("Tessel Input/Output"));
    const PrintedText text = lay_out_text(window, printer);
    const int copies = printer.copyCount();
    printer.setCopyCount(1);  // each copy is printed here, page by page
    const QSize cell = printed_cell(window);
    result.lines_per_page = text.lines_per_page;
    QPainter painter;
    if (!painter.begin(&printer)) return result;
    result.started = true;
    painter.setFont(printer_font(window));
    painter.setPen(window.text_colour());
    const int ascent = QFontMetrics(painter.font()).ascent();
    const QString title = from_bytes(window.title());
    bool first_page = true;
    auto start_page = [&](int page) {
        if (!first_page && !printer.newPage()) return false;
        first_page = false;
        ++result.pages;
        scale_to_inches(painter, printer);
        draw_cells(painter, ascent, from_bytes(console::page_header(to_bytes(title), page, text.pages, text.columns)),
                   cell.width());
        return true;
    };
    last_line = std::min(last_line, static_cast<int>(text.lines.size()));
    for (int copy = 0; copy < copies; ++copy) {
        if (first_line > last_line && !start_page(1)) return result;  // nothing to print: one empty page
        for (int n = first_line; n <= last_line; ++n) {
            const int row = (n - 1) % text.body_lines_per_page;
            // A page is started only for a line to go on it.
            if ((row == 0 || n == first_line) && !start_page((n - 1) / text.body_lines_per_page + 1)) return result;
            const console::PrintedLine& piece = text.lines[static_cast<std::size_t>(n - 1)];
            const std::string_view line = window.model().line(piece.line - 1);
            draw_cells(painter, cell.height() * (row + console::header_lines) + ascent,
                       from_bytes(line.substr(static_cast<std::size_t>(piece.first_column), static_cast<std::size_t>(piece.length))),
                       cell.width());
            if (!go_on(context)) {
                painter.end();
                return result;
            }
        }
    }
    painter.end();
    return result;
}

void print_text_window(TextWindowWidget& window) {
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<PrintChoice> choice = run_print_dialog(printer, &window, false);
    if (!choice) return;
    const PrintedText text = lay_out_text(window, printer);
    const console::LineRange lines =
        console::lines_to_print(text.body_lines_per_page, static_cast<int>(text.lines.size()), choice->pages);
    const auto box = std::make_unique<PrintingBox>(nullptr);
    window.setEnabled(false);
    const TextPrintResult result = print_text_lines(
        window, printer, lines.first, lines.last, [](void* b) { return static_cast<PrintingBox*>(b)->go_on(); },
        box.get());
    window.setEnabled(true);
    if (!result.started)
        show_box(&window, framework_caption, QStringLiteral("Cannot obtain Printer DC"), QMessageBox::Warning);
}

}  // namespace corvane::frame
