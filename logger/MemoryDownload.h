#pragma once

#include "logger/MemoryImage.h"
#include "meter/LivePoll.h"

#include <QByteArray>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <optional>

namespace core {
struct AppState;
}
namespace ui {
class SerialPort;
}

namespace logger {

struct DownloadTimings
{
    int waitMs = 300;     // after "U", before the answer is read
    int silenceMs = 3000; // an answer that stops, or brings only live frames, this long is given up
};

// The logger memory download: "U" goes out, the answer is gathered from readyRead, then
// the blocks are scanned. Every wait is a state left by a signal or a single-shot timer.
//
// While it runs it holds the port: the live poll is paused (no tick, bytes left alone) and
// DownloadBusy is set. Every end, success or failure, clears DownloadBusy and lets the live
// poll run again: a finished scan, an empty memory, a bad answer, a serial failure, an
// answer that stops, abandon() and the destructor. It never waits for ever: live frames
// before the head are no answer and the request goes out again; an answer that began and
// then stops, or gives way to live frames, is given up after a silence and said so.
class MemoryDownload final : public QObject
{
    Q_OBJECT
public:
    enum class Outcome {
        Listed,    // the blocks are in blocks()
        Empty,     // the memory holds nothing
        Failed,    // a bad answer, a broken device or a silent meter; blocks() holds those found
        Abandoned, // the window went away
    };

    MemoryDownload(ui::SerialPort &port, meter::LivePoll &poll, core::AppState &state, DownloadTimings timings = {},
                   QObject *parent = nullptr);
    ~MemoryDownload() override;

    // False, doing nothing, while a download runs (DownloadBusy).
    bool start();
    void abandon();
    bool isRunning() const { return m_phase != Phase::Idle; }
    // Requests sent in this download: more than one when nothing or a live frame came back.
    int requests() const { return m_requests; }

signals:
    // LblMessage: the progress, or that the meter has not answered yet.
    void message(const QString &text);
    // LblRemain: the free memory.
    void remain(const QString &text);
    // The block grid's rows, TAB-separated.
    void blocksFound(const QStringList &rows);
    void finished(logger::MemoryDownload::Outcome outcome);

private:
    enum class Phase { Idle, Waiting, Receiving };

    void request();
    void onWaitOver();
    void onBytes();
    void take();
    // What came so far holds no head yet: decides whether to wait, ask again or begin.
    void lookForHead(bool quiet);
    void giveUp();
    void evaluate();
    void finish(Outcome outcome, bool announce = true);

    ui::SerialPort &m_port;
    meter::LivePoll &m_poll;
    core::AppState &m_state;
    DownloadTimings m_timings;
    QTimer m_wait;
    QTimer m_silence;
    QTimer m_framesOnly; // runs while only live frames come after the answer began
    std::optional<meter::PollPause> m_pause;
    Phase m_phase = Phase::Idle;
    QByteArray m_answer;
    bool m_begun = false; // a plausible head came: the bytes are the answer
    AnswerHead m_head;    // kept across a repeated request until its own first chunk
    int m_requests = 0;
};

} // namespace logger
