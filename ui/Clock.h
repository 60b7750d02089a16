#pragma once

#include <QDateTime>
#include <QElapsedTimer>

namespace ui {

class Clock
{
public:
    virtual ~Clock() = default;
    // Local wall time, for time stamps shown to the user.
    virtual QDateTime now() const = 0;
    // Milliseconds on a clock that never jumps (midnight, daylight saving, a clock set by hand).
    virtual qint64 monotonicMs() const = 0;
};

class SystemClock final : public Clock
{
public:
    SystemClock() { m_started.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override { return m_started.elapsed(); }

private:
    QElapsedTimer m_started;
};

} // namespace ui
