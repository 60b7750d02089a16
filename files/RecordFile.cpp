#include "files/RecordFile.h"

#include "files/FileFormat.h"

#include <cerrno>
#include <cstring>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace files {

// Asks the system to put the file's data on the disk. Devices and pipes that cannot be
// synced (EINVAL, EROFS) have nothing to lose and count as synced.
bool RecordFile::syncToDisk(int handle, QString *reason)
{
#ifdef Q_OS_WIN
    if (_commit(handle) == 0)
        return true;
#elif defined(_POSIX_SYNCHRONIZED_IO) && _POSIX_SYNCHRONIZED_IO > 0
    // The data and the new length are what a reader needs; fdatasync skips the time stamps.
    if (::fdatasync(handle) == 0)
        return true;
#else
    if (::fsync(handle) == 0)
        return true;
#endif
    const int err = errno;
    if (err == EINVAL || err == EROFS)
        return true;
    *reason = QString::fromLocal8Bit(std::strerror(err));
    return false;
}

bool RecordFile::open(const QString &path, QString *error)
{
    close();
    m_file.setFileName(path);
    // Unbuffered: every write goes straight to the system, so a full disk shows at once.
    // Readable too: a file deleted under the recording is restored from its open handle.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered)) {
        if (error)
            *error = m_file.errorString();
        return false;
    }
    return true;
}

bool RecordFile::appendLine(const QString &line, QString *error)
{
    if (!m_file.isOpen())
        return fail(error, QStringLiteral("The file is not open"));
    QByteArray bytes = encodeLine(line);
    bytes.append("\r\n", 2);
    const qint64 before = m_file.size();
    // A write cut short (a disk filling up) says nothing about why; the next attempt
    // for the rest fails with the reason.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 written = m_file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = m_file.errorString();
            // A disk that fills up mid-line leaves part of it behind; a cut value such as
            // "12.3" for "12.34" would read back as a real sample, so the part goes again.
            m_file.resize(before);
            return fail(error, reason);
        }
        done += written;
    }
    if (!m_file.flush())
        return fail(error, m_file.errorString());
    QString reason;
    if (!m_sync(m_file.handle(), &reason))
        return fail(error, reason);
    return true;
}

RecordFile::OnDisk RecordFile::ensureOnDisk(QString *error)
{
#ifdef Q_OS_WIN
    // An open file cannot be deleted there.
    Q_UNUSED(error);
    return OnDisk::Present;
#else
    if (!m_file.isOpen()) {
        fail(error, QStringLiteral("The file is not open"));
        return OnDisk::Failed;
    }
    struct stat open = {};
    struct stat named = {};
    if (::fstat(m_file.handle(), &open) != 0) {
        fail(error, QString::fromLocal8Bit(std::strerror(errno)));
        return OnDisk::Failed;
    }
    const QByteArray path = QFile::encodeName(m_file.fileName());
    if (::stat(path.constData(), &named) == 0) {
        if (named.st_dev == open.st_dev && named.st_ino == open.st_ino)
            return OnDisk::Present;
        // Something else took the name; it is not ours to overwrite.
        fail(error, QStringLiteral("Another file has taken its place"));
        return OnDisk::Failed;
    }
    if (errno != ENOENT || !S_ISREG(open.st_mode)) {
        fail(error, QString::fromLocal8Bit(std::strerror(errno)));
        return OnDisk::Failed;
    }

    // Deleted: the lines so far still live behind the open handle.
    if (!m_file.seek(0)) {
        fail(error, m_file.errorString());
        return OnDisk::Failed;
    }
    const QByteArray lines = m_file.readAll();
    if (lines.size() != open.st_size) {
        fail(error, QStringLiteral("The lines written so far could not be read back"));
        return OnDisk::Failed;
    }
    const QString name = m_file.fileName();
    m_file.close();
    m_file.setFileName(name);
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = m_file.errorString();
        return OnDisk::Failed;
    }
    QString reason;
    if (m_file.write(lines) != lines.size() || !m_file.flush()) {
        fail(error, m_file.errorString());
        return OnDisk::Failed;
    }
    if (!m_sync(m_file.handle(), &reason)) {
        fail(error, reason);
        return OnDisk::Failed;
    }
    return OnDisk::Restored;
#endif
}

void RecordFile::close()
{
    if (m_file.isOpen())
        m_file.close();
}

bool RecordFile::fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    close();
    return false;
}

} // namespace files
