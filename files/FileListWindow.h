#pragma once

#include "ui/ListWindow.h"

namespace core {
struct AppState;
} // namespace core

namespace ui {
class Dialogs;
} // namespace ui

namespace files {

class FileReader;

// The File List window: the content of an opened measurement file, one row per sample.
// Its caption counts the lines while a file loads and then shows the file's name.
class FileListWindow final : public ui::ListWindow
{
    Q_OBJECT
public:
    FileListWindow(core::AppState &state, ui::Dialogs &dialogs, QWidget *parent = nullptr);
    ~FileListWindow() override;

    // Cuts the grid back to its header row and reads the file into it; returns at once,
    // the rows arrive from the event loop and finished() tells the end. A file that cannot
    // be opened or read is reported in a message box naming it and the reason; rows read
    // before a failure stay. A load while another runs replaces it.
    void load(const QString &path);
    bool isLoading() const;

    // "Plot", "Print".
    void buttonClick(const QString &key) override;

signals:
    void plotRequested();
    void printRequested();
    // The load ended; ok false when the file could not be opened or read.
    void finished(bool ok);

private:
    void readerFinished(bool ok, const QString &reason);

    core::AppState &m_state;
    ui::Dialogs &m_dialogs;
    FileReader *m_reader = nullptr;
    QString m_path;
    QString m_title;
};

} // namespace files
