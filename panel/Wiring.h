#pragma once

#include <QObject>
#include <QString>

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
namespace ui {
class Dialogs;
}

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

    // The recorder's list step: one row for the Real Time List. False when the row could
    // not be taken (the list is not there).
    bool appendListRow(const QString &row);

private:
    void wireFiles();

    WiringContext m_ctx;
};

} // namespace panel
