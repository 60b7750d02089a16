#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/MeterLink.h"
#include "cli/Output.h"
#include "cli/StopSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <unistd.h>

namespace cli {

int runRead(const QStringList &words)
{
    const QString name = QStringLiteral("read");
    const Args args = parseArgs(words, {{{QStringLiteral("--count"), QStringLiteral("-n")}},
                                        {{QStringLiteral("--interval"), QStringLiteral("-i")}},
                                        {{QStringLiteral("--format"), QStringLiteral("-f")}},
                                        {{QStringLiteral("--timeout")}}});
    if (const auto status = helpOrUsageError(name, args, QStringLiteral("DEVICE")))
        return *status;
    const auto countGiven = countOption(args);
    if (!countGiven)
        return usageError(name, QStringLiteral("--count needs a whole number of at least 1"));
    const int count = *countGiven;
    double interval = 0;
    if (args.has(QStringLiteral("--interval"))) {
        // The live poll takes a frame at most every 150 ms; a shorter interval says nothing more.
        const auto s = seconds(args.value(QStringLiteral("--interval")));
        if (!s || *s < 0.1)
            return usageError(name, QStringLiteral("--interval needs a number of seconds, 0.1 or more"));
        interval = *s;
    }
    double timeout = 0;
    if (args.has(QStringLiteral("--timeout"))) {
        const auto s = seconds(args.value(QStringLiteral("--timeout")));
        if (!s || *s <= 0)
            return usageError(name, QStringLiteral("--timeout needs a number of seconds above 0"));
        timeout = *s;
    }
    const auto format = formatOf(args.has(QStringLiteral("--format")) ? args.value(QStringLiteral("--format"))
                                                                      : QStringLiteral("text"));
    if (!format)
        return usageError(name, QStringLiteral("--format is text, csv or json"));

    MeterLink link(args.positional.first());
    QString failure;
    if (!link.open(&failure)) {
        reportFailure(failure);
        return Failure;
    }
    StopSignals stops;
    QObject::connect(&stops, &StopSignals::stopRequested, qApp, [] { QCoreApplication::exit(Success); });

    int written = 0;
    bool pending = false; // a frame came since the last line
    const auto emitLine = [&] {
        pending = false;
        if (!writeOut(readingLine(*format, link.lastReadingAt(), link.state().reading).toUtf8())) {
            // The reader went away: nothing more to say to anyone.
            QCoreApplication::exit(Success);
            return;
        }
        if (count > 0 && ++written >= count)
            QCoreApplication::exit(Success);
    };
    if (*format == Format::Csv && !writeOut(readingCsvHeader().toUtf8()))
        return Success;

    // A closed pipe on standard output ends the command even while no reading comes to be
    // written: its write end reports an error then, which the notifier sees.
    std::unique_ptr<QSocketNotifier> pipeWatch;
    if (stdoutIsPipe()) {
        pipeWatch = std::make_unique<QSocketNotifier>(STDOUT_FILENO, QSocketNotifier::Read);
        QObject::connect(pipeWatch.get(), &QSocketNotifier::activated, qApp, [&] {
            pipeWatch->setEnabled(false);
            QCoreApplication::exit(Success);
        });
    }

    QTimer every;
    every.setTimerType(Qt::PreciseTimer);
    if (interval > 0) {
        // One line an interval, of the newest frame, and only when a frame came since the
        // last line: a held value is never written twice.
        QObject::connect(&link, &MeterLink::reading, qApp, [&] { pending = true; });
        QObject::connect(&every, &QTimer::timeout, qApp, [&] {
            if (pending && core::readingFresh(link.state(), link.clock().monotonicMs()))
                emitLine();
        });
        every.start(int(interval * 1000));
    } else {
        QObject::connect(&link, &MeterLink::reading, qApp, emitLine);
    }

    bool timedOut = false;
    QTimer limit;
    limit.setSingleShot(true);
    if (timeout > 0) {
        QObject::connect(&limit, &QTimer::timeout, qApp, [&] {
            timedOut = true;
            QCoreApplication::exit(Success);
        });
        limit.start(int(timeout * 1000));
    }
    link.startPoll();
    const int status = QCoreApplication::exec();
    if (timedOut && count > 0 && written < count) {
        reportFailure(QStringLiteral("%1: %2 of %3 readings within %4 s")
                          .arg(link.device())
                          .arg(written)
                          .arg(count)
                          .arg(timeout));
        return Failure;
    }
    return status;
}

} // namespace cli
