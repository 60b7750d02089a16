#pragma once

#include "packs/Matching.h"

#include <QAbstractTableModel>

#include <vector>

namespace packs {

// The cells a pack may be built from, as the Pack Builder lists them: a box to leave a cell
// out, its values, and its capacity, which the user types or pastes.
class CellTable final : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Use, Id, MOhm, Volts, Grade, Capacity, ColumnCount };

    explicit CellTable(QObject *parent = nullptr);

    void setCells(std::vector<Cell> cells, std::vector<QString> grades);
    const std::vector<Cell> &cells() const { return m_cells; }
    std::vector<Cell> &cells() { return m_cells; }
    // Tells the views that capacities changed behind them (after an import).
    void capacitiesChanged();
    // Ticks the cells a pack of `count` uses by default and unticks the rest.
    void tickBest(int count);

    // Capacities pasted from a spreadsheet column, one a line, from `row` down. Gives the
    // number of lines that held no capacity (left as they were).
    int pasteCapacities(int row, const QString &text);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

signals:
    // A tick or a capacity changed: a built plan no longer shows these cells.
    void edited();

private:
    std::vector<Cell> m_cells;
    std::vector<QString> m_grades;
};

} // namespace packs
