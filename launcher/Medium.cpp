#include "launcher/Medium.h"

#include <QDir>
#include <QFileInfo>

namespace launcher {

Medium::Medium(const QString &folder)
    : m_folder(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'))
{
}

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

bool holdsAnyFile(const QString &folder)
{
    return !QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty();
}

QStringList listManuals(const QString &helpFolder)
{
    // No QDir::CaseSensitive: "MANUAL.PDF" is a manual too.
    return QDir(helpFolder)
        .entryList({QStringLiteral("*.pdf")}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
}

QString manualCaption(const QString &fileName)
{
    const qsizetype at = fileName.indexOf(QLatin1String(".pdf"), 0, Qt::CaseSensitive);
    return at < 0 ? fileName : fileName.left(at);
}

} // namespace launcher
