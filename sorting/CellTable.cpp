#include "sorting/CellTable.h"

namespace sorting {

namespace {
enum Column { ColCell, ColDate, ColTime, ColOhm, ColVolt, ColGrade, ColCapture, Columns };
}

QColor gradeColour(int gradeIndex)
{
    switch (gradeIndex) {
    case 0: return QColor(0, 158, 115);
    case 1: return QColor(86, 180, 233);
    case 2: return QColor(240, 228, 66);
    case 3: return QColor(230, 159, 0);
    default: return QColor(214, 39, 40);
    }
}

QColor textColourOn(const QColor &background)
{
    return background.lightness() > 140 ? QColor(Qt::black) : QColor(Qt::white);
}

CellTable::CellTable(const QList<Cell> &cells, const Profile &profile, QObject *parent)
    : QAbstractTableModel(parent)
    , m_cells(cells)
    , m_profile(profile)
    , m_rows(int(cells.size()))
{
}

QStringList CellTable::titles()
{
    return {QStringLiteral("Cell"),    QStringLiteral("Date"),  QStringLiteral("Time"),   QStringLiteral("mOhm"),
            QStringLiteral("Voltage"), QStringLiteral("Grade"), QStringLiteral("Capture")};
}

QString CellTable::text(const Cell &c, int column)
{
    switch (column) {
    case ColCell: return c.id;
    case ColDate: return c.when.toString(QStringLiteral("yyyy/MM/dd"));
    case ColTime: return c.when.toString(QStringLiteral("HH:mm:ss"));
    case ColOhm: return numberText(c.milliOhm);
    case ColVolt: return c.voltText;
    case ColGrade: return c.grade;
    case ColCapture: return c.manual ? QStringLiteral("manual") : QStringLiteral("auto");
    default: return {};
    }
}

int CellTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int CellTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant CellTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_cells.size())
        return {};
    const Cell &c = m_cells[index.row()];
    switch (role) {
    case Qt::DisplayRole: return text(c, index.column());
    case Qt::TextAlignmentRole:
        if (index.column() == ColOhm || index.column() == ColVolt)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return index.column() == ColGrade ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (index.column() == ColGrade)
            return gradeColour(gradeIndex(m_profile, c.grade));
        return {};
    case Qt::ForegroundRole:
        if (index.column() == ColGrade)
            return textColourOn(gradeColour(gradeIndex(m_profile, c.grade)));
        return {};
    default: return {};
    }
}

QVariant CellTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return titles().value(section);
}

void CellTable::appended()
{
    beginInsertRows({}, m_rows, m_rows);
    m_rows = int(m_cells.size());
    endInsertRows();
}

void CellTable::reload()
{
    beginResetModel();
    m_rows = int(m_cells.size());
    endResetModel();
}

} // namespace sorting
