#pragma once

#include "sorting/Session.h"

#include <QAbstractTableModel>
#include <QColor>

namespace sorting {

// One colour per grade, told apart by colour-blind eyes too (the grade's text says it
// anyway): bluish green, sky blue, yellow, orange; both rejects red.
QColor gradeColour(int gradeIndex);
// Black or white, whichever reads better on the colour.
QColor textColourOn(const QColor &background);

// The cells of the session as the table shows them: "Cell", "Date", "Time", "mOhm",
// "Voltage", "Grade", "Capture". Reads the station's list; told of each change.
class CellTable final : public QAbstractTableModel
{
    Q_OBJECT
public:
    CellTable(const QList<Cell> &cells, const Profile &profile, QObject *parent = nullptr);

    static QStringList titles();
    // The text of a cell of the table, as shown (and exported).
    static QString text(const Cell &cell, int column);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The list gained its last row.
    void appended();
    // The list changed as a whole (undo, regrading, a session opened).
    void reload();

private:
    const QList<Cell> &m_cells;
    const Profile &m_profile;
    int m_rows = 0;
};

} // namespace sorting
