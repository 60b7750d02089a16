#pragma once

#include <QList>
#include <QString>

namespace ui {

// The system path of the port the meter program calls "COM n" (1..16).
// Windows: "COMn"; Linux: "/dev/ttyS(n-1)".
QString systemPathForCom(int n);

// What follows "Com" / "COM" in the link label: the number for a numbered port,
// or one blank and the device's file name for a port chosen by path ("Com ttyUSB0").
QString linkLabelSuffix(int comPortNumber, const QString &devicePath);

struct SerialPortDescription
{
    QString path;
    QString description;
    QString manufacturer;
    QString vendorProduct; // "0403:6001", empty when unknown
    QString serialNumber;
};

// The serial ports the system reports as present.
class PortEnumerator
{
public:
    virtual ~PortEnumerator() = default;
    virtual QList<SerialPortDescription> ports() const = 0;
};

class QtPortEnumerator final : public PortEnumerator
{
public:
    QList<SerialPortDescription> ports() const override;
};

// USB-to-serial and modem-class adapters among the given ports (ttyUSB*, ttyACM*), by path.
QList<QString> usbAdapterPaths(const QList<SerialPortDescription> &ports);

} // namespace ui
