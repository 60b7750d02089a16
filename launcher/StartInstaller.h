#pragma once

#include <QString>

class QWidget;

namespace ui {
class Dialogs;
class Shell;
} // namespace ui

namespace launcher {

// Starts an installer from the medium. A button that does nothing leaves the user guessing,
// so a missing file or a program that will not start is said in a message box naming it.
// False when nothing was started.
bool startInstaller(const QString &path, QWidget *owner, ui::Shell &shell, ui::Dialogs &dialogs);

} // namespace launcher
