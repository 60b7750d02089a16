// dorvel-cli as a user runs it, a child process against the simulator:
//   cli_read_cpu, cli_record_cpu: the share of one core `read` (every frame) and `record`
//     use while the meter streams 10 frames a second, over SECONDS (default 60), measured
//     from the child's own CPU time in /proc;
//   cli_convert_csv, cli_convert_json: `convert` of a 69,999-line file, process start
//     included (median of five);
//   cli_download_after_last_byte: from the simulator's last byte of a full memory, sent at
//     9600 baud, to the end of `download` (the simulator's output looked at every 1 ms).
// Usage: bench_cli [SECONDS]
#include "BenchSupport.h"
#include "support/MeterSimProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

QProcessEnvironment noDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    return env;
}

// User and system time of a process so far, in clock ticks.
qint64 cpuTicks(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command name, which is in brackets and may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

void startCli(QProcess &cli, const QStringList &args)
{
    cli.setProcessEnvironment(noDisplay());
    cli.setProgram(QStringLiteral(DORVEL_CLI_PATH));
    cli.setArguments(args);
    cli.setStandardOutputFile(QProcess::nullDevice());
    cli.start();
    cli.waitForStarted(5000);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 60;
    QTemporaryDir dir;

    // Convert: the longest file the recorder writes, header included.
    const QString file = dir.filePath(QStringLiteral("long.Dvm"));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        out.write("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n");
        for (const QString &row : bench::recordingRows(69998))
            out.write(row.toLatin1() + "\r\n");
    }
    for (const char *to : {"csv", "json"}) {
        std::vector<double> ms;
        for (int i = 0; i < 5; ++i) {
            QElapsedTimer wall;
            wall.start();
            QProcess cli;
            startCli(cli, {QStringLiteral("convert"), file, QStringLiteral("--to"), QString::fromLatin1(to),
                           QStringLiteral("-o"), dir.filePath(QStringLiteral("long.out"))});
            cli.waitForFinished(30000);
            ms.push_back(wall.nsecsElapsed() / 1e6);
        }
        bench::print(to == QByteArray("csv") ? "cli_convert_csv" : "cli_convert_json", bench::median(ms), "ms");
    }

    // Read and record side by side, each against its own meter at 10 frames a second; and
    // meanwhile the download of a full memory at 9600 baud (about 50 s), timed from the
    // simulator's last byte to the end of the program.
    MeterSimProcess downloadSim(dir.filePath(QStringLiteral("meter-dl")),
                                {QStringLiteral("--cmd"), QStringLiteral("memory-full")});
    MeterSimProcess readSim(dir.filePath(QStringLiteral("meter-read")),
                            {QStringLiteral("--period"), QStringLiteral("100")});
    MeterSimProcess recordSim(dir.filePath(QStringLiteral("meter-record")),
                              {QStringLiteral("--period"), QStringLiteral("100")});
    if (!readSim.start() || !recordSim.start() || !downloadSim.start())
        return 1;
    QProcess download;
    startCli(download, {QStringLiteral("download"), downloadSim.linkPath()});
    QElapsedTimer sinceStart;
    sinceStart.start();
    qint64 sentAt = -1;
    qint64 doneAt = -1;
    QObject::connect(&download, &QProcess::finished, [&] { doneAt = sinceStart.elapsed(); });
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (sentAt < 0 && downloadSim.output().contains("sent dump of"))
            sentAt = sinceStart.elapsed();
    });
    watch.start(1);
    QProcess read;
    QProcess record;
    startCli(read, {QStringLiteral("read"), readSim.linkPath()});
    startCli(record, {QStringLiteral("record"), recordSim.linkPath(), QStringLiteral("--interval"), QStringLiteral("1"),
                      QStringLiteral("-o"), dir.filePath(QStringLiteral("cpu.Dvm"))});
    QTest::qWait(2000); // start-up does not count
    const qint64 readStart = cpuTicks(read.processId());
    const qint64 recordStart = cpuTicks(record.processId());
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(seconds * 1000);
    const double ticks = double(sysconf(_SC_CLK_TCK)) * (wall.nsecsElapsed() / 1e9);
    bench::print("cli_read_cpu", (cpuTicks(read.processId()) - readStart) / ticks * 100.0, "%");
    bench::print("cli_record_cpu", (cpuTicks(record.processId()) - recordStart) / ticks * 100.0, "%");
    if (!QTest::qWaitFor([&] { return doneAt >= 0; }, 60000) || sentAt < 0 || download.exitCode() != 0)
        std::fprintf(stderr, "the download failed\n");
    else
        bench::print("cli_download_after_last_byte", double(doneAt - sentAt), "ms");
    read.terminate();
    record.terminate();
    read.waitForFinished(5000);
    record.waitForFinished(5000);
    return 0;
}
