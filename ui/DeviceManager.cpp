#include "ui/DeviceManager.h"

#include "ui/Dialogs.h"
#include "ui/PortNames.h"
#include "ui/Shell.h"

namespace ui {

void showDeviceManager(QWidget *parent, const PortEnumerator &ports, Shell &shell, Dialogs &dialogs)
{
#ifdef Q_OS_WIN
    Q_UNUSED(ports);
    Q_UNUSED(parent);
    Q_UNUSED(dialogs);
    shell.openDocument(QStringLiteral("C:\\WINDOWS\\system32\\devmgmt.msc"));
#else
    Q_UNUSED(shell);
    dialogs.showPorts(parent, ports.ports());
#endif
}

} // namespace ui
