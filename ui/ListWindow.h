#pragma once

#include "ui/ListColumns.h"
#include "ui/ToolbarIcons.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QAction;
class QToolBar;

namespace ui {

class Dialogs;

class GridModel;
class GridView;
class TableTools;

// A tool-bar button found by its key: the tip doubles as the text, so keyboard and
// screen-reader users find the button by name.
QAction *addToolButton(QToolBar &bar, const QString &key, const QString &tip, Tool picture);
// The key of the button a click came from, as addToolButton gave it.
QString toolButtonKey(const QAction *action);

// The sizing texts of the five measurement columns: number, date, time, ohm, voltage.
QStringList listSizingTexts();

// The base of the list windows (File List, Real Time List, Data List): a tool bar of keyed
// buttons over a five-column grid whose columns are as wide as their sizing texts in the
// window's font, placed to the right of the main window.
class ListWindow : public QWidget
{
    Q_OBJECT
public:
    ListWindow(const QStringList &titles, const QStringList &sizingTexts, QWidget *parent = nullptr);
    ~ListWindow() override;

    // Left edge at the main window's right edge, top edges level.
    void placeBeside(const QWidget &mainWindow);

    GridModel &grid() { return *m_grid; }
    GridView &gridView() { return *m_view; }
    QToolBar &toolBar() { return *m_toolbar; }
    // The button of a key, or nullptr.
    QAction *button(const QString &key) const;
    // Copy, Select All, Export CSV... and Statistics... of the grid; nullptr until enabled.
    TableTools *tableTools() const { return m_tools; }

    // A click on the tool bar, dispatched on the button's key exactly.
    virtual void buttonClick(const QString &key) = 0;

protected:
    QAction *addButton(const QString &key, const QString &tip, Tool picture);
    // The titles of the two range columns: what a saved file's header names.
    void setRangeHeader(const QString &ohm, const QString &volt);
    // A list cannot be saved while a recording runs; says so and gives true then.
    bool refusedWhileRecording(bool recording, Dialogs &dialogs);
    // Gives the grid its selection, copy, export and statistics. `ohmRange` tells the list's
    // resistance range as its texts name it ("40m", "40mOhm", "4 Ohm"), for the units.
    void enableTableTools(Dialogs &dialogs, std::function<QString()> ohmRange);

private:
    GridModel *m_grid = nullptr;
    GridView *m_view = nullptr;
    QToolBar *m_toolbar = nullptr;
    TableTools *m_tools = nullptr;
};

} // namespace ui
