#pragma once

#include <QFile>
#include <QString>
#include <functional>

namespace files {

// The file of a running recording, written one line at a time. Each line is on the disk
// before appendLine() returns, so a crash, a pulled cable or a killed program loses no
// line that was reported as written.
class RecordFile
{
public:
    // Puts what was written through the handle on the disk; false with the reason when it
    // could not. The system's sync unless a test gives its own.
    using Sync = std::function<bool(int handle, QString *reason)>;
    static bool syncToDisk(int handle, QString *reason);

    explicit RecordFile(Sync sync = syncToDisk)
        : m_sync(std::move(sync))
    {
    }
    RecordFile(const RecordFile &) = delete;
    RecordFile &operator=(const RecordFile &) = delete;
    ~RecordFile() { close(); }

    // Creates the file, or empties an existing one. On failure *error names the reason.
    bool open(const QString &path, QString *error);
    // Writes the line and CR LF, then flushes and syncs. On failure *error names the
    // reason and the file is closed: nothing after a failed line could be trusted.
    bool appendLine(const QString &line, QString *error);
    void close();
    bool isOpen() const { return m_file.isOpen(); }

    enum class OnDisk { Present, Restored, Failed };
    // Checks that the open file still has its name on disk. A file deleted under the
    // recording is written back at its path with every line so far, read through the
    // still-open file, and the recording carries on there (Restored). Failed when that is
    // impossible (*error says why); the file is closed then.
    OnDisk ensureOnDisk(QString *error);
    QString path() const { return m_file.fileName(); }

private:
    bool fail(QString *error, const QString &reason);

    Sync m_sync;
    QFile m_file;
};

} // namespace files
