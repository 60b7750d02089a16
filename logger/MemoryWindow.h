#pragma once

#include "logger/MemoryDownload.h"

#include <QWidget>

class QLabel;
class QPushButton;

namespace core {
struct AppState;
}
namespace ui {
class GridModel;
class GridView;
class SerialPort;
} // namespace ui

namespace logger {

// The "Data Logger" window: what the meter's logger memory holds, one row per recording
// block in GridSet, with the free memory and the download's progress. It owns the
// download, so closing the window abandons one that still runs. MemoryOpen follows the
// window from its load to its close.
class MemoryWindow final : public QWidget
{
    Q_OBJECT
public:
    MemoryWindow(core::AppState &state, ui::SerialPort &port, meter::LivePoll &poll, DownloadTimings timings = {},
                 QWidget *parent = nullptr);
    ~MemoryWindow() override;

    // Left edge at the main window's right edge, top edges level.
    void placeBeside(const QWidget &mainWindow);

    MemoryDownload &download() { return *m_download; }
    ui::GridModel &blocks() { return *m_blocks; }
    ui::GridView &blockView() { return *m_blockView; }
    ui::GridModel &limits() { return *m_limits; }

signals:
    // A click on a row of GridSet (0 for the header row).
    void blockClicked(int row);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    core::AppState &m_state;
    MemoryDownload *m_download = nullptr;
    ui::GridModel *m_blocks = nullptr;
    ui::GridView *m_blockView = nullptr;
    ui::GridModel *m_limits = nullptr;
    QLabel *m_remain = nullptr;
    QLabel *m_message = nullptr;
};

} // namespace logger
