#include "panel/Recorder.h"

#include "files/FileFormat.h"
#include "link/AppState.h"
#include "ui/Clock.h"

#include <QDateTime>

namespace panel {

namespace {
const QString ClockFormat = QStringLiteral("yyyy/MM/dd HH:mm:ss");
// After a suspend or a long stall the schedule starts afresh rather than firing a burst
// of ticks stamped with the same reading.
constexpr qint64 MaxCatchUpTicks = 5;
} // namespace

Recorder::Recorder(meter::AppState &state, ui::Clock &clock, RecorderHost &host, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_clock(clock)
    , m_host(host)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Recorder::onTimer);
}

void Recorder::startTimer(int tickMs)
{
    m_tickMs = tickMs;
    m_startMs = m_clock.monotonicMs();
    m_ticksDone = 0;
    scheduleNext();
}

void Recorder::stopTimer()
{
    m_timer.stop();
}

void Recorder::scheduleNext()
{
    const qint64 due = m_startMs + (m_ticksDone + 1) * m_tickMs;
    const qint64 now = m_clock.monotonicMs();
    if (now - due > MaxCatchUpTicks * m_tickMs) {
        m_startMs = now;
        m_ticksDone = 0;
        m_timer.start(m_tickMs);
        return;
    }
    m_timer.start(static_cast<int>(std::max<qint64>(0, due - now)));
}

void Recorder::onTimer()
{
    ++m_ticksDone;
    tick();
    scheduleNext();
}

bool Recorder::startRecording(const QString &path, QString *error)
{
    if (!m_file.open(path, error))
        return false;
    m_state.Recording = true;
    m_state.RecordCount = 0;
    m_state.RecordRangeCode = m_state.reading.RangeCode;
    return true;
}

void Recorder::stopRecording()
{
    m_state.Recording = false;
    m_state.RecordCount = 0;
    m_state.SaveChosen = false;
    m_file.close();
}

void Recorder::endRecording()
{
    m_state.Recording = false;
    m_host.showSaveIdle();
    m_host.setRecLabel(QString());
    m_host.setCountLabel(QString());
    m_state.RecordCount = 0;
    m_file.close();
}

void Recorder::tick()
{
    auto &s = m_state;
    if (s.SampleTick != 0 && s.SampleTick < s.SampleSeconds) {
        ++s.SampleTick;
        return;
    }

    // The stamps are computed: each sample step is SampleSeconds after the previous one.
    // Calendar arithmetic without time zones: a stamp never skips or repeats an hour.
    const QDateTime clock(QDate::fromString(s.SampleClock.left(10), QStringLiteral("yyyy/MM/dd")),
                          QTime::fromString(s.SampleClock.mid(11, 8), QStringLiteral("HH:mm:ss")), Qt::UTC);
    s.SampleClock = clock.addSecs(s.SampleSeconds).toString(ClockFormat);
    const QString sample = files::sampleText(s.SampleClock, s.reading);

    const bool wasRecording = s.Recording;
    if (wasRecording) {
        if (s.RecordCount == MaxRecordCount || s.RecordRangeCode != s.reading.RangeCode) {
            endRecording();
        } else {
            const bool header = (s.RecordCount == 0);
            const QString line = header ? files::recorderHeader(s.reading) : files::dataLine(s.RecordCount, sample);
            QString error;
            if (!m_file.appendLine(line, &error)) {
                // Every line counted so far is on disk; say why the rest is not.
                const QString path = m_file.path();
                endRecording();
                m_host.setFileNameLabel(QString());
                m_host.reportWriteFailure(path, error);
            } else if (header) {
                s.RecordCount = 1;
            } else {
                m_host.setCountLabel(QString::number(s.RecordCount));
                m_host.setRecLabel(QStringLiteral("Rec"));
                ++s.RecordCount;
            }
        }
    } else {
        m_host.setFileNameLabel(QString());
        m_host.setCountLabel(QString());
        m_host.setRecLabel(QString());
    }

    if (s.ListOn) {
        ++s.ListRowCount;
        if (!m_host.appendListRow(QString::number(s.ListRowCount) + QLatin1Char('\t') + sample))
            return; // the next tick is again a sample step
        if (s.ListRowCount == MaxListRows) {
            s.ListRowCount = 0;
            s.ListOn = false;
        }
    }
    s.SampleTick = 1;
}

} // namespace panel
