#pragma once

#include "launcher/Medium.h"

#include <QList>
#include <QWidget>

class QPushButton;

namespace ui {
class Dialogs;
class Shell;
} // namespace ui

namespace launcher {

class PictureBox;

// The USBDriver window: one button per USB-to-serial driver installer on the medium.
// It belongs to the launcher window and floats above every other window while open.
class DriverChooser : public QWidget
{
    Q_OBJECT
public:
    DriverChooser(const Medium &medium, ui::Shell &shell, ui::Dialogs &dialogs, QWidget *launcher);

    // The launcher's "Drivers": a closed window is centred over the launcher and pinned on
    // top; open or not, the installers and the picture are looked at again and it comes up.
    void open();

private:
    struct Installer
    {
        QPushButton *button = nullptr;
        QString path;
        bool offered = false; // the four per-version buttons are never offered
    };

    void centreOverLauncher();
    void checkInstallers();
    void start(const Installer &installer);

    Medium m_medium;
    ui::Shell &m_shell;
    ui::Dialogs &m_dialogs;
    PictureBox *m_picture = nullptr;
    QList<Installer> m_installers;
};

} // namespace launcher
