#include "panel/Startup.h"

#include "core/AppState.h"
#include "link/PortWindow.h"
#include "panel/Panel.h"

#include <QApplication>
#include <memory>

namespace panel {

int RunDorvel(const QStringList &arguments, StartServices services)
{
    core::AppState state;
    meter::PortWindow portWindow(state, services.probe, services.ports, services.dialogs, services.shell);
    // One optional argument: a device path (or list entry) to pre-fill the port field.
    if (arguments.size() > 1)
        portWindow.setChoiceText(arguments.at(1));

    // The Port window's OK shows the main window before the Port window closes, so the
    // program lives on; closing the Port window otherwise, or the main window later, leaves
    // no window and ends it.
    std::unique_ptr<Panel> mainWindow;
    bool portFailed = false;
    QObject::connect(&portWindow, &meter::PortWindow::portChosen, [&] {
        mainWindow = std::make_unique<Panel>(
            state, PanelServices{services.comm1, services.dialogs, services.shell, services.clock});
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
