#include "frame/picture_files.hpp"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSvgGenerator>
#include <memory>

#include "frame/dialogs.hpp"
#include "frame/printing.hpp"

namespace corvane::frame {

bool save_png(const QString& path, QSize size, const PaintRoutine& paint) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return image.save(path, "PNG");
}

bool save_svg(const QString& path, QSize size, const QString& title, const PaintRoutine& paint) {
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    paint(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return painter.end() && QFileInfo(path).size() > 0;
}

void print_fitted(QWidget* owner, const QString& document, QSize shape, const PaintRoutine& paint) {
    QPrinter printer(QPrinter::HighResolution);
    if (!run_print_dialog(printer, owner, false)) return;
    const auto box = std::make_unique<PrintingBox>(nullptr);
    printer.setDocName(document);
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer)) return;
    const QSizeF page = printer.pageLayout().paintRectPixels(printer.resolution()).size();
    const double ratio = shape.width() > 0 ? double(shape.height()) / shape.width() : 0.5;
    paint(painter, QRectF(0, 0, page.width(), std::min(page.height(), page.width() * ratio)));
    painter.end();
}

std::optional<QString> choose_picture_file(const QStringList& filters, const QString& initial_name) {
    QStringList offered = filters;
    offered << QStringLiteral("All Files (*.*)");
    const QString first = filters.value(0);
    const QString suffix = first.mid(first.indexOf(QStringLiteral("*.")) + 2).chopped(1);
    return run_file_dialog({.filters = offered, .default_suffix = suffix, .initial_name = initial_name});
}

QString file_kind(const QString& path) { return QFileInfo(path).suffix().toLower(); }

void say_not_written(QWidget* owner, const QString& path) {
    show_box(owner, framework_caption, QStringLiteral("%1 could not be written.").arg(path), QMessageBox::Warning);
}

}  // namespace corvane::frame
