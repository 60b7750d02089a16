#include "logger/MemoryDownload.h"

#include "core/AppState.h"
#include "ui/SerialPort.h"

#include <QLocale>

namespace logger {

namespace {
// A live frame arriving instead of the answer has this length; so does nothing but the
// head and a few bytes, which no real memory holds.
using core::FrameLength;
constexpr char Request = 'U';
} // namespace

MemoryDownload::MemoryDownload(ui::SerialPort &port, meter::LivePoll &poll, core::AppState &state,
                               DownloadTimings timings, QObject *parent)
    : QObject(parent)
    , m_port(port)
    , m_poll(poll)
    , m_state(state)
    , m_timings(timings)
{
    m_wait.setSingleShot(true);
    m_silence.setSingleShot(true);
    m_framesOnly.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &MemoryDownload::onWaitOver);
    connect(&m_silence, &QTimer::timeout, this, [this] {
        if (m_begun)
            giveUp();
        else
            lookForHead(true);
    });
    connect(&m_framesOnly, &QTimer::timeout, this, &MemoryDownload::giveUp);
    connect(&m_port, &ui::SerialPort::readyRead, this, &MemoryDownload::onBytes);
    connect(&m_port, &ui::SerialPort::failed, this, [this] {
        if (isRunning())
            finish(Outcome::Failed);
    });
}

MemoryDownload::~MemoryDownload()
{
    if (isRunning())
        finish(Outcome::Abandoned, false);
}

bool MemoryDownload::start()
{
    if (m_state.DownloadBusy || isRunning())
        return false;
    m_pause.emplace(m_poll.pause());
    m_state.DownloadBusy = true;
    m_head = {};
    m_requests = 0;
    request();
    return true;
}

void MemoryDownload::abandon()
{
    if (isRunning())
        finish(Outcome::Abandoned);
}

void MemoryDownload::request()
{
    if (m_requests > 0)
        emit message(QStringLiteral("Waiting for the meter to answer..."));
    ++m_requests;
    m_port.clearInput();
    m_port.write(QByteArray(1, Request));
    m_answer.clear();
    m_begun = false;
    m_silence.stop();
    m_framesOnly.stop();
    m_phase = Phase::Waiting;
    // The answer gathers in the port meanwhile; it is read when the wait is over.
    m_wait.start(m_timings.waitMs);
}

void MemoryDownload::onWaitOver()
{
    m_phase = Phase::Receiving;
    take();
}

void MemoryDownload::onBytes()
{
    if (m_phase == Phase::Receiving)
        take();
}

void MemoryDownload::take()
{
    const qsizetype before = m_answer.size();
    if (m_port.bytesAvailable() > 0)
        m_answer += m_port.readAll();
    if (!m_begun) {
        lookForHead(false);
        return;
    }
    if (m_answer.size() > before) {
        m_silence.start(m_timings.silenceMs);
        // A chunk of live frames only: the meter went back to streaming. Memory bytes in
        // between mean the answer goes on.
        const qsizetype tail = liveFrameTail(m_answer);
        if (tail > 0 && m_answer.size() - tail <= before) {
            if (!m_framesOnly.isActive())
                m_framesOnly.start(m_timings.silenceMs);
        } else {
            m_framesOnly.stop();
        }
        const QString progress = progressText(m_answer.size(), m_head.T);
        if (!progress.isEmpty())
            emit message(progress);
    }
    if (m_answer.size() < m_head.T) {
        if (!m_silence.isActive())
            m_silence.start(m_timings.silenceMs);
        return;
    }
    // Made up to its length by live frames: cut off, not complete.
    if (m_framesOnly.isActive()) {
        giveUp();
        return;
    }
    evaluate();
}

void MemoryDownload::lookForHead(bool quiet)
{
    const AnswerStart start = answerStart(m_answer);
    using Kind = AnswerStart::Kind;
    if (start.kind == Kind::LiveFrames || (start.kind == Kind::NeedMore && m_answer.isEmpty())) {
        // Nothing, or the meter's live stream instead of its answer: ask again.
        request();
        return;
    }
    if (start.kind == Kind::NeedMore) {
        if (!quiet) {
            m_silence.start(m_timings.silenceMs);
            return;
        }
        // Nothing more came: read a head from what there is, if it holds one.
        if (!answerHead(m_answer)) {
            finish(Outcome::Failed);
            return;
        }
    }
    m_answer.remove(0, start.skip);
    m_head = *answerHead(m_answer);
    m_begun = true;
    // An end address past the memory cannot be the meter's: no image could be that long,
    // and waiting for it would never end.
    if (m_head.P > MemoryEnd) {
        finish(Outcome::Failed);
        return;
    }
    const QString progress = progressText(m_answer.size(), m_head.T);
    if (!progress.isEmpty())
        emit message(progress);
    if (m_answer.size() < m_head.T) {
        m_silence.start(m_timings.silenceMs);
        return;
    }
    evaluate();
}

void MemoryDownload::giveUp()
{
    // Live frames at the end are not part of the answer.
    const qsizetype came = m_answer.size() - liveFrameTail(m_answer);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    emit message(QStringLiteral("The meter stopped answering after %1 of %2 bytes.")
                     .arg(english.toString(qint64(came)), english.toString(m_head.T)));
    finish(Outcome::Failed);
}

void MemoryDownload::evaluate()
{
    m_silence.stop();
    if (m_answer.size() == FrameLength || m_answer.isEmpty()) {
        request();
        return;
    }
    if (m_head.T == EmptyAnswerLength) {
        finish(Outcome::Empty);
        return;
    }
    if (!headFits(m_head)) {
        finish(Outcome::Failed);
        return;
    }
    emit remain(remainText(m_head.P));
    m_state.MemoryImage = closeImage(m_answer, m_head.T);
    m_answer.clear();

    const BlockScan scan = scanBlocks(m_state.MemoryImage);
    m_state.BlockOhmRange.fill(0);
    m_state.BlockVoltRange.fill(0);
    QStringList rows;
    rows.reserve(scan.blocks.size());
    for (const BlockRow &block : scan.blocks) {
        m_state.BlockOhmRange[block.number] = block.ohmFullScale;
        m_state.BlockVoltRange[block.number] = block.voltFullScale;
        rows.append(block.rowText());
    }
    m_state.BlockNo = scan.blocks.size() + 1;
    if (!scan.blocks.isEmpty())
        m_state.BlockRecords = scan.blocks.last().records;
    emit blocksFound(rows);
    finish(scan.complete ? Outcome::Listed : Outcome::Failed);
}

void MemoryDownload::finish(Outcome outcome, bool announce)
{
    m_wait.stop();
    m_silence.stop();
    m_framesOnly.stop();
    m_phase = Phase::Idle;
    m_answer.clear();
    m_state.DownloadBusy = false;
    m_pause.reset();
    // The live poll runs again after every download, even if it was off when it began.
    m_poll.setEnabled(true);
    if (announce)
        emit finished(outcome);
}

} // namespace logger
