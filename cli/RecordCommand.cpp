#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/MeterLink.h"
#include "cli/Output.h"
#include "cli/StopSignals.h"
#include "files/GridWriter.h"
#include "panel/Recorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

namespace cli {

namespace {

// The recorder's outside as the command line has it: no labels and no list; what the
// desktop shows in a message box goes to standard error.
class StreamHost final : public panel::RecorderHost
{
public:
    std::function<void(int lines)> onLine;
    std::function<void()> onEnded;
    std::function<void(const QString &path, const QString &reason)> onWriteFailure;

    void setRecLabel(const QString &) override {}
    void setCountLabel(const QString &text) override
    {
        // The count moves on once a data line is on the disk.
        if (!text.isEmpty() && onLine)
            onLine(text.toInt());
    }
    void setFileNameLabel(const QString &) override {}
    void setRecShown(bool) override {}
    void showSaveIdle() override
    {
        if (onEnded)
            onEnded();
    }
    void appendListRow(const QString &) override {}
    void reportWriteFailure(const QString &path, const QString &reason) override
    {
        if (onWriteFailure)
            onWriteFailure(path, reason);
    }
    void showNotice(const QString &text) override { reportFailure(text); }
};

} // namespace

int runRecord(const QStringList &words)
{
    const QString name = QStringLiteral("record");
    const Args args = parseArgs(words, {{{QStringLiteral("--interval"), QStringLiteral("-i")}},
                                        {{QStringLiteral("--output"), QStringLiteral("-o")}},
                                        {{QStringLiteral("--duration"), QStringLiteral("-d")}},
                                        {{QStringLiteral("--count"), QStringLiteral("-n")}}});
    if (const auto status = helpOrUsageError(name, args, QStringLiteral("DEVICE")))
        return *status;
    // The desktop's sampling intervals: whole seconds, 1 to 86400.
    const auto interval = positiveInt(args.value(QStringLiteral("--interval")));
    if (!interval || *interval > 86400)
        return usageError(name, QStringLiteral("--interval needs whole seconds, 1 to 86400"));
    const QString path = args.value(QStringLiteral("--output"));
    if (path.isEmpty())
        return usageError(name, QStringLiteral("-o FILE.Dvm is missing"));
    if (args.has(QStringLiteral("--duration")) && args.has(QStringLiteral("--count")))
        return usageError(name, QStringLiteral("--duration and --count exclude each other"));
    qint64 durationSeconds = 0;
    if (args.has(QStringLiteral("--duration"))) {
        const auto d = duration(args.value(QStringLiteral("--duration")));
        if (!d)
            return usageError(name, QStringLiteral("--duration is a time such as 90s, 30m, 8h or 2d, 23d at most"));
        durationSeconds = *d;
    }
    const auto countGiven = countOption(args);
    if (!countGiven)
        return usageError(name, QStringLiteral("--count needs a whole number of at least 1"));
    const int count = *countGiven;

    MeterLink link(args.positional.first());
    QString failure;
    if (!link.open(&failure)) {
        reportFailure(failure);
        return Failure;
    }
    // The file is made at once, so a path that cannot be written fails before the meter
    // is waited for; the recorder empties it again when the recording starts.
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            reportFailure(
                files::cannotWriteText(path, probe.errorString()).replace(QLatin1Char('\n'), QLatin1Char(' ')));
            return Failure;
        }
    }

    StopSignals stops;
    StreamHost host;
    core::AppState &state = link.state();
    panel::Recorder recorder(state, link.clock(), host);
    int status = Success;
    const auto stop = [&](int code) {
        if (state.Recording)
            recorder.stopRecording();
        recorder.stopTimer();
        status = code;
        QCoreApplication::exit(code);
    };
    QObject::connect(&stops, &StopSignals::stopRequested, qApp, [&] { stop(Success); });
    host.onLine = [&](int lines) {
        if (count > 0 && lines >= count)
            stop(Success);
    };
    // The recorder ended the recording itself: the meter changed its range (a stop the
    // caller should notice) or the file is full.
    host.onEnded = [&] {
        const bool rangeChanged = state.RecordRangeCode != state.reading.RangeCode;
        QTimer::singleShot(0, qApp, [&, rangeChanged] { stop(rangeChanged ? Failure : Success); });
    };
    host.onWriteFailure = [&](const QString &file, const QString &reason) {
        reportFailure(files::cannotWriteText(file, reason).replace(QLatin1Char('\n'), QLatin1Char(' ')));
        QTimer::singleShot(0, qApp, [&] { stop(Failure); });
    };

    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, qApp, [&] { stop(Success); });

    // The header names the ranges of the reading the recording starts on, so it starts with
    // the first frame; from there the recorder samples as the desktop's does.
    QMetaObject::Connection first;
    first = QObject::connect(&link, &MeterLink::reading, qApp, [&] {
        QObject::disconnect(first);
        QString error;
        if (!recorder.startRecording(path, &error)) {
            reportFailure(files::cannotWriteText(path, error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
            stop(Failure);
            return;
        }
        recorder.setSampleSeconds(*interval);
        recorder.startTimer();
        if (durationSeconds > 0)
            limit.start(std::chrono::seconds(durationSeconds));
    });
    link.startPoll();
    QCoreApplication::exec();
    return status;
}

} // namespace cli
