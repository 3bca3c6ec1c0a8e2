#include "frame/text_printing.hpp"

#include <QPainter>
#include <QPrinter>
#include <memory>

#include "console/print_layout.hpp"
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

}  // namespace

int printed_line_height(TextWindowWidget& window) {
    const QFontMetrics metrics(printer_font(window));
    return metrics.height() + std::max(0, metrics.leading());
}

TextPrintResult print_text_lines(TextWindowWidget& window, QPrinter& printer, int first_line, int last_line,
                                 bool (*go_on)(void*), void* context) {
    TextPrintResult result;
    printer.setDocName(QStringLiteral("Tessel Input/Output"));
    const int copies = printer.copyCount();
    printer.setCopyCount(1);  // each copy is printed here, page by page
    const int h = printed_line_height(window);
    result.lines_per_page =
        console::lines_per_page(printer.pageRect(QPrinter::DevicePixel).toRect().height(), printer.logicalDpiY(), h);
    QPainter painter;
    if (!painter.begin(&printer)) return result;
    result.started = true;
    painter.setFont(printer_font(window));
    painter.setPen(window.text_colour());
    const int ascent = QFontMetrics(painter.font()).ascent();
    bool first_page = true;
    auto start_page = [&] {
        if (!first_page && !printer.newPage()) return false;
        first_page = false;
        ++result.pages;
        scale_to_inches(painter, printer);
        return true;
    };
    for (int copy = 0; copy < copies; ++copy) {
        if (first_line > last_line && !start_page()) return result;  // nothing to print: one empty page
        int row = 0;
        for (int line = first_line; line <= last_line; ++line) {
            if (row == 0 && !start_page()) return result;  // a page is started only for a line to go on it
            painter.drawText(0, h * row + ascent, from_bytes(window.model().line(line - 1)));
            if (++row == result.lines_per_page) row = 0;
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
    const console::LineRange lines = console::lines_to_print(
        console::lines_per_page(printer.pageRect(QPrinter::DevicePixel).toRect().height(), printer.logicalDpiY(),
                                printed_line_height(window)),
        window.model().state().last_line(), choice->pages);
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
