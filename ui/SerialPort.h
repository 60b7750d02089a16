#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace ui {

// The meter link as the program needs it: open a device at 9600,n,8,1, see how many
// bytes have arrived, take them, discard them, send a request. Implementations emit
// readyRead when bytes arrive and failed when the device breaks (a pulled USB
// adapter, a vanished pseudo-terminal).
class SerialPort : public QObject
{
    Q_OBJECT
public:
    enum class OpenResult {
        Opened,
        AlreadyInUse, // the device exists but another program holds it
        NoPermission, // the device exists but this user may not open it
        NotFound,     // no such device
        Failed,       // any other reason; errorString() tells it
    };

    using QObject::QObject;
    ~SerialPort() override = default;

    // A system path: "/dev/ttyS2", "/dev/ttyUSB0", a pseudo-terminal, or "COM3" on Windows.
    virtual void setPortName(const QString &systemPath) = 0;
    virtual QString portName() const = 0;

    // Opens and sets 9600 baud, no parity, 8 data bits, 1 stop bit, no flow control.
    virtual OpenResult open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual qint64 bytesAvailable() const = 0;
    virtual QByteArray readAll() = 0;
    // Throws away everything received so far, including what the driver still holds.
    virtual void clearInput() = 0;
    virtual qint64 write(const QByteArray &data) = 0;

    virtual QString errorString() const = 0;
    // The system group that owns the device, where the system has such a thing: the group
    // a user must belong to for the device to open. Empty when unknown.
    virtual QString deviceGroup() const { return {}; }

signals:
    void readyRead();
    void failed();
};

} // namespace ui
