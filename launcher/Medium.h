#pragma once

#include <QString>
#include <QStringList>

namespace launcher {

// The installation medium as the launcher sees it. Every file hangs off the folder of the
// program file, so the medium's folder layout is part of the program; the names are literal
// and case-sensitive on Linux.
class Medium
{
public:
    explicit Medium(const QString &folder);

    QString folder() const { return m_folder; }
    // folder + relative, e.g. "Install/setup.exe".
    QString file(const QString &relative) const { return m_folder + relative; }

    QString productImage() const { return file(QStringLiteral("picture/setup.ico")); }
    QString boardImage() const { return file(QStringLiteral("picture/backimg.jpg")); }
    QString driverImage() const { return file(QStringLiteral("picture/driver.jpg")); }
    QString protocol() const { return file(QStringLiteral("Protocol/protocol.pdf")); }
    QString helpFolder() const { return file(QStringLiteral("help/")); }
    QString driverFolder() const { return file(QStringLiteral("driver/")); }
    QString setup() const { return file(QStringLiteral("Install/setup.exe")); }

private:
    QString m_folder; // always ends in "/"
};

// A plain file (or a link to one); a folder of that name does not count as the target.
bool isFile(const QString &path);

// True when the folder holds at least one file, hidden ones included; folders inside do not count.
bool holdsAnyFile(const QString &folder);

// The manual file names in the help folder, sorted by name. "*.pdf" matches whatever the case,
// as the medium's original file system did, and hidden or read-only files count too.
QStringList listManuals(const QString &helpFolder);

// The file name up to its first lower-case ".pdf"; a name without it stays whole.
QString manualCaption(const QString &fileName);

} // namespace launcher
