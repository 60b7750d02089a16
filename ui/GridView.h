#pragma once

#include <QTableView>

namespace ui {

class GridModel;

// The table every list window shows its GridModel in, worked in grid coordinates: row 0 is
// the fixed header row (drawn as the column header), column 0 the fixed first column
// (drawn in header style), data from row 1.
class GridView final : public QTableView
{
    Q_OBJECT
public:
    explicit GridView(GridModel &grid, QWidget *parent = nullptr);

    GridModel &grid() const { return m_grid; }

    // Width of the sizing text in this view's font, plus the cell's text margins.
    void setColumnWidthFromText(int col, const QString &sizingText);

    // The first data row scrolled into view; clamped to the data rows.
    void setTopRow(int row);
    int topRow() const;

    // The current cell, 1 and 1 until set or clicked. Setting a data row selects it;
    // rows and columns are clamped to the grid.
    void setCurrentRow(int row);
    void setCurrentCol(int col);
    int currentRow() const;
    int currentCol() const;

signals:
    // A click on a cell, or on the header row (row 0).
    void cellClicked(int row, int col);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void selectCurrent();

    GridModel &m_grid;
    int m_row = 1;
    int m_col = 1;
};

} // namespace ui
