#pragma once

#include "core/Csv.h"
#include "core/Statistics.h"
#include "ui/ListColumns.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QAction;
class QTableView;

namespace ui {

class Dialogs;
class StatisticsWindow;

// The spreadsheet export every table shares: asks for the separator and decimal sign (preset
// from the system's language), then for the file, and writes what `bytes` makes of that
// choice through a temporary file. The path written; empty on cancel, or on a failure, which
// a message names.
QString exportCsvFile(QWidget *parent, Dialogs &dialogs, bool offerMarkers,
                      const std::function<QByteArray(const core::CsvOptions &)> &bytes);

// What the table tools need to know of a table beyond its model.
struct TableDescription
{
    // A cell's text, in the model's rows and columns.
    std::function<QString(int row, int col)> text;
    // The same as a view into the table's own text, where the table keeps its text so; the
    // statistics then read 70,000 rows without making a string of each cell.
    std::function<QStringView(int row, int col)> view;
    // The spreadsheet columns and the model columns each is made of (a date and a time
    // column make one date-and-time column).
    QList<core::CsvColumn> csvColumns;
    QList<QList<int>> csvSources;
    // The model columns of the readings, for the statistics; -1 where there is none.
    int ohmColumn = -1;
    int voltColumn = -1;
    QString ohmUnit = QStringLiteral("mOhm");
    // The number a row carries in the list (its first column), for "row 17" in the statistics.
    std::function<int(int row)> rowNumber;
};

// The table rows and columns a selection covers: every row with a selected cell, each with
// the columns selected in it (a bit a column).
struct SelectedCells
{
    std::vector<int> rows;        // rising
    std::vector<quint64> columns; // beside rows
    quint64 anyColumn = 0;        // every column selected somewhere
    bool wholeColumns = false;    // each selected column is selected in every row
};

// Copy, Select All, Export CSV... and Statistics... for a table view, with their keys, the
// context menu of the view, and one Statistics window. The list windows and the cell-sorting
// table all use these, so a selection copies, exports and counts the same everywhere.
class TableTools final : public QObject
{
    Q_OBJECT
public:
    using Describe = std::function<TableDescription()>;
    // A window with an export of its own leaves "Export CSV..." out of the table's menu.
    enum class Export { Offered, LeftOut };
    TableTools(QTableView &view, Dialogs &dialogs, Describe describe, Export offer = Export::Offered);
    ~TableTools() override;

    SelectedCells selection() const;
    // The selection as TAB-separated text with CR LF line ends, the column titles first when
    // whole columns (or everything) are selected. Empty with nothing selected.
    QString selectionText() const;
    void copy();
    void selectAll();
    // Asks for the separator and decimal sign, then the file: the selection, or every row.
    bool exportCsv();
    // The CSV of the selection (or every row) as exportCsv writes it.
    QByteArray csvBytes(const core::CsvOptions &options) const;
    // Opens (or brings up) the Statistics window for the selection, or every row.
    StatisticsWindow *showStatistics();
    StatisticsWindow *statisticsWindow() const;

    QAction *copyAction() const { return m_copy; }
    QAction *selectAllAction() const { return m_selectAll; }
    QAction *exportAction() const { return m_export; }
    QAction *statisticsAction() const { return m_stats; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTableView &m_view;
    Dialogs &m_dialogs;
    Describe m_describe;
    QAction *m_copy = nullptr;
    QAction *m_selectAll = nullptr;
    QAction *m_export = nullptr;
    QAction *m_stats = nullptr;
    QPointer<StatisticsWindow> m_statistics;
};

} // namespace ui
