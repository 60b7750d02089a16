#pragma once

#include "sorting/Session.h"
#include "sorting/Statistics.h"
#include "sorting/Steadiness.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace sorting {

// The sorting session behind the window: the profile, the captured cells with their
// statistics, and the session file that follows every change. No widgets: the window shows
// what this holds and hands it the user's commands.
class Station
{
public:
    explicit Station(QString documentsFolder, Profile profile = builtinProfiles().first());

    const Profile &profile() const { return m_profile; }
    const QList<Cell> &cells() const { return m_cells; }
    const SessionStats &stats() const { return m_stats; }
    // The session file; empty until the first capture (or a Save As before it).
    QString path() const { return m_file.isOpen() ? m_file.path() : m_pendingPath; }
    QString idPrefix() const { return m_prefix; }
    void setIdPrefix(const QString &prefix) { m_prefix = prefix; }
    QString nextAutomaticId() const { return sorting::nextAutomaticId(m_cells, m_prefix); }

    struct Captured
    {
        bool ok = false;
        QString error; // why the cell could not be kept (the file refused it)
        Cell cell;
        std::optional<Cell> sameId; // the first cell measured under the same ID
    };
    // Grades the measurement and appends it: to the file first (synced), then to the list.
    // An empty typed ID takes the next automatic one. The session file starts here when
    // there is none yet.
    Captured capture(const Measurement &m, const QDateTime &when, bool manual, const QString &typedId);
    // Removes the last cell from the list, the statistics and the file.
    bool undo(QString *error);
    // Takes a new profile and regrades every cell; the file is rewritten to follow.
    bool setProfile(const Profile &profile, QString *error);
    // Continues a saved session: its profile and cells, appending to its file. Returns the
    // number of damaged lines that were skipped, nullopt when it is no session.
    std::optional<int> open(const QString &path, QString *error);
    // Moves the session to path (before the first capture: the session will start there).
    bool saveAs(const QString &path, QString *error);

private:
    QString m_documents;
    Profile m_profile;
    QList<Cell> m_cells;
    SessionStats m_stats;
    SessionFile m_file;
    QString m_pendingPath;
    QString m_prefix = QStringLiteral("C");
};

} // namespace sorting
