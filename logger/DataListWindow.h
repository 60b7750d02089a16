#pragma once

#include "ui/ListWindow.h"

namespace core {
struct AppState;
}
namespace ui {
class Dialogs;
}

namespace logger {

// The "Data List": the dated readings of one logger block, one row per record. Its tool
// bar saves the list as a measurement file under the block's ranges, plots it and prints
// it. A fresh window is made for every block listed.
class DataListWindow final : public ui::ListWindow
{
    Q_OBJECT
public:
    DataListWindow(core::AppState &state, ui::Dialogs &dialogs, QWidget &mainWindow, QWidget *parent = nullptr);

    // Appends the listed records, counting them in the caption, then "Data List" again.
    void addRecords(const QList<QString> &rows);

    // "Save", "Plot", "Print"; any other key does nothing.
    void buttonClick(const QString &key) override;

signals:
    void plotRequested();
    void printRequested();

private:
    void save();

    core::AppState &m_state;
    ui::Dialogs &m_dialogs;
    QWidget &m_mainWindow;
};

} // namespace logger
