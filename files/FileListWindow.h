#pragma once

#include <QWidget>

class QToolBar;

namespace meter {
struct AppState;
}

namespace ui {
class Dialogs;
class GridModel;
class GridView;
} // namespace ui

namespace files {

class FileReader;

// The File List window: the content of an opened measurement file, one row per sample.
// Its caption counts the lines while a file loads and then shows the file's name.
class FileListWindow final : public QWidget
{
    Q_OBJECT
public:
    FileListWindow(meter::AppState &state, ui::Dialogs &dialogs, QWidget *parent = nullptr);
    ~FileListWindow() override;

    // Left edge at the main window's right edge, top edges level.
    void placeBeside(const QWidget &mainWindow);

    // Cuts the grid back to its header row and reads the file into it; returns at once,
    // the rows arrive from the event loop and finished() tells the end. A file that cannot
    // be opened or read is reported in a message box naming it and the reason; rows read
    // before a failure stay. A load while another runs replaces it.
    void load(const QString &path);
    bool isLoading() const;

    ui::GridModel &grid() { return *m_grid; }
    ui::GridView &gridView() { return *m_view; }

    // The tool bar's click, dispatched on the button's key exactly: "Plot", "Print".
    void buttonClick(const QString &key);

signals:
    void plotRequested();
    void printRequested();
    // The load ended; ok false when the file could not be opened or read.
    void finished(bool ok);

private:
    void readerFinished(bool ok, const QString &reason);

    meter::AppState &m_state;
    ui::Dialogs &m_dialogs;
    ui::GridModel *m_grid = nullptr;
    ui::GridView *m_view = nullptr;
    QToolBar *m_toolbar = nullptr;
    FileReader *m_reader = nullptr;
    QString m_path;
    QString m_title;
};

} // namespace files
