#include "panel/Startup.h"

#include "core/AppState.h"
#include "meter/PortWindow.h"
#include "panel/Panel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <memory>

namespace panel {

CommandLine parseCommandLine(const QStringList &arguments, const QString &version, const ui::PortEnumerator &present)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Shows, records and plots the readings of a battery tester on a serial port."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and ends."));
    const QCommandLineOption showVersion(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                                         QStringLiteral("Shows the version and ends."));
    parser.addOption(help);
    parser.addOption(showVersion);
    parser.addPositionalArgument(
        QStringLiteral("DEVICE"),
        QStringLiteral("The meter's port, pre-filled in the port window: a device path such as "
                       "/dev/ttyUSB0, or an entry such as \"COM  3\"."),
        QStringLiteral("[DEVICE]"));

    CommandLine line;
    const QString program = arguments.isEmpty() ? QStringLiteral("dorvel") : arguments.first();
    if (!parser.parse(arguments)) {
        line.errors = QStringLiteral("%1: %2\nTry '%1 --help'.\n").arg(program, parser.errorText());
        line.exitNow = 2;
        return line;
    }
    if (parser.isSet(help)) {
        // Without an application object the parser does not know the program's name and
        // writes a placeholder; with one, the path it was started by. The name is the
        // program's own either way.
        line.output = parser.helpText();
        const qsizetype usageEnd = line.output.indexOf(QLatin1Char('\n'));
        line.output.replace(0, usageEnd < 0 ? 0 : usageEnd, QStringLiteral("Usage: dorvel [options] [DEVICE]"));
        line.exitNow = 0;
        return line;
    }
    if (parser.isSet(showVersion)) {
        line.output = QStringLiteral("Dorvel %1\n").arg(version);
        line.exitNow = 0;
        return line;
    }
    const QStringList devices = parser.positionalArguments();
    if (devices.size() > 1) {
        line.errors = QStringLiteral("%1: one DEVICE at most\nTry '%1 --help'.\n").arg(program);
        line.exitNow = 2;
        return line;
    }
    if (!devices.isEmpty()) {
        line.device = devices.first();
    } else {
        const QList<QString> adapters = ui::usbAdapterPaths(present.ports());
        if (adapters.size() == 1)
            line.device = adapters.first();
    }
    return line;
}

namespace {

class NoPorts final : public ui::PortEnumerator
{
public:
    QList<ui::SerialPortDescription> ports() const override { return {}; }
};

} // namespace

std::optional<int> answerWithoutWindows(const QStringList &arguments, const QString &version)
{
    const NoPorts none;
    const CommandLine line = parseCommandLine(arguments, version, none);
    if (!line.exitNow || !line.errors.isEmpty())
        return std::nullopt;
    QTextStream(stdout) << line.output;
    return *line.exitNow;
}

int RunDorvel(const QStringList &arguments, StartServices services)
{
    const CommandLine line = parseCommandLine(arguments, QCoreApplication::applicationVersion(), services.ports);
    if (line.exitNow) {
        QTextStream(stdout) << line.output;
        QTextStream(stderr) << line.errors;
        return *line.exitNow;
    }

    core::AppState state;
    meter::PortWindow portWindow(state, services.probe, services.ports, services.dialogs, services.shell);
    if (!line.device.isEmpty())
        portWindow.setChoiceText(line.device);

    // The Port window's OK shows the main window before the Port window closes, so the
    // program lives on; closing the Port window otherwise, or the main window later, leaves
    // no window and ends it.
    std::unique_ptr<Panel> mainWindow;
    bool portFailed = false;
    QObject::connect(&portWindow, &meter::PortWindow::portChosen, [&] {
        mainWindow = std::make_unique<Panel>(state, PanelServices{services.comm1,
                                                                  services.dialogs,
                                                                  services.shell,
                                                                  services.clock,
                                                                  {},
                                                                  1000,
                                                                  {},
                                                                  {},
                                                                  nullptr,
                                                                  services.tone});
        mainWindow->show();
        // The failed load closed the last window and the program ends; a script or a
        // desktop launcher must not take that for success.
        portFailed = !mainWindow->load();
    });
    portWindow.show();
    const int status = QApplication::exec();
    return portFailed ? 1 : status;
}

} // namespace panel
