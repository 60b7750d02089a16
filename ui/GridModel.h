#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

namespace ui {

// Where a cell's text lies in its row's string.
struct GridSpan
{
    uint32_t start = 0;
    uint32_t length = 0;
};

// A grid's texts as they were at one moment, for a reader that outlives the window (the
// plot of a list that is closed afterwards). Copying a grid this way shares its row strings.
class GridSnapshot
{
public:
    // Including the header row, as GridModel counts.
    int rows() const { return static_cast<int>(m_rows.size()); }
    int cols() const { return m_cols; }
    // Empty outside the grid.
    QStringView cell(int row, int col) const
    {
        if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
            return {};
        const GridSpan s = m_spans[static_cast<size_t>(row) * m_cols + col];
        return QStringView(m_rows[static_cast<size_t>(row)]).mid(s.start, s.length);
    }

private:
    friend class GridModel;
    int m_cols = 0;
    std::vector<QString> m_rows;
    std::vector<GridSpan> m_spans;
};

// The table behind every list window, addressed the way the windows think of it: row 0 is
// the fixed header row, data rows start at 1, column 0 is the fixed first column.
//
// Views see only the data rows (view row = grid row - 1); row 0 is served as the
// horizontal header. Callers use the grid operations below and never the view indices.
//
// A row is kept as one string with the span of each cell in it, so a row appended from a
// TAB-separated line costs one shared string and a few integers: a 70,000-row file stays
// around ten megabytes, where a string per cell would take well over twice that.
class GridModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(int cols = 2, QObject *parent = nullptr);

    // Including the header row, so never below 1.
    int rows() const { return static_cast<int>(m_rows.size()); }
    int cols() const { return m_cols; }
    // Cuts back or grows; new rows and columns are empty. The header row always stays.
    void setRows(int rows);
    void setCols(int cols);
    void clearToHeader() { setRows(1); }

    // Empty outside the grid.
    QString text(int row, int col) const { return cell(row, col).toString(); }
    // Valid until the row is changed; for readers that go over every cell.
    QStringView cell(int row, int col) const;
    // Ignored outside the grid. A TAB here is part of the cell's text.
    void setText(int row, int col, const QString &text);
    // Sets the cells of row 0 from column 0 on.
    void setHeader(const QStringList &titles);

    // Appends a row from a TAB-separated text: each TAB ends a cell, fields beyond the last
    // column are dropped, so a trailing TAB shows nothing. Amortised O(1) per row.
    void addRow(const QString &tabSeparated);
    // The same for many rows at once, announced to the views as one insertion.
    void addRows(const QList<QString> &tabSeparated);
    // Room for this many rows in all, so that a long file does not copy the grid each time
    // it outgrows its storage.
    void reserveRows(qsizetype rows);
    // Gives back the room kept for further rows, once a grid is known to be complete.
    void squeeze();
    GridSnapshot snapshot() const;

    // QAbstractTableModel, in view coordinates (data rows only).
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    using Span = GridSpan;

    void appendSplit(const QString &line);
    Span *spansOf(int row) { return m_spans.data() + static_cast<size_t>(row) * m_cols; }
    const Span *spansOf(int row) const { return m_spans.data() + static_cast<size_t>(row) * m_cols; }

    int m_cols = 0;
    std::vector<QString> m_rows;
    // m_cols spans per row, row after row.
    std::vector<Span> m_spans;
};

} // namespace ui
