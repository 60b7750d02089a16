#pragma once

#include "sorting/Profile.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <optional>

namespace sorting {

// One captured cell, as the table shows it and the session file keeps it.
struct Cell
{
    QString id;          // "C0001", or what the user or a scanner typed
    QDateTime when;      // local time of the capture, to the second
    double milliOhm = 0; // the resistance whatever range it was read in
    QString ohmText;     // the display text, "1.500"
    QString ohmRange;    // its range, "4Ohm"
    double volts = 0;
    QString voltText;    // "3.702"
    QString grade;       // a grade's name, "Reject R" or "Reject V"
    bool manual = false; // taken with Space, not by the steadiness detector
    bool accepted() const { return !isReject(grade); }
    bool operator==(const Cell &) const = default;
};

// The session file: TAB-separated UTF-8 text with CR LF line ends, which a spreadsheet opens
// as it is. Its first line names the format, the profile lines follow, then the column names,
// then one line per cell:
//   Dorvel cell sorting session<TAB>1
//   Name<TAB>Li-ion 18650 (used)
//   Grade<TAB>A<TAB>50            (one to four)
//   Voltage<TAB>2.5<TAB>4.25
//   Cell  Date  Time  mOhm  Voltage  Grade  Capture  Display  Range
//   C0001  2024/03/05  14:07:11  25.19  3.702  A  auto  25.19  40mOhm
QByteArray sessionHead(const Profile &profile);
QByteArray cellLine(const Cell &cell);
QByteArray sessionText(const Profile &profile, const QList<Cell> &cells);

struct SessionContent
{
    Profile profile;
    QList<Cell> cells;
    int damagedLines = 0;     // cell lines that could not be read, skipped
    bool endsWithLine = true; // the last line is complete: appends may follow as it is
};

// Reads a session. nullopt when the bytes are not a session at all (*error says why); a
// damaged cell line is skipped and counted instead.
std::optional<SessionContent> readSession(const QByteArray &bytes, QString *error);
// The same for a file; *error names what is wrong, without the file's name.
std::optional<SessionContent> readSessionFile(const QString &path, QString *error);

// The automatic name of the next cell: the prefix and four digits, one above the highest
// such number in the session ("C0001" for an empty one).
QString nextAutomaticId(const QList<Cell> &cells, const QString &prefix);

// The default file of a new session: "<Documents>/Dorvel sessions/2024-03-05 14-07-11.tsv".
QString defaultSessionPath(const QString &documentsFolder, const QDateTime &start);

// The file of a running session. An appended cell is flushed and synced to the disk before
// append() returns, so a killed program or a pulled plug loses no cell already shown; a
// rewrite (undo, regrading, save as) replaces the whole file atomically.
class SessionFile
{
public:
    SessionFile() = default;
    SessionFile(const SessionFile &) = delete;
    SessionFile &operator=(const SessionFile &) = delete;

    // Writes the whole session to path (creating its folder) and keeps it open for appends.
    bool rewrite(const QString &path, const Profile &profile, const QList<Cell> &cells, QString *error);
    bool append(const Cell &cell, QString *error);
    // Continues an existing, whole session file as it stands.
    bool reopen(const QString &path, QString *error);
    void close() { m_file.close(); }
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_path; }

private:
    QFile m_file;
    QString m_path;
};

} // namespace sorting
