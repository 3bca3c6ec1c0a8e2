#include "frame/graphics_window.hpp"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <memory>

#include "console/frame_console.hpp"
#include "console/window_text_file.hpp"
#include "console/text_window_view.hpp"
#include "frame/child_window.hpp"
#include "frame/dialogs.hpp"
#include "frame/printing.hpp"

namespace corvane::frame {

namespace {

// Logical units per inch of the metric and English modes.
double units_per_inch(int mode) {
    switch (mode) {
        case mapping_lometric: return 254.0;
        case mapping_himetric: return 2540.0;
        case mapping_loenglish: return 100.0;
        case mapping_hienglish: return 1000.0;
        case mapping_twips: return 1440.0;
        default: return 0;
    }
}

std::string directory_part(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace

int effective_mapping_mode(int mode) { return mode >= mapping_lometric && mode <= mapping_anisotropic ? mode : mapping_text; }

QTransform mapping_transform(int mode, double dpi_x, double dpi_y) {
    const double units = units_per_inch(effective_mapping_mode(mode));
    if (units == 0) return {};
    return QTransform::fromScale(dpi_x / units, -dpi_y / units);
}

void draw_graphics(const GraphicsState& state, QPainter& painter, const QPaintDevice& device) {
    if (!state.draw_routine) return;
    painter.setWorldTransform(mapping_transform(state.mapping_mode, device.logicalDpiX(), device.logicalDpiY()));
    state.draw_routine(painter);
}

console::BitmapCapture capture_bitmap(QWidget& widget) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    console::BitmapCapture capture;
    capture.width = image.width();
    capture.height = image.height();
    capture.planes = 1;
    capture.bits_per_pixel = 32;
    capture.rows.reserve(std::size_t(image.width()) * image.height() * 4);
    for (int y = image.height() - 1; y >= 0; --y) {  // bottom-up
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            capture.rows.push_back(static_cast<std::uint8_t>(qBlue(line[x])));
            capture.rows.push_back(static_cast<std::uint8_t>(qGreen(line[x])));
            capture.rows.push_back(static_cast<std::uint8_t>(qRed(line[x])));
            capture.rows.push_back(0);
        }
    }
    return capture;
}

GraphicsWidget::GraphicsWidget(GraphicsState& graphics, CommandStateCallback command_state)
    : graphics_(graphics), command_state_(std::move(command_state)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

QString GraphicsWidget::title() const { return parentWidget() ? parentWidget()->windowTitle() : QString(); }

void GraphicsWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    draw_graphics(graphics_, painter, *this);
}

bool GraphicsWidget::run_bitmap_dialog() {
    const std::string default_name = directory_part(graphics_.bitmap_path) + to_path(title());
    const std::optional<QString> chosen =
        run_file_dialog({.filters = {QStringLiteral("BitMap Files (*.bmp)"), QStringLiteral("All Files (*.*)")},
                         .default_suffix = QStringLiteral("bmp"),
                         .initial_name = QFile::decodeName(QByteArray::fromStdString(default_name))});
    if (!chosen) return false;
    graphics_.bitmap_path = to_path(*chosen);
    graphics_.bitmap_saved = true;
    if (parentWidget()) parentWidget()->setWindowTitle(QFileInfo(*chosen).fileName());
    return true;
}

// A bitmap that cannot be written is reported in the framework's system-error box; the
// program goes on, so that the transcript and the picture are not lost with it.
void GraphicsWidget::save_bitmap(const std::string& path) {
    repaint();
    if (const std::optional<console::BitmapFailure> failure = console::write_bitmap_file(path, capture_bitmap(*this))) {
        show_box(this, QStringLiteral("System Error"), from_bytes(console::fatal_error_text(failure->step)),
                 QMessageBox::Critical);
    }
}

void GraphicsWidget::command(int id) {
    switch (id) {
        case console::command_save:
            if (!graphics_.bitmap_saved && !run_bitmap_dialog()) return;
            save_bitmap(graphics_.bitmap_path);
            command_state_(console::command_save, false);
            return;
        case console::command_save_as:
            if (run_bitmap_dialog()) save_bitmap(graphics_.bitmap_path);
            command_state_(console::command_save, false);
            return;
        case console::command_print: print(); return;
        case console::command_font:
        case console::command_colour: QApplication::beep(); return;
        default: return;
    }
}

bool GraphicsWidget::may_close() {
    if (graphics_.bitmap_saved) return true;
    switch (ask_yes_no_cancel(this, from_bytes(console::save_question_text(to_bytes(title()))))) {
        case console::SaveAnswer::cancel: return false;
        case console::SaveAnswer::no: return true;
        case console::SaveAnswer::yes: break;
    }
    if (run_bitmap_dialog()) save_bitmap(graphics_.bitmap_path);
    return true;
}

void GraphicsWidget::show_command_states() {
    command_state_(console::command_save, !graphics_.bitmap_saved);
    for (int id : {console::command_cut, console::command_copy, console::command_delete}) command_state_(id, false);
}

void GraphicsWidget::print() {
    QPrinter printer(QPrinter::HighResolution);
    if (!run_print_dialog(printer, this, false)) return;
    const auto box = std::make_unique<PrintingBox>(nullptr);
    printer.setDocName(QStringLiteral("Tessel Graphic"));
    printer.setCopyCount(1);  // copies and page range are not used: one page
    QPainter painter;
    if (!painter.begin(&printer)) return;
    draw_graphics(graphics_, painter, printer);
    painter.end();
}

}  // namespace corvane::frame
