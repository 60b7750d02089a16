#include "meter/PortFailure.h"

namespace meter {

QString openFailureDetails(const QString &devicePath, ui::SerialPort::OpenResult result, const QString &systemReason,
                           const QString &group)
{
    using Open = ui::SerialPort::OpenResult;
    switch (result) {
    case Open::NoPermission: {
        // Serial adapters belong to a group its users join ("dialout" on Debian and its kin,
        // "uucp" on some others). A device of root's or of the terminals' group is not one
        // to join: the usual group is named instead.
        const bool joinable = !group.isEmpty() && group != QLatin1String("root") && group != QLatin1String("tty");
        const QString join = joinable ? group : QStringLiteral("dialout");
        const QString owner =
            joinable ? QStringLiteral("The device belongs to the group \"%1\". Add yourself to it with").arg(group)
                     : QStringLiteral("Serial adapters belong to the group \"dialout\". Add yourself to it with");
        return QStringLiteral("You may not open %1: permission denied.\n%2\n"
                              "    sudo usermod -aG %3 $USER\n"
                              "then log out and in again.")
            .arg(devicePath, owner, join);
    }
    case Open::AlreadyInUse:
        return QStringLiteral("%1 is locked or in use by another program.\n"
                              "Close the program that holds it and try again.")
            .arg(devicePath);
    case Open::NotFound:
        return QStringLiteral("%1 is not present.\n"
                              "Is the meter's adapter plugged in? Start Dorvel again and choose another port.")
            .arg(devicePath);
    case Open::Failed:
    case Open::Opened: break;
    }
    if (systemReason.isEmpty())
        return QStringLiteral("%1 could not be opened.").arg(devicePath);
    return QStringLiteral("%1 could not be opened: %2.").arg(devicePath, systemReason);
}

} // namespace meter
