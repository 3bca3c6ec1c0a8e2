// What the map and the series plots share: a picture painted by a routine at any size, saved
// as PNG or SVG, or printed fitted to the page, and the save dialog that offers the formats.
#pragma once

#include <QRectF>
#include <QSize>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QPainter;
class QWidget;

namespace corvane::frame {

using PaintRoutine = std::function<void(QPainter&, const QRectF&)>;

// False when the file could not be written.
bool save_png(const QString& path, QSize size, const PaintRoutine& paint);
bool save_svg(const QString& path, QSize size, const QString& title, const PaintRoutine& paint);

// The print dialog, then one page with the picture as wide as the page's printable area and
// as high as `shape`'s proportions allow (all of the page at most).
void print_fitted(QWidget* owner, const QString& document, QSize shape, const PaintRoutine& paint);

// A save dialog offering `filters` ("PNG Image (*.png)", ...) for `initial_name`; the path
// chosen, or nothing.
std::optional<QString> choose_picture_file(const QStringList& filters, const QString& initial_name);

// The lower-case suffix of a path ("png", "svg", ...).
QString file_kind(const QString& path);

// The standard box for a file that could not be written.
void say_not_written(QWidget* owner, const QString& path);

}  // namespace corvane::frame
