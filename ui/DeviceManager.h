#pragma once

class QWidget;

namespace ui {

class Dialogs;
class PortEnumerator;
class Shell;

// Shows where the system lists its serial ports: the device manager on Windows, a table of
// the ports present (path, description, maker, USB ids, serial number) elsewhere.
void showDeviceManager(QWidget *parent, const PortEnumerator &ports, Shell &shell, Dialogs &dialogs);

} // namespace ui
