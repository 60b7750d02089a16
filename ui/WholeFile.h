#pragma once

#include <QByteArray>
#include <QString>

namespace ui {

// Writes bytes to path through a temporary file and a rename: a failed save leaves an
// earlier file as it was. On failure *error names the reason. Exports and small files
// (CSV, profiles) are saved here.
bool saveWholeFile(const QString &path, const QByteArray &bytes, QString *error);

} // namespace ui
