#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace core {
struct AppState;
}
namespace meter {
class LivePoll;
}
namespace printing {
class Printing;
}
namespace logger {
class MemoryWindow;
}
namespace ui {
class Clock;
class Dialogs;
class GridModel;
class SerialPort;
class Tone;
} // namespace ui

namespace panel {

class WindowRegistry;

// What the secondary windows are made from and connected to; all of it outlives them.
struct WiringContext
{
    core::AppState &state;
    ui::Dialogs &dialogs;
    WindowRegistry &views;
    printing::Printing &printing;
    meter::LivePoll &poll;
    QWidget &mainWindow;
    // The meter link, for the logger download; the clock for the listing's default start.
    ui::SerialPort &comm1;
    ui::Clock &clock;
    // Shows the link as back ("COM" and the port) after a block listing.
    std::function<void()> restoreLinkLabel;
    // Cell Sorting's capture tone and the folder its sessions start in.
    ui::Tone &tone;
    QString documentsFolder;
};

// The one place that creates the secondary windows by role and connects their buttons to
// the rest of the program. The main window owns it; each group of windows has its own
// wire function.
class Wiring final : public QObject
{
    Q_OBJECT
public:
    Wiring(WiringContext context, QObject *parent = nullptr);

    // Reads a measurement file into a fresh File List beside the main window.
    void openFileList(const QString &path);

    // The recorder's list step: one row for the Real Time List.
    void appendListRow(const QString &row);

    // The Plot button of a list: the plot settings for its rows and ranges, and a fresh
    // plot window. fromLogger tells the Data List from the File List.
    void plotList(const ui::GridModel &grid, bool fromLogger, const QString &ohmRangeText,
                  const QString &voltRangeText);

    // The command bar's "Data Logger": a fresh Data Logger window and the download into it.
    void startDownload();

    // The command bar's "Cell Sorting": the one window, right of the main window.
    void openSorting();
    // "Build Packs..." in Cell Sorting: the Pack Builder with the session's accepted cells.
    void openPackBuilder(const QString &session);

private:
    void wireSorting();
    void wireFiles();
    void wireList();
    void wirePlot();
    void wireGraphs();
    // The Real Time Range window's OK: checks the entry, then both graphs start afresh with it.
    void graphRangeOk();
    void wireLogger();
    // A click on a block row: its start time asked, its records dated into a fresh Data List.
    void listBlock(logger::MemoryWindow &memory, int row);
    void fillDataList(logger::MemoryWindow &memory, int row);
    // Closes the plot window and opens a fresh one with the grid drawn into it; a grid
    // that cannot be drawn leaves it closed and says why.
    void openPlot(const ui::GridModel *grid);
    void rangeOk();

    WiringContext m_ctx;
};

} // namespace panel
