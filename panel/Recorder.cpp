#include "panel/Recorder.h"

#include "core/AppState.h"
#include "core/Text.h"
#include "files/FileFormat.h"
#include "ui/Clock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <utility>

namespace panel {

qint64 TickSchedule::start(qint64 nowMs, int tickMs)
{
    m_tickMs = tickMs;
    m_startMs = nowMs;
    m_ticksDone = 0;
    return waitFrom(nowMs);
}

qint64 TickSchedule::afterTick(qint64 nowMs)
{
    ++m_ticksDone;
    return waitFrom(nowMs);
}

qint64 TickSchedule::waitFrom(qint64 nowMs)
{
    const qint64 due = m_startMs + (m_ticksDone + 1) * m_tickMs;
    if (nowMs - due > MaxCatchUpTicks * m_tickMs) {
        m_startMs = nowMs;
        m_ticksDone = 0;
        return m_tickMs;
    }
    return std::max<qint64>(0, due - nowMs);
}

Recorder::Recorder(core::AppState &state, ui::Clock &clock, RecorderHost &host, files::RecordFile::Sync sync,
                   QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_clock(clock)
    , m_host(host)
    , m_file(std::move(sync))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Recorder::onTimer);
}

void Recorder::startTimer(int tickMs)
{
    m_timer.start(static_cast<int>(m_schedule.start(m_clock.monotonicMs(), tickMs)));
}

void Recorder::stopTimer()
{
    m_timer.stop();
}

void Recorder::onTimer()
{
    tick();
    m_timer.start(static_cast<int>(m_schedule.afterTick(m_clock.monotonicMs())));
}

bool Recorder::startRecording(const QString &path, QString *error)
{
    if (!m_file.open(path, error))
        return false;
    m_state.Recording = true;
    m_state.RecordCount = 0;
    m_state.RecordRangeCode = m_state.reading.RangeCode;
    m_host.setFileNameLabel(QFileInfo(path).fileName());
    m_host.setRecShown(true);
    return true;
}

void Recorder::stopRecording()
{
    m_state.Recording = false;
    m_state.RecordCount = 0;
    m_state.SaveChosen = false;
    m_file.close();
    m_host.setRecShown(false);
    m_host.setCountLabel(QString());
}

void Recorder::endRecording()
{
    m_state.Recording = false;
    m_host.showSaveIdle();
    m_host.setRecLabel(QString());
    m_host.setCountLabel(QString());
    m_host.setRecShown(false);
    m_state.RecordCount = 0;
    m_file.close();
}

void Recorder::setSampleSeconds(int32_t seconds)
{
    m_state.SampleSeconds = seconds;
    m_state.SampleTick = 0;
    m_stampFromClock = true;
}

QString Recorder::nextStamp()
{
    auto &s = m_state;
    // Right after a new interval the clock is read, not computed: adding the new interval
    // to the last stamp would put every later line that far ahead of the wall clock.
    // Never the stamp of the step before, nor earlier: two samples a second apart at least.
    if (std::exchange(m_stampFromClock, false)) {
        const QString now = m_clock.now().toString(core::ClockFormat);
        if (s.SampleClock.isEmpty())
            return now;
        const QString earliest = core::addSeconds(s.SampleClock, 1);
        // The fixed-width "yyyy/mm/dd hh:nn:ss" sorts as the time it names.
        return now < earliest ? earliest : now;
    }
    // The stamps are computed: each sample step is SampleSeconds after the previous one.
    // Calendar arithmetic without time zones: a stamp never skips or repeats an hour.
    return core::addSeconds(s.SampleClock, s.SampleSeconds);
}

void Recorder::tick()
{
    auto &s = m_state;
    if (s.SampleTick != 0 && s.SampleTick < s.SampleSeconds) {
        ++s.SampleTick;
        return;
    }

    s.SampleClock = nextStamp();
    const QString sample = files::sampleText(s.SampleClock, s.reading);
    // A held value (the link lost, or being retried) is no measurement: the step passes
    // with its stamp, and the stamps of the next lines show the gap.
    const bool fresh = core::readingFresh(s, m_clock.monotonicMs());

    const bool wasRecording = s.Recording;
    QString error;
    // Every line counted so far is on disk; say why the rest is not.
    const auto stopOnFailure = [&] {
        const QString path = m_file.path();
        endRecording();
        m_host.setFileNameLabel(QString());
        m_host.reportWriteFailure(path, error);
    };
    if (wasRecording) {
        const bool full = s.RecordCount == MaxRecordCount;
        if (full || s.RecordRangeCode != s.reading.RangeCode) {
            const QString name = QDir::toNativeSeparators(m_file.path());
            endRecording();
            // A user back after hours should know why the file ends where it does.
            m_host.showNotice(full ? QStringLiteral("The recording into \"%1\" stopped after %2 lines, "
                                                    "the most one recording holds.")
                                         .arg(name, QLocale::system().toString(MaxRecordCount - 1))
                                   : QStringLiteral("The recording into \"%1\" stopped because the meter "
                                                    "changed its range.")
                                         .arg(name));
        } else if (const auto onDisk = m_file.ensureOnDisk(&error); onDisk == files::RecordFile::OnDisk::Failed) {
            stopOnFailure();
        } else {
            if (onDisk == files::RecordFile::OnDisk::Restored)
                m_host.showNotice(QStringLiteral("The recording file \"%1\" was deleted while recording. It has been "
                                                 "written again with every line so far, and the recording goes on.")
                                      .arg(QDir::toNativeSeparators(m_file.path())));
            const bool header = (s.RecordCount == 0);
            if (header || fresh) {
                const QString line = header ? files::recorderHeader(s.reading) : files::dataLine(s.RecordCount, sample);
                if (!m_file.appendLine(line, &error)) {
                    stopOnFailure();
                } else if (header) {
                    s.RecordCount = 1;
                } else {
                    m_host.setCountLabel(QString::number(s.RecordCount));
                    m_host.setRecLabel(QStringLiteral("Rec"));
                    ++s.RecordCount;
                }
            }
        }
    } else {
        m_host.setFileNameLabel(QString());
        m_host.setCountLabel(QString());
        m_host.setRecLabel(QString());
    }

    if (s.ListOn && fresh) {
        ++s.ListRowCount;
        m_host.appendListRow(QString::number(s.ListRowCount) + QLatin1Char('\t') + sample);
        if (s.ListRowCount == MaxListRows) {
            s.ListRowCount = 0;
            s.ListOn = false;
        }
    }
    s.SampleTick = 1;
}

} // namespace panel
