#include "meter/ScanPorts.h"

#include "ui/PortNames.h"
#include "ui/SerialPort.h"

namespace meter {

namespace {
constexpr int PortCount = 16;
}

QString comEntry(int n)
{
    return QStringLiteral("COM  %1").arg(n);
}

int comEntryNumber(const QString &text)
{
    for (int n = 1; n <= PortCount; ++n) {
        if (text == comEntry(n))
            return n;
    }
    return 0;
}

QList<QString> ScanPorts(ui::SerialPort &probe, const ui::PortEnumerator &present,
                         const std::function<void(int, int)> &progress)
{
    QList<QString> found;
    for (int n = 1; n <= PortCount; ++n) {
        if (progress)
            progress(n, PortCount);
        if (probe.isOpen())
            probe.close();
        probe.setPortName(ui::systemPathForCom(n));
        // A port another program holds is there for the meter once that program lets go;
        // one this user may not open is of no use to them.
        const auto result = probe.open();
        if (result == ui::SerialPort::OpenResult::Opened || result == ui::SerialPort::OpenResult::AlreadyInUse)
            found.append(comEntry(n));
    }
    if (probe.isOpen())
        probe.close();
#ifndef Q_OS_WIN
    const QList<QString> adapters = ui::usbAdapterPaths(present.ports());
    for (const QString &path : adapters)
        found.append(path);
#else
    Q_UNUSED(present);
#endif
    return found;
}

} // namespace meter
