#pragma once

#include "meter/LivePoll.h"
#include "panel/Recorder.h"
#include "panel/WindowRegistry.h"
#include "printing/Printing.h"
#include "ui/Printer.h"

#include <QMainWindow>

namespace ui {
class Clock;
class Dialogs;
class SerialPort;
class Shell;
class Tone;
} // namespace ui

namespace core {
struct AppState;
} // namespace core

namespace panel {

class CommandBar;
class HelpChooser;
class MeterFace;
class RealTimeChooser;
class Wiring;

// Services the main window works with; owned by main() (or a test).
struct PanelServices
{
    ui::SerialPort &comm1;
    ui::Dialogs &dialogs;
    ui::Shell &shell;
    ui::Clock &clock;
    meter::PollTimings pollTimings = {};
    int sampleTickMs = 1000; // Timer2: one tick counts as one second of the interval
    // Where the help manuals are looked for: help/ in the program's folder first (the
    // program's own folder when empty), then in the installed data folder (the one this
    // build installs to when empty).
    QString programDir = {};
    QString dataDir = {};
    // The printers; the system's when null.
    ui::PrintService *printService = nullptr;
    // Cell Sorting's capture tone (silent when null) and the folder its sessions start in
    // (the user's Documents folder when empty).
    ui::Tone *tone = nullptr;
    QString documentsFolder = {};
};

// The main window: the meter's face with the live reading, the link state, and the
// owner of the serial link and its poll.
class Panel : public QMainWindow, private RecorderHost
{
    Q_OBJECT
public:
    Panel(core::AppState &state, PanelServices services, QWidget *parent = nullptr);
    ~Panel() override;

    // Opens the port and starts the poll. On failure says so and closes the window,
    // which ends the program; returns false then.
    bool load();

    void NoDataRoutine(); // shows the lost link
    // After a block listing: "COM" and the port again, unless the link is lost.
    void restoreLinkLabel();
    meter::LivePoll &poll() { return m_poll; }
    WindowRegistry &views() { return m_views; }
    MeterFace &face() { return *m_face; }
    Recorder &recorder() { return m_recorder; }
    CommandBar &commands() { return *m_commands; }
    RealTimeChooser &realTimeChooser() { return *m_realTime; }
    HelpChooser &helpChooser() { return *m_help; }
    printing::Printing &printing() { return m_printing; }

    // Opens the manual of a language (0 English .. 6 Chinese) in the desktop's viewer.
    void openManual(int language);
    // Reads a measurement file into the File List window.
    void openFileList(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showReading(const core::Reading &r);
    void showLinkBack();
    QString portText() const;

    // RecorderHost
    void setRecLabel(const QString &text) override;
    void setCountLabel(const QString &text) override;
    void setFileNameLabel(const QString &text) override;
    void setRecShown(bool shown) override;
    void showSaveIdle() override;
    void appendListRow(const QString &row) override;
    void reportWriteFailure(const QString &path, const QString &reason) override;
    void showNotice(const QString &text) override;

    core::AppState &m_state;
    PanelServices m_services;
    meter::LivePoll m_poll;
    WindowRegistry m_views;
    Recorder m_recorder;
    ui::QtPrintService m_systemPrinters;
    std::unique_ptr<ui::Tone> m_silentTone;
    printing::Printing m_printing;

    MeterFace *m_face = nullptr;
    CommandBar *m_commands = nullptr;
    RealTimeChooser *m_realTime = nullptr;
    HelpChooser *m_help = nullptr;
    Wiring *m_wiring = nullptr;
};

} // namespace panel
