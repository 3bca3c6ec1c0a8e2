// What the desktop program remembers between starts: the frame's geometry, the text
// windows' font and chosen colour, and the last data folder. They are kept with QSettings
// under the names below, in the user's configuration folder (XDG_CONFIG_HOME on Linux), so
// that a test can point them at a folder of its own.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QString>
#include <optional>

namespace corvane::frame {

inline const QString settings_organisation = QStringLiteral("Corvane");
inline const QString settings_application = QStringLiteral("corvane");

std::optional<QFont> remembered_font();
void remember_font(const QFont& font);

std::optional<QColor> remembered_colour();
void remember_colour(const QColor& colour);

QByteArray remembered_geometry();  // empty when none was kept
void remember_geometry(const QByteArray& geometry);

QString remembered_data_folder();  // empty when none was kept
void remember_data_folder(const QString& folder);

}  // namespace corvane::frame
