#include "sorting/Station.h"

#include <QFile>
#include <QFileInfo>

namespace sorting {

Station::Station(QString documentsFolder, Profile profile)
    : m_documents(std::move(documentsFolder))
    , m_profile(std::move(profile))
{
}

Station::Captured Station::capture(const Measurement &m, const QDateTime &when, bool manual, const QString &typedId)
{
    Captured out;
    Cell &c = out.cell;
    const QString typed = typedId.trimmed();
    c.id = typed.isEmpty() ? nextAutomaticId() : typed;
    // To the second, as the file keeps it: a reopened session shows what was shown.
    c.when = when.addMSecs(-when.time().msec());
    c.milliOhm = m.milliOhm;
    c.ohmText = m.ohmText;
    c.ohmRange = m.ohmRange;
    c.volts = m.volts;
    c.voltText = m.voltText;
    c.grade = gradeOf(m_profile, m.milliOhm, m.volts);
    c.manual = manual;

    if (!m_file.isOpen()) {
        QString path = m_pendingPath;
        if (path.isEmpty()) {
            // Named by its start; a second session started in the same second gets a number.
            path = defaultSessionPath(m_documents, c.when);
            const QString stem = path.chopped(4);
            for (int n = 2; QFile::exists(path); ++n)
                path = stem + QStringLiteral(" (%1).tsv").arg(n);
        }
        if (!m_file.rewrite(path, m_profile, m_cells, &out.error))
            return out;
        m_pendingPath.clear();
    }
    if (!m_file.append(c, &out.error))
        return out;
    if (!typed.isEmpty())
        for (const Cell &earlier : std::as_const(m_cells))
            if (earlier.id == c.id) {
                out.sameId = earlier;
                break;
            }
    m_cells.append(c);
    m_stats.add(c);
    out.ok = true;
    return out;
}

bool Station::undo(QString *error)
{
    if (m_cells.isEmpty())
        return false;
    QList<Cell> fewer = m_cells;
    fewer.removeLast();
    if (m_file.isOpen() && !m_file.rewrite(m_file.path(), m_profile, fewer, error))
        return false;
    m_cells = std::move(fewer);
    m_stats.recompute(m_cells);
    return true;
}

bool Station::setProfile(const Profile &profile, QString *error)
{
    QList<Cell> regraded = m_cells;
    for (Cell &c : regraded)
        c.grade = gradeOf(profile, c.milliOhm, c.volts);
    if (m_file.isOpen() && !m_file.rewrite(m_file.path(), profile, regraded, error))
        return false;
    m_profile = profile;
    m_cells = std::move(regraded);
    m_stats.recompute(m_cells);
    return true;
}

std::optional<int> Station::open(const QString &path, QString *error)
{
    auto content = readSessionFile(path, error);
    if (!content)
        return std::nullopt;
    // Damaged lines are dropped from the file too: it is rewritten from what could be read,
    // so that every later append lands after a whole line. A whole file is continued as it is.
    const QString previous = m_file.isOpen() ? m_file.path() : QString();
    const bool whole = content->damagedLines == 0 && content->endsWithLine;
    if (whole ? !m_file.reopen(path, error) : !m_file.rewrite(path, content->profile, content->cells, error)) {
        QString ignored;
        if (!previous.isEmpty())
            m_file.rewrite(previous, m_profile, m_cells, &ignored);
        return std::nullopt;
    }
    m_profile = content->profile;
    m_cells = std::move(content->cells);
    m_stats.recompute(m_cells);
    m_pendingPath.clear();
    return content->damagedLines;
}

bool Station::saveAs(const QString &path, QString *error)
{
    if (!m_file.isOpen()) {
        m_pendingPath = path;
        return true;
    }
    const QString old = m_file.path();
    if (QFileInfo(old).absoluteFilePath() == QFileInfo(path).absoluteFilePath())
        return true;
    if (!m_file.rewrite(path, m_profile, m_cells, error)) {
        // The session carries on in its old file.
        QString ignored;
        m_file.rewrite(old, m_profile, m_cells, &ignored);
        return false;
    }
    QFile::remove(old);
    return true;
}

} // namespace sorting
