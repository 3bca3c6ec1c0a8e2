#include "frame/frame_settings.hpp"

#include <QSettings>

namespace corvane::frame {

namespace {

const QString font_key = QStringLiteral("text/font");
const QString colour_key = QStringLiteral("text/colour");
const QString geometry_key = QStringLiteral("frame/geometry");
const QString data_folder_key = QStringLiteral("data/folder");

QSettings store() { return QSettings(settings_organisation, settings_application); }

}  // namespace

std::optional<QFont> remembered_font() {
    QFont font;
    const QString text = store().value(font_key).toString();
    if (text.isEmpty() || !font.fromString(text)) return std::nullopt;
    return font;
}

void remember_font(const QFont& font) { store().setValue(font_key, font.toString()); }

std::optional<QColor> remembered_colour() {
    const QColor colour = QColor::fromString(store().value(colour_key).toString());
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

void remember_colour(const QColor& colour) { store().setValue(colour_key, colour.name()); }

QByteArray remembered_geometry() { return store().value(geometry_key).toByteArray(); }

void remember_geometry(const QByteArray& geometry) { store().setValue(geometry_key, geometry); }

QString remembered_data_folder() { return store().value(data_folder_key).toString(); }

void remember_data_folder(const QString& folder) { store().setValue(data_folder_key, folder); }

}  // namespace corvane::frame
