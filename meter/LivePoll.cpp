#include "meter/LivePoll.h"

#include "ui/SerialPort.h"

namespace meter {

namespace {
using core::FrameEnd;
using core::FrameLength;
using core::FrameStart;
// Attempts counted as failed before the fifth one decides that the link is lost.
constexpr int MaxRetries = 3;
} // namespace

LivePoll::LivePoll(ui::SerialPort &port, core::Reading &reading, PollTimings timings, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_reading(reading)
    , m_timings(timings)
{
    m_tick.setInterval(m_timings.tickMs);
    m_attempt.setSingleShot(true);
    m_reopen.setSingleShot(true);
    connect(&m_tick, &QTimer::timeout, this, &LivePoll::onTick);
    connect(&m_attempt, &QTimer::timeout, this, &LivePoll::evaluate);
    connect(&m_reopen, &QTimer::timeout, this, &LivePoll::tryReopen);
    connect(&m_port, &ui::SerialPort::readyRead, this, &LivePoll::onBytes);
    connect(&m_port, &ui::SerialPort::failed, this, &LivePoll::onDeviceFailed);
}

PollPause::PollPause(LivePoll &poll)
    : m_poll(&poll)
{
    m_poll->addPause();
}

PollPause::PollPause(PollPause &&other) noexcept
    : m_poll(other.m_poll)
{
    other.m_poll = nullptr;
}

PollPause::~PollPause()
{
    if (m_poll)
        m_poll->releasePause();
}

void LivePoll::addPause()
{
    if (m_pauses++ > 0)
        return;
    m_enabledBeforePause = isEnabled();
    m_reopenBeforePause = m_reopen.isActive();
    m_tick.stop();
    m_reopen.stop();
    if (m_phase == Phase::Waiting) {
        m_attempt.stop();
        m_phase = Phase::Idle;
    }
}

void LivePoll::releasePause()
{
    if (--m_pauses > 0)
        return;
    if (m_reopenBeforePause)
        m_reopen.start(m_timings.reopenMs);
    if (m_enabledBeforePause)
        m_tick.start();
}

void LivePoll::setEnabled(bool on)
{
    // While paused the pause decides; a request to run takes effect when it ends.
    if (m_pauses > 0) {
        m_enabledBeforePause = on;
        return;
    }
    if (on) {
        if (!m_tick.isActive())
            m_tick.start();
        return;
    }
    m_tick.stop();
    if (m_phase == Phase::Waiting) {
        m_attempt.stop();
        m_phase = Phase::Idle;
    }
}

void LivePoll::onTick()
{
    // A tick that is still waiting owns the receive buffer; a second one would flush it.
    if (m_phase != Phase::Idle)
        return;
    m_attempts = 0;
    startAttempt();
}

void LivePoll::startAttempt()
{
    m_port.clearInput();
    m_phase = Phase::Waiting;
    m_attempt.start(m_timings.attemptMs);
}

void LivePoll::onBytes()
{
    if (m_pauses > 0)
        return;
    switch (m_phase) {
    case Phase::Waiting:
        // Exactly seven: more (two frames back to back) never ends the wait early.
        if (m_port.bytesAvailable() == FrameLength) {
            m_attempt.stop();
            evaluate();
        }
        break;
    case Phase::NoData:
        if (m_port.bytesAvailable() > 0) {
            m_phase = Phase::Idle;
            emit linkBack();
            // The bytes that ended the silence are not trusted as a frame.
            if (isEnabled())
                m_port.readAll();
        }
        break;
    case Phase::Idle:
    case Phase::Reopening: break;
    }
}

void LivePoll::evaluate()
{
    if (m_phase != Phase::Waiting)
        return;
    const qint64 waiting = m_port.bytesAvailable();
    if (waiting != FrameLength && m_attempts <= MaxRetries) {
        ++m_attempts;
        startAttempt();
        return;
    }
    // After the fifth wait the link counts as lost, even if that wait did see a frame.
    if (m_attempts > MaxRetries) {
        enterNoData();
        return;
    }
    const QByteArray frame = m_port.readAll();
    m_attempts = 0;
    const auto *b = reinterpret_cast<const uint8_t *>(frame.constData());
    if (frame.size() != FrameLength || b[0] != FrameStart || b[FrameLength - 1] != FrameEnd) {
        startAttempt();
        return;
    }
    core::DecodeRecord(m_reading, b + 1);
    m_phase = Phase::Idle;
    emit readingDecoded(m_reading);
}

void LivePoll::enterNoData()
{
    m_phase = Phase::NoData;
    emit linkLost();
    onBytes();
}

void LivePoll::onDeviceFailed()
{
    m_attempt.stop();
    m_phase = Phase::Reopening;
    emit linkLost();
    // The holder of a pause owns the port; the reopen waits for it to let go.
    if (m_pauses > 0)
        m_reopenBeforePause = true;
    else
        m_reopen.start(m_timings.reopenMs);
}

void LivePoll::tryReopen()
{
    if (m_port.open() == ui::SerialPort::OpenResult::Opened) {
        m_phase = Phase::Idle;
        m_port.clearInput();
        emit linkBack();
        return;
    }
    m_port.close();
    m_reopen.start(m_timings.reopenMs);
}

} // namespace meter
