#include "link/PortFailure.h"

namespace meter {

QString openFailureDetails(const QString &devicePath, ui::SerialPort::OpenResult result,
                           const QString &systemReason, const QString &group)
{
    using Open = ui::SerialPort::OpenResult;
    switch (result) {
    case Open::NoPermission: {
        // Serial devices belong to "dialout" on Debian and its kin, "uucp" on some others.
        const QString g = group.isEmpty() ? QStringLiteral("dialout") : group;
        return QStringLiteral("You may not open %1: permission denied.\n"
                              "The device belongs to the group \"%2\". Add yourself to it with\n"
                              "    sudo usermod -aG %2 $USER\n"
                              "then log out and in again.")
            .arg(devicePath, g);
    }
    case Open::AlreadyInUse:
        return QStringLiteral("%1 is locked or in use by another program.\n"
                              "Close the program that holds it and try again.")
            .arg(devicePath);
    case Open::NotFound:
        return QStringLiteral("%1 is not present.\n"
                              "Plug in the meter's adapter, or choose another port.")
            .arg(devicePath);
    case Open::Failed:
    case Open::Opened:
        break;
    }
    if (systemReason.isEmpty())
        return QStringLiteral("%1 could not be opened.").arg(devicePath);
    return QStringLiteral("%1 could not be opened: %2.").arg(devicePath, systemReason);
}

} // namespace meter
