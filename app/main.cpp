#include "link/AppState.h"
#include "link/PortWindow.h"
#include "panel/Panel.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/PortNames.h"
#include "ui/QtSerialPort.h"
#include "ui/Shell.h"

#include <QApplication>
#include <QStringList>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvel"));

    meter::AppState state;
    ui::QtSerialPort comm1;
    ui::QtSerialPort probe;
    ui::QtPortEnumerator ports;
    ui::QtDialogs dialogs;
    ui::QtShell shell;
    ui::SystemClock clock;

    meter::PortWindow portWindow(state, probe, ports, dialogs, shell);
    // One optional argument: a device path (or list entry) to pre-fill the port field.
    const QStringList args = QApplication::arguments();
    if (args.size() > 1)
        portWindow.setChoiceText(args.at(1));

    // The Port window's OK shows the main window before the Port window closes, so the
    // program lives on; closing the Port window otherwise, or the main window later, leaves
    // no window and ends it.
    std::unique_ptr<panel::Panel> mainWindow;
    QObject::connect(&portWindow, &meter::PortWindow::portChosen, [&] {
        mainWindow = std::make_unique<panel::Panel>(state, panel::PanelServices{comm1, dialogs, shell, clock});
        mainWindow->show();
        if (!mainWindow->load())
            QMetaObject::invokeMethod(&app, [] { QApplication::exit(1); }, Qt::QueuedConnection);
    });
    portWindow.show();
    return app.exec();
}
