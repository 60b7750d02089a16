#include "panel/Startup.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/PortNames.h"
#include "ui/QtSerialPort.h"
#include "ui/Shell.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvel"));

    ui::QtSerialPort comm1;
    ui::QtSerialPort probe;
    ui::QtPortEnumerator ports;
    ui::QtDialogs dialogs;
    ui::QtShell shell;
    ui::SystemClock clock;
    return panel::RunDorvel(QApplication::arguments(), {comm1, probe, ports, dialogs, shell, clock});
}
