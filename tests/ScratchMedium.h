#pragma once

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

// A throw-away installation medium: the tests lay out exactly the files a case needs.
class ScratchMedium
{
public:
    QString folder() const { return m_dir.path(); }
    QString path(const QString &relative) const { return m_dir.filePath(relative); }

    void put(const QString &relative, const QByteArray &content = "x")
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QFile file(path(relative));
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }
    void putFolder(const QString &relative) { QDir().mkpath(path(relative)); }
    void remove(const QString &relative) { QFile::remove(path(relative)); }

    // A plain picture of one colour; `format` "JPG" or "ICO".
    void putPicture(const QString &relative, const QColor &colour, QSize size, const char *format)
    {
        QDir().mkpath(QFileInfo(path(relative)).absolutePath());
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        image.save(path(relative), format);
    }

    // A shell script that leaves a marker file when it runs.
    void putScript(const QString &relative, const QString &marker, bool executable = true)
    {
        put(relative, "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\n");
        QFile::Permissions p = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            p |= QFile::ExeOwner;
        QFile::setPermissions(path(relative), p);
    }

private:
    QTemporaryDir m_dir;
};

inline bool nearColour(const QColor &a, const QColor &b, int tolerance = 12)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}
