#include "packs/SessionCells.h"

#include "sorting/Session.h"

#include <QDir>

namespace packs {

std::optional<SessionCells> readSessionCells(const QString &path, QString &error)
{
    QString why;
    const std::optional<sorting::SessionContent> session = sorting::readSessionFile(path, &why);
    if (!session) {
        error = QStringLiteral("\"%1\" is not a cell-sorting session: %2").arg(QDir::toNativeSeparators(path), why);
        return std::nullopt;
    }
    SessionCells out;
    out.damagedLines = session->damagedLines;
    for (const sorting::Cell &c : session->cells) {
        if (!c.accepted()) {
            ++out.rejects;
            continue;
        }
        Cell cell;
        cell.id = c.id;
        cell.mOhm = c.milliOhm;
        cell.volts = c.volts;
        cell.gradeRank = sorting::gradeIndex(session->profile, c.grade);
        out.cells.push_back(cell);
        out.grades.push_back(c.grade);
    }
    return out;
}

} // namespace packs
