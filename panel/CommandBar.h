#pragma once

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMainWindow;
class QToolBar;

namespace ui {
class Dialogs;
}

namespace core {
struct AppState;
}
namespace meter {
class LivePoll;
} // namespace meter

namespace panel {

class HelpChooser;
class RealTimeChooser;
class Recorder;
class WindowRegistry;

struct CommandContext
{
    core::AppState &state;
    ui::Dialogs &dialogs;
    meter::LivePoll &poll;
    WindowRegistry &views;
    Recorder &recorder;
    RealTimeChooser &realTimeChooser;
    HelpChooser &helpChooser;
    // Reads a measurement file into the File List window.
    std::function<void(const QString &path)> openFileList;
    // The logger download; empty until the logger is built. It enables the poll when done.
    std::function<void()> startDownload;
    // Opens the Cell Sorting window (or brings it up).
    std::function<void()> openSorting = {};
};

// Toolbar1 of the main window: eleven buttons, dispatched on the clicked button's key.
class CommandBar : public QObject
{
    Q_OBJECT
public:
    CommandBar(QMainWindow &window, CommandContext context);

    QToolBar *toolBar() const { return m_toolBar; }
    // The button at a 1-based position.
    QAction *button(int position) const;

    // The click handler: the key compared exactly, first match runs.
    void click(const QString &key);

    // Button 1 shows whether a recording runs.
    void showSaveIdle();
    void showSaveRecording();

private:
    bool save();
    // Ctrl+S: starts a recording; while one runs only says how to stop it.
    void saveKey();
    bool open();
    void startRealTime();
    void sample();

    QMainWindow &m_window;
    CommandContext m_ctx;
    QToolBar *m_toolBar = nullptr;
    QList<QAction *> m_buttons;
    QAction *m_saveKey = nullptr;
};

// The sampling interval typed by the user: a number rounded to whole seconds (halves to
// the even neighbour) and held to 1..86400; nullopt when the text is not a number.
std::optional<int32_t> parseSampleSeconds(const QString &answer);

} // namespace panel
