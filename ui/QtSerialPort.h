#pragma once

#include "ui/SerialPort.h"

class QSerialPort;

namespace ui {

class QtSerialPort final : public SerialPort
{
    Q_OBJECT
public:
    explicit QtSerialPort(QObject *parent = nullptr);
    ~QtSerialPort() override;

    void setPortName(const QString &systemPath) override;
    QString portName() const override;
    OpenResult open() override;
    void close() override;
    bool isOpen() const override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    void clearInput() override;
    qint64 write(const QByteArray &data) override;
    QString errorString() const override;
    QString deviceGroup() const override;

private:
    void onError(int error);

    QSerialPort *m_port = nullptr;
    QString m_path;
    QString m_openError; // the system's reason for the last failed open
    bool m_failedSignalled = false;
};

} // namespace ui
