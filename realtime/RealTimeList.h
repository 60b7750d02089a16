#pragma once

#include "ui/ListWindow.h"

namespace core {
struct AppState;
}
namespace ui {
class Dialogs;
}

namespace realtime {

// The "Real Time List": one row per sample step of the recorder while ListOn is set,
// numbered from 1 until the window closes. Its tool bar saves the table as a measurement
// file, prints it and halts the growth.
class RealTimeList final : public ui::ListWindow
{
    Q_OBJECT
public:
    RealTimeList(core::AppState &state, ui::Dialogs &dialogs, QWidget &mainWindow, QWidget *parent = nullptr);

    // One sample step's row, TAB-separated: number, date, time, resistance, voltage.
    // The table follows its newest row.
    void appendRow(const QString &row);

    // "Save", "Print", "stop"; any other key does nothing.
    void buttonClick(const QString &key) override;

signals:
    void printRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void save();

    core::AppState &m_state;
    ui::Dialogs &m_dialogs;
    QWidget &m_mainWindow;
    bool m_scrollPending = false; // the view follows its last row once per event-loop turn
};

} // namespace realtime
