#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/MeterLink.h"
#include "cli/Output.h"
#include "cli/StopSignals.h"
#include "core/Text.h"
#include "files/GridWriter.h"
#include "logger/MemoryDownload.h"
#include "logger/MemoryImage.h"
#include "logger/StartTime.h"
#include "ui/GridModel.h"
#include "ui/ListColumns.h"
#include "ui/WholeFile.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QMap>
#include <QTimer>

namespace cli {

namespace {

// A block's records as the Data List holds them, with the block's ranges in the header:
// the grid the Data List's Save writes.
void fillDataList(ui::GridModel &grid, const logger::BlockRow &block, const QByteArray &segment,
                  const QString &startClock)
{
    grid.setHeader(ui::listTitles());
    grid.setText(0, 3, block.ohmRange);
    grid.setText(0, 4, block.voltRange);
    grid.addRows(logger::datedRows(segment, startClock));
}

// "block03-20240305-140711.Dvm": the block and its start, so files of one memory sort by
// block and two downloads of the same block with other starts do not overwrite each other.
QString datedName(int block, const QString &startClock)
{
    QString stamp = startClock;
    stamp.remove(QLatin1Char('/')).remove(QLatin1Char(':')).replace(QLatin1Char(' '), QLatin1Char('-'));
    return QStringLiteral("block%1-%2.Dvm").arg(block, 2, 10, QLatin1Char('0')).arg(stamp);
}

} // namespace

int runDownload(const QStringList &words)
{
    const QString name = QStringLiteral("download");
    const Args args = parseArgs(words, {{{QStringLiteral("--output"), QStringLiteral("-o")}},
                                        {{QStringLiteral("--raw")}},
                                        {{QStringLiteral("--start"), QStringLiteral("-s")}},
                                        {{QStringLiteral("--format"), QStringLiteral("-f")}},
                                        {{QStringLiteral("--timeout")}}});
    if (const auto status = helpOrUsageError(name, args, QStringLiteral("DEVICE")))
        return *status;
    const auto format = formatOf(
        args.has(QStringLiteral("--format")) ? args.value(QStringLiteral("--format")) : QStringLiteral("text"), false);
    if (!format)
        return usageError(name, QStringLiteral("--format is text or json"));
    double timeout = 10;
    if (args.has(QStringLiteral("--timeout"))) {
        const auto s = seconds(args.value(QStringLiteral("--timeout")));
        if (!s || *s <= 0)
            return usageError(name, QStringLiteral("--timeout needs a number of seconds above 0"));
        timeout = *s;
    }
    const QString dir =
        args.has(QStringLiteral("--output")) ? args.value(QStringLiteral("--output")) : QStringLiteral(".");
    // The start times are read as the desktop's start-time box reads them, before anything is
    // downloaded: a mistyped one costs no download.
    QMap<int, QString> starts;
    for (const QString &start : args.all(QStringLiteral("--start"))) {
        const qsizetype eq = start.indexOf(QLatin1Char('='));
        const auto block = positiveInt(start.left(eq));
        if (eq < 0 || !block || *block > logger::MaxBlocks)
            return usageError(name, QStringLiteral("--start is BLOCK=yyyy/mm/dd hh:nn:ss, not \"%1\"").arg(start));
        const logger::StartTime parsed = logger::parseStartTime(start.mid(eq + 1), QDate::currentDate());
        if (parsed.kind != logger::StartTime::Kind::Accepted)
            return usageError(name, parsed.failure.isEmpty()
                                        ? QStringLiteral("--start %1: not a time yyyy/mm/dd hh:nn:ss").arg(start)
                                        : QStringLiteral("--start %1: %2").arg(start, parsed.failure));
        starts.insert(*block, parsed.clock);
    }
    if (!starts.isEmpty() && !QDir(dir).exists()) {
        reportFailure(QStringLiteral("%1: no such folder").arg(QDir::toNativeSeparators(dir)));
        return Failure;
    }

    MeterLink link(args.positional.first());
    QString failure;
    if (!link.open(&failure)) {
        reportFailure(failure);
        return Failure;
    }
    core::AppState &state = link.state();
    logger::MemoryDownload download(link.port(), link.poll(), state);
    StopSignals stops;
    QObject::connect(&stops, &StopSignals::stopRequested, qApp, [&] {
        download.abandon();
        QCoreApplication::exit(Failure);
    });

    const bool progress = stderrIsTerminal();
    bool answering = false;
    QString lastMessage;
    QObject::connect(&download, &logger::MemoryDownload::message, qApp, [&](const QString &text) {
        lastMessage = text;
        if (text.contains(QLatin1String("Completed")))
            answering = true;
        if (progress)
            writeErrorRaw(QStringLiteral("\r%1\x1b[K").arg(text).toLocal8Bit());
    });
    // The desktop asks a silent meter again until its window is closed; here the wait for
    // the answer's beginning has an end. An answer that began ends by the download's own
    // rules (3 s of silence or of live frames).
    QTimer noAnswer;
    noAnswer.setSingleShot(true);
    QObject::connect(&noAnswer, &QTimer::timeout, qApp, [&] {
        if (answering)
            return;
        download.abandon();
        reportFailure(QStringLiteral("%1: the meter did not answer within %2 s").arg(link.device()).arg(timeout));
        QCoreApplication::exit(Failure);
    });
    int status = Success;
    logger::MemoryDownload::Outcome outcome = logger::MemoryDownload::Outcome::Abandoned;
    QObject::connect(&download, &logger::MemoryDownload::finished, qApp, [&](logger::MemoryDownload::Outcome o) {
        outcome = o;
        QCoreApplication::exit(Success);
    });
    if (!download.start()) {
        reportFailure(QStringLiteral("%1: the download did not start").arg(link.device()));
        return Failure;
    }
    noAnswer.start(int(timeout * 1000));
    status = QCoreApplication::exec();
    if (progress)
        writeErrorRaw("\r\x1b[K");
    if (status != Success)
        return status;

    using Outcome = logger::MemoryDownload::Outcome;
    if (outcome == Outcome::Abandoned)
        return Failure;
    if (outcome == Outcome::Failed && !lastMessage.startsWith(QLatin1String("The meter stopped"))) {
        reportFailure(QStringLiteral("%1: the meter's answer is not a logger memory").arg(link.device()));
        return Failure;
    }
    if (outcome == Outcome::Failed) {
        reportFailure(QStringLiteral("%1: %2").arg(link.device(), lastMessage));
        return Failure;
    }

    const QByteArray &image = state.MemoryImage;
    const bool empty = outcome == Outcome::Empty;
    const logger::BlockScan scan = empty ? logger::BlockScan{} : logger::scanBlocks(image);
    // The memory content from 0x4300 up to P: what the meter holds, as the simulator's
    // --memory plays it back.
    const QByteArray content = empty ? QByteArray() : image.mid(3, image.size() - 3 - 5);
    const QString remain = logger::remainText(logger::MemoryBase + int(content.size()));

    if (args.has(QStringLiteral("--raw"))) {
        const QString raw = args.value(QStringLiteral("--raw"));
        QString error;
        if (!ui::saveWholeFile(raw, content, &error)) {
            reportFailure(files::cannotWriteText(raw, error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
            return Failure;
        }
    }

    QStringList written;
    for (auto it = starts.cbegin(); it != starts.cend(); ++it) {
        const int number = it.key();
        const auto block = std::find_if(scan.blocks.cbegin(), scan.blocks.cend(),
                                        [number](const logger::BlockRow &b) { return b.number == number; });
        const auto segment = logger::blockSegment(image, number);
        if (block == scan.blocks.cend() || !segment || block->records == 0) {
            reportFailure(QStringLiteral("%1: the memory has no block %2 with records").arg(link.device()).arg(number));
            status = Failure;
            continue;
        }
        const QString path = QDir(dir).filePath(datedName(number, it.value()));
        QString error;
        ui::GridModel grid(5);
        fillDataList(grid, *block, *segment, it.value());
        if (!files::saveGrid(grid, path, &error)) {
            reportFailure(files::cannotWriteText(path, error).replace(QLatin1Char('\n'), QLatin1Char(' ')));
            status = Failure;
            continue;
        }
        written << path;
    }

    QString out;
    if (*format == Format::Json) {
        QStringList blocks;
        for (const logger::BlockRow &b : scan.blocks)
            blocks << QStringLiteral("{\"number\":%1,\"resistance_range\":%2,\"voltage_range\":%3,\"interval\":%4,"
                                     "\"records\":%5}")
                          .arg(b.number)
                          .arg(jsonString(b.ohmRange), jsonString(b.voltRange))
                          .arg(b.interval)
                          .arg(b.records);
        QStringList files;
        for (const QString &path : written)
            files << jsonString(path);
        out = QStringLiteral(
                  "{\"device\":%1,\"bytes\":%2,\"remain\":%3,\"complete\":%4,\"blocks\":[%5],\"files\":[%6]}\n")
                  .arg(jsonString(link.device()))
                  .arg(content.size())
                  .arg(jsonString(remain), scan.complete ? QStringLiteral("true") : QStringLiteral("false"),
                       blocks.join(QLatin1Char(',')), files.join(QLatin1Char(',')));
    } else {
        out = QStringLiteral("No.s\tOhm Range\tV Range\tSampling\tRecords\n");
        for (const logger::BlockRow &b : scan.blocks)
            out += b.rowText() + QLatin1Char('\n');
        out += QStringLiteral("%1 bytes, %2 free%3\n")
                   .arg(content.size())
                   .arg(remain, scan.complete ? QString() : QStringLiteral(", the scan stopped early"));
        for (const QString &path : written)
            out += QStringLiteral("wrote %1\n").arg(path);
    }
    writeOut(out.toUtf8());
    if (!scan.complete) {
        reportFailure(QStringLiteral("%1: the memory's blocks could not all be read").arg(link.device()));
        return Failure;
    }
    return status;
}

} // namespace cli
