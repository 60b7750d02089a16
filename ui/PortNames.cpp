#include "ui/PortNames.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace ui {

QString systemPathForCom(int n)
{
#ifdef Q_OS_WIN
    return QStringLiteral("COM%1").arg(n);
#else
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
#endif
}

QString linkLabelSuffix(int comPortNumber, const QString &devicePath)
{
    if (!devicePath.isEmpty())
        return QLatin1Char(' ') + QFileInfo(devicePath).fileName();
    return QString::number(comPortNumber);
}

QList<SerialPortDescription> QtPortEnumerator::ports() const
{
    QList<SerialPortDescription> out;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        SerialPortDescription d;
        d.path = info.systemLocation();
        d.description = info.description();
        d.manufacturer = info.manufacturer();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            d.vendorProduct = QStringLiteral("%1:%2")
                                  .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                                  .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        d.serialNumber = info.serialNumber();
        out.append(d);
    }
    return out;
}

QList<QString> usbAdapterPaths(const QList<SerialPortDescription> &ports)
{
    QList<QString> out;
    for (const auto &p : ports) {
        const QString name = QFileInfo(p.path).fileName();
        if (name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM")))
            out.append(p.path);
    }
    return out;
}

} // namespace ui
