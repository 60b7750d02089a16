#pragma once

#include "ui/PortNames.h"

#include <QStringList>
#include <optional>

namespace ui {
class Clock;
class Dialogs;
class PortEnumerator;
class SerialPort;
class Shell;
class Tone;
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
    ui::Tone *tone = nullptr; // the capture tone; silent when null
};

// What the command line asks for: `dorvel [DEVICE]`, --help, --version.
struct CommandLine
{
    QString device;             // pre-fills the port field; empty leaves the first list entry
    std::optional<int> exitNow; // set for --help, --version and a bad command line
    QString output;             // for standard output
    QString errors;             // for standard error
};
// With no DEVICE given, a single USB or modem-class adapter present is taken for the meter's
// (the ports are listed only then).
CommandLine parseCommandLine(const QStringList &arguments, const QString &version, const ui::PortEnumerator &present);

// --help and --version answered before the window system is asked for, so that they work
// in a terminal without a display. Returns the exit status when the program is to end. A
// line this cannot read is left to the full start, where Qt has taken out its own options
// (-platform, -style, ...).
std::optional<int> answerWithoutWindows(const QStringList &arguments, const QString &version);

// The Port window first, then the main window on the chosen port, until the main window
// closes. Returns the program's exit status: 1 when the chosen port could not be opened.
// arguments are the program's, its own name first.
int RunDorvel(const QStringList &arguments, StartServices services);

} // namespace panel
