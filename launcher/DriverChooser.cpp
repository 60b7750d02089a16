#include "launcher/DriverChooser.h"

#include "launcher/PictureBox.h"
#include "launcher/StartInstaller.h"
#include "launcher/TwipRect.h"
#include "ui/Shell.h"

#include <QPushButton>

namespace launcher {

namespace {

struct DriverButton
{
    const char *role;
    const char *caption;
    TwipRect place;
    const char *installer; // relative to the medium's folder
    bool offered;
};

// In the order the installers are checked. The per-version buttons sit in the row of the
// two large ones and are never shown; only "Windows" and "Mac" reach the user.
constexpr DriverButton driverButtons[] = {
    {"winxp", "Windows XP", {120, 2040, 1095, 375}, "driver/USBDriver_winxp.exe", false},
    {"win7", "Windows 7", {1200, 2040, 1095, 375}, "driver/USBDriver_win7.exe", false},
    {"win8", "Windows 8", {2280, 2040, 1095, 375}, "driver/USBDriver_win8.exe", false},
    {"win10", "Windows 10", {3360, 2040, 1095, 375}, "driver/USBDriver_win10.exe", false},
    {"BtnWindows", "Windows", {120, 1800, 2175, 615}, "driver/USBDriver_windows.exe", true},
    {"BtnMac", "Mac", {2400, 1800, 2175, 615}, "driver/USBDriver_mac.exe", true},
};

} // namespace

DriverChooser::DriverChooser(const Medium &medium, ui::Shell &shell, ui::Dialogs &dialogs, QWidget *launcher)
    : QWidget(launcher, Qt::Window)
    , m_medium(medium)
    , m_shell(shell)
    , m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("USBDriver"));
    setWindowTitle(QStringLiteral("USB Driver"));
    setFixedSize(toPixels({0, 0, 4590, 2535}, *this).size());

    m_picture = new PictureBox({QColor(100, 150, 180), QStringLiteral("Driver Install"), 18}, this);
    m_picture->setObjectName(QStringLiteral("Driverimg"));
    m_picture->setGeometry(toPixels({0, 0, 4575, 2535}, *this));

    for (const DriverButton &b : driverButtons) {
        auto *button = new QPushButton(QString::fromLatin1(b.caption), m_picture);
        button->setObjectName(QString::fromLatin1(b.role));
        button->setGeometry(toPixels(b.place, *this));
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, QColor(100, 180, 180));
        button->setPalette(palette);
        button->setVisible(false);
        m_installers.append({button, m_medium.file(QString::fromLatin1(b.installer)), b.offered});
        const Installer installer = m_installers.last();
        connect(button, &QPushButton::clicked, this, [this, installer] { start(installer); });
    }
}

void DriverChooser::open()
{
    checkInstallers();
    m_picture->load(m_medium.driverImage());
    if (isVisible()) {
        raise();
    } else {
        centreOverLauncher();
        m_shell.keepAbove(this);
        show();
    }
    activateWindow();
}

void DriverChooser::centreOverLauncher()
{
    // Centring the client areas: the frame of a window not yet shown is unknown, and both
    // windows wear the same decoration, so their frames end up centred as well.
    QRect own(QPoint(0, 0), size());
    own.moveCenter(parentWidget()->geometry().center());
    setGeometry(own);
}

void DriverChooser::checkInstallers()
{
    // Looked at every time, both ways: an installer copied onto the medium while the window
    // stayed open gets its button back.
    for (const Installer &installer : std::as_const(m_installers))
        installer.button->setVisible(installer.offered && isFile(installer.path));
}

void DriverChooser::start(const Installer &installer)
{
    startInstaller(installer.path, this, m_shell, m_dialogs);
    close();
}

} // namespace launcher
