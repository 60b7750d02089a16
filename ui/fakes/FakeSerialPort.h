#pragma once

#include "ui/SerialPort.h"

#include <QHash>
#include <functional>

namespace ui {

// A serial port under the test's control: the test decides which paths open, feeds bytes
// as the meter would, and breaks the device.
class FakeSerialPort final : public SerialPort
{
    Q_OBJECT
public:
    using SerialPort::SerialPort;

    // Open results by path; a path not listed fails.
    QHash<QString, OpenResult> openResults;
    QByteArray written;
    int openCalls = 0;
    int clearCalls = 0;
    QString errorText = QStringLiteral("fake error");
    QString group;
    // Runs after every flush, with the count so far: a test feeds bytes into a chosen attempt.
    std::function<void(int clears)> onClear;
    // Runs after every open, with the count so far.
    std::function<void(int opens)> onOpen;

    void setPortName(const QString &systemPath) override { m_path = systemPath; }
    QString portName() const override { return m_path; }
    OpenResult open() override
    {
        ++openCalls;
        const auto r = openResults.value(m_path, OpenResult::Failed);
        m_open = (r == OpenResult::Opened);
        if (onOpen)
            onOpen(openCalls);
        return r;
    }
    void close() override { m_open = false; }
    bool isOpen() const override { return m_open; }
    qint64 bytesAvailable() const override { return m_buffer.size(); }
    QByteArray readAll() override { return std::exchange(m_buffer, {}); }
    void clearInput() override
    {
        ++clearCalls;
        m_buffer.clear();
        if (onClear)
            onClear(clearCalls);
    }
    qint64 write(const QByteArray &data) override
    {
        written += data;
        return data.size();
    }
    QString errorString() const override { return errorText; }
    QString deviceGroup() const override { return group; }

    // What the device receives; readyRead follows at once, as a driver would deliver it.
    void feed(const QByteArray &bytes)
    {
        if (!m_open)
            return;
        m_buffer += bytes;
        emit readyRead();
    }
    void breakDevice()
    {
        m_open = false;
        m_buffer.clear();
        emit failed();
    }

private:
    QString m_path;
    QByteArray m_buffer;
    bool m_open = false;
};

} // namespace ui
