#pragma once

#include "core/Reading.h"

#include <QObject>
#include <QTimer>

namespace ui {
class SerialPort;
}

namespace meter {

struct PollTimings
{
    int tickMs = 150;     // Timer1: how often a new tick may start
    int attemptMs = 1000; // how long one attempt waits for a frame
    int reopenMs = 1000;  // how often a broken device is tried again
};

// The live poll of the meter link. The meter streams 7-byte frames on its own
// (0x02, resistance high/low, voltage high/low, status, 0x03); a tick throws away what
// is waiting, then waits for exactly 7 fresh bytes. Five attempts without a frame mean
// the link is lost: the tick then holds until any byte arrives again.
//
// Every wait is a state left by a signal or a single-shot timer, never a loop, so the
// poll costs nothing while it waits and the windows stay responsive.
class LivePoll;

// Holding one of these keeps the live poll off: no tick, no attempt, no reopen, and
// incoming bytes are left alone, so the holder (the logger download, a block listing, a
// print) has the port and the reading record to itself. Pauses nest; the poll resumes
// when the last one goes, on whatever path its holder leaves.
class PollPause
{
public:
    explicit PollPause(LivePoll &poll);
    ~PollPause();
    PollPause(PollPause &&other) noexcept;
    PollPause(const PollPause &) = delete;
    PollPause &operator=(const PollPause &) = delete;
    PollPause &operator=(PollPause &&) = delete;

private:
    LivePoll *m_poll;
};

class LivePoll : public QObject
{
    Q_OBJECT
public:
    enum class Phase {
        Idle,      // between ticks
        Waiting,   // an attempt waits for exactly 7 bytes
        NoData,    // link lost: waiting for any byte
        Reopening, // the device broke: trying to open it again
    };

    LivePoll(ui::SerialPort &port, core::Reading &reading, PollTimings timings = {}, QObject *parent = nullptr);

    // Timer1. Disabling abandons an attempt in progress, so a command that uses the port
    // finds it to itself.
    void setEnabled(bool on);
    bool isEnabled() const { return m_tick.isActive(); }
    // The poll is off while any pause is held; see PollPause.
    [[nodiscard]] PollPause pause() { return PollPause(*this); }
    bool isPaused() const { return m_pauses > 0; }
    int intervalMs() const { return m_tick.interval(); }
    Phase phase() const { return m_phase; }

signals:
    // A valid frame was decoded into the reading record (the one given to the poll).
    void readingDecoded(const core::Reading &reading);
    // "No COM": no frame after five attempts, or the device broke.
    void linkLost();
    // Bytes came back, or the broken device opened again.
    void linkBack();

private:
    friend class PollPause;
    void addPause();
    void releasePause();
    void onTick();
    void startAttempt();
    void onBytes();
    void evaluate();
    void enterNoData();
    void onDeviceFailed();
    void tryReopen();

    ui::SerialPort &m_port;
    core::Reading &m_reading;
    PollTimings m_timings;
    QTimer m_tick;
    QTimer m_attempt;
    QTimer m_reopen;
    Phase m_phase = Phase::Idle;
    int m_attempts = 0;
    int m_pauses = 0;
    bool m_enabledBeforePause = false;
    bool m_reopenBeforePause = false;
};

} // namespace meter
