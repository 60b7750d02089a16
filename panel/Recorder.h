#pragma once

#include "files/RecordFile.h"

#include <QObject>
#include <QTimer>

namespace ui {
class Clock;
}

namespace core {
struct AppState;
} // namespace core

namespace panel {

// What the recorder writes outside itself: the recording labels, button 1 of the tool bar,
// the real-time list and the user's attention on a failed write.
class RecorderHost
{
public:
    virtual ~RecorderHost() = default;
    virtual void setRecLabel(const QString &text) = 0;      // LblRec
    virtual void setCountLabel(const QString &text) = 0;    // LblCount
    virtual void setFileNameLabel(const QString &text) = 0; // LblFileName
    virtual void setRecShown(bool shown) = 0;               // LblRec, shown while recording
    // Button 1 back to its idle picture and "Save As".
    virtual void showSaveIdle() = 0;
    // Appends one TAB-separated row to the real-time list (open whenever ListOn is set).
    virtual void appendListRow(const QString &row) = 0;
    virtual void reportWriteFailure(const QString &path, const QString &reason) = 0;
    // Something the user should know about the recording that needs no answer.
    virtual void showNotice(const QString &text) = 0;
};

// The recorder's tick schedule: the n-th tick is due n intervals after the start, whatever
// the timer's slack, so ticks never drift. After a suspend or a stall of more than
// MaxCatchUpTicks intervals it starts afresh rather than firing a burst of ticks stamped
// with the same reading.
class TickSchedule
{
public:
    static constexpr qint64 MaxCatchUpTicks = 5;
    // The wait until the first tick.
    qint64 start(qint64 nowMs, int tickMs);
    // After a tick handled at nowMs: the wait until the next one.
    qint64 afterTick(qint64 nowMs);

private:
    qint64 waitFrom(qint64 nowMs);
    int m_tickMs = 1000;
    qint64 m_startMs = 0;
    qint64 m_ticksDone = 0;
};

// PC sampling: every SampleSeconds ticks the sample clock advances by SampleSeconds and
// the live reading is written to the recording file and appended to the real-time list.
//
// Ticks come once a second on a monotonic schedule (the n-th tick is due n seconds after
// the start), so computed time stamps keep pace with the wall clock.
class Recorder : public QObject
{
    Q_OBJECT
public:
    static constexpr int32_t MaxRecordCount = 69999;
    static constexpr int32_t MaxListRows = 43749;

    // sync puts each recorded line on the disk (the system's own unless a test gives one).
    Recorder(core::AppState &state, ui::Clock &clock, RecorderHost &host,
             files::RecordFile::Sync sync = files::RecordFile::syncToDisk, QObject *parent = nullptr);

    // Timer2: runs from the main window's load to the end of the program.
    void startTimer(int tickMs = 1000);
    void stopTimer();

    // Opens the recording file: the header follows at the next sample step. On failure
    // nothing changes and error holds the reason.
    bool startRecording(const QString &path, QString *error);
    // The user's stop.
    void stopRecording();
    // The file being recorded into (SavePath may have moved on to a list saved since).
    QString recordingPath() const { return m_file.path(); }

    // A sampling interval entered by the user: the next tick is a sample step, stamped
    // with the wall clock.
    void setSampleSeconds(int32_t seconds);

    // One tick of Timer2.
    void tick();

private:
    void onTimer();
    void endRecording();
    QString nextStamp();

    core::AppState &m_state;
    ui::Clock &m_clock;
    RecorderHost &m_host;
    files::RecordFile m_file;
    QTimer m_timer;
    TickSchedule m_schedule;
    bool m_stampFromClock = false;
};

} // namespace panel
