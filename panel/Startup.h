#pragma once

#include <QStringList>

namespace ui {
class Clock;
class Dialogs;
class PortEnumerator;
class SerialPort;
class Shell;
} // namespace ui

namespace panel {

// What the program runs on; main() hands in the real ones, a test its doubles.
struct StartServices
{
    ui::SerialPort &comm1;
    ui::SerialPort &probe; // AutoScan's
    ui::PortEnumerator &ports;
    ui::Dialogs &dialogs;
    ui::Shell &shell;
    ui::Clock &clock;
};

// The Port window first, then the main window on the chosen port, until the main window
// closes. Returns the program's exit status: 1 when the chosen port could not be opened.
// arguments are the program's, its own name first.
int RunDorvel(const QStringList &arguments, StartServices services);

} // namespace panel
