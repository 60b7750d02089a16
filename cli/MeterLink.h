#pragma once

#include "core/AppState.h"
#include "meter/LivePoll.h"
#include "ui/Clock.h"
#include "ui/QtSerialPort.h"

#include <QDateTime>
#include <QObject>

namespace cli {

// The device a command line names, for the port: a path names a file as the shell sees it
// ("meter" in the current folder); a bare name that is no file here ("ttyUSB0") is the
// system's port name, which the port looks for in /dev.
QString devicePath(const QString &argument);

// The meter on a device as the commands use it: the port opened at 9600,n,8,1 as the
// desktop program opens it, the live poll with its rules (a frame counts when exactly
// seven bytes came, five failed attempts mean the link is lost, a broken device is
// reopened about once a second), and the shared state the recorder and the download read.
// The time a frame came is kept, so a held reading is never taken for a new one.
class MeterLink final : public QObject
{
    Q_OBJECT
public:
    explicit MeterLink(const QString &device, QObject *parent = nullptr);

    // Opens the device; on failure the one-line reason (the desktop's port-failure text).
    bool open(QString *failure);
    // Starts the live poll.
    void startPoll() { m_poll.setEnabled(true); }

    QString device() const { return m_device; }
    core::AppState &state() { return m_state; }
    ui::SerialPort &port() { return m_port; }
    meter::LivePoll &poll() { return m_poll; }
    ui::Clock &clock() { return m_clock; }
    // Wall time of the last frame; invalid before the first.
    QDateTime lastReadingAt() const { return m_lastAt; }

signals:
    // A new frame, decoded into state().reading.
    void reading();

private:
    QString m_device;
    ui::SystemClock m_clock;
    core::AppState m_state;
    ui::QtSerialPort m_port;
    meter::LivePoll m_poll;
    QDateTime m_lastAt;
    QDateTime m_startedAt;
};

} // namespace cli
