#include "packs/CellTable.h"

#include "packs/Capacities.h"

#include <QRegularExpression>

#include <cmath>

namespace packs {

CellTable::CellTable(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void CellTable::setCells(std::vector<Cell> cells, std::vector<QString> grades)
{
    beginResetModel();
    m_cells = std::move(cells);
    m_grades = std::move(grades);
    m_grades.resize(m_cells.size());
    endResetModel();
}

void CellTable::capacitiesChanged()
{
    if (!m_cells.empty())
        emit dataChanged(index(0, Capacity), index(rowCount() - 1, Capacity));
    emit edited();
}

void CellTable::tickBest(int count)
{
    for (Cell &c : m_cells)
        c.ticked = true;
    const std::vector<int> chosen = chooseCells(m_cells, count);
    for (Cell &c : m_cells)
        c.ticked = false;
    for (int k : chosen)
        m_cells[k].ticked = true;
    if (!m_cells.empty())
        emit dataChanged(index(0, Use), index(rowCount() - 1, Use));
}

int CellTable::pasteCapacities(int row, const QString &text)
{
    int unreadable = 0;
    const QStringList lines = text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    int last = row;
    for (int k = 0; k < lines.size() && row + k < rowCount(); ++k) {
        // a trailing line end gives one empty line more: not a capacity left out
        if (k == lines.size() - 1 && lines[k].isEmpty())
            break;
        // a row copied from a spreadsheet: its first field is the capacity
        const std::optional<double> mAh = capacityOfText(lines[k].section(QLatin1Char('\t'), 0, 0));
        if (!mAh) {
            ++unreadable;
            continue;
        }
        m_cells[row + k].capacity = *mAh;
        last = row + k;
    }
    if (row < rowCount())
        emit dataChanged(index(row, Capacity), index(last, Capacity));
    emit edited();
    return unreadable;
}

int CellTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_cells.size());
}

int CellTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CellTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const Cell &c = m_cells[index.row()];
    if (role == Qt::CheckStateRole && index.column() == Use)
        return c.ticked ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::TextAlignmentRole && index.column() >= MOhm && index.column() != Grade)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    switch (index.column()) {
    case Id: return c.id;
    case MOhm: return QString::number(c.mOhm, 'f', c.mOhm < 100 ? 2 : 1);
    case Volts: return QString::number(c.volts, 'f', 3);
    case Grade: return m_grades[index.row()];
    case Capacity:
        if (!c.capacity)
            return QString();
        return *c.capacity == std::round(*c.capacity) ? QString::number(*c.capacity, 'f', 0)
                                                      : QString::number(*c.capacity, 'f', 1);
    default: return {};
    }
}

bool CellTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    Cell &c = m_cells[index.row()];
    if (index.column() == Use && role == Qt::CheckStateRole) {
        c.ticked = value.toInt() == Qt::Checked;
    } else if (index.column() == Capacity && role == Qt::EditRole) {
        const QString text = value.toString().trimmed();
        const std::optional<double> mAh = capacityOfText(text);
        if (!text.isEmpty() && !mAh)
            return false; // the editor keeps the old value; the window says why
        c.capacity = mAh;
    } else {
        return false;
    }
    emit dataChanged(index, index);
    emit edited();
    return true;
}

QVariant CellTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    static const char *const titles[] = {"Use", "Cell", "mOhm", "Voltage", "Grade", "Capacity (mAh)"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section]) : QVariant();
}

Qt::ItemFlags CellTable::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == Use)
        f |= Qt::ItemIsUserCheckable;
    if (index.column() == Capacity)
        f |= Qt::ItemIsEditable;
    return f;
}

} // namespace packs
