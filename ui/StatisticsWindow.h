#pragma once

#include "ui/TableTools.h"

#include <QWidget>
#include <optional>

class QAbstractItemModel;
class QGridLayout;
class QLabel;

namespace ui {

// "Statistics": the count of rows, and for resistance and voltage apart their minimum and
// maximum (with the row of each), mean and standard deviation over the cells that hold a
// number, and how many held "OL", "-OL" or "----". Over the whole table it follows the table
// as it grows; over a selection it keeps the rows it was opened with.
class StatisticsWindow final : public QWidget
{
    Q_OBJECT
public:
    StatisticsWindow(QAbstractItemModel &model, QWidget *parent = nullptr);

    // Every row (and the rows to come), or the cells of a selection.
    void setScope(const TableDescription &table, const std::optional<SelectedCells> &selection);

    int rows() const { return m_rows; }
    bool followsTable() const { return !m_selection; }
    const core::ReadingColumn &ohm() const { return m_ohm; }
    const core::ReadingColumn &volt() const { return m_volt; }
    // The text shown for a figure: "Minimum" of "Resistance", say.
    QString shown(const QString &figure, const QString &column) const;

private:
    void recount();
    void addRows(int first, int last);
    void addCell(core::ReadingColumn &column, int row, int col, int number);
    void display();

    QAbstractItemModel &m_model;
    TableDescription m_table;
    std::optional<SelectedCells> m_selection;
    int m_rows = 0;
    core::ReadingColumn m_ohm;
    core::ReadingColumn m_volt;
    QLabel *m_scope = nullptr;
    QGridLayout *m_grid = nullptr;
};

} // namespace ui
