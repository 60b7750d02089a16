// dorvel-cli end to end: the real program, started as a process without a display,
// against the simulated meter on a pseudo-terminal.
#include "support/CliProcess.h"
#include "support/CsvParse.h"
#include "support/MeterSimProcess.h"

#include <QDateTime>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The data lines of a recording, after its header; a line saying so when the last line is
// not CR LF ended, and nothing for no file.
QStringList recordedLines(const QByteArray &bytes, QString *header)
{
    if (bytes.isEmpty())
        return {};
    if (!bytes.endsWith("\r\n"))
        return {QStringLiteral("<no CR LF at the end>")};
    QStringList lines = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
    lines.removeLast();
    if (lines.isEmpty())
        return {};
    *header = lines.takeFirst();
    return lines;
}

QDateTime stampOf(const QString &line)
{
    return QDateTime::fromString(line.section(QLatin1Char(' '), 0, 0), Qt::ISODateWithMs);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
private slots:
    void readFormats_data();
    void readFormats();
    void readEndsWithItsReader();
    void silentMeter();
    void recordStopped_data();
    void recordStopped();
    void recordCount();
    void recordStopsOnRangeChange();
    void ports();

private:
    QTemporaryDir m_dir;
};

void TestCli::readFormats_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("meter");
    QTest::addColumn<QString>("ohmText");
    QTest::addColumn<QString>("ohmRange");
    QTest::addColumn<QString>("voltText");

    QTest::newRow("text") << "text"
                          << "set 2500 3700"
                          << "25.00"
                          << "40mOhm"
                          << "3.700";
    QTest::newRow("csv") << "csv"
                         << "set 2500 3700"
                         << "25.00"
                         << "40mOhm"
                         << "3.700";
    QTest::newRow("json") << "json"
                          << "set 2500 3700"
                          << "25.00"
                          << "40mOhm"
                          << "3.700";
    QTest::newRow("json, 4 Ohm range") << "json"
                                       << "range 1"
                                       << ""
                                       << "4Ohm"
                                       << "";
    QTest::newRow("csv, over range") << "csv"
                                     << "ohm-ol on"
                                     << "OL"
                                     << "40mOhm"
                                     << "";
    QTest::newRow("text, no reading") << "text"
                                      << "noreading on"
                                      << "----"
                                      << "40mOhm"
                                      << "";
}

void TestCli::readFormats()
{
    QFETCH(QString, format);
    QFETCH(QString, meter);
    QFETCH(QString, ohmText);
    QFETCH(QString, ohmRange);
    QFETCH(QString, voltText);

    const QString link = m_dir.filePath(QStringLiteral("meter-read"));
    MeterSimProcess sim(link,
                        {QStringLiteral("--cmd"), QStringLiteral("set 2500 3700"), QStringLiteral("--cmd"), meter});
    QVERIFY(sim.start());
    CliProcess cli({QStringLiteral("read"), link, QStringLiteral("--count"), QStringLiteral("5"),
                    QStringLiteral("--format"), format});
    QVERIFY(cli.run());
    QCOMPARE(cli.status(), 0);
    QStringList lines = cli.outLines();
    if (format == QLatin1String("csv")) {
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.takeFirst(), QStringLiteral("time,resistance_text,resistance,resistance_unit,voltage_text,"
                                                   "voltage,voltage_unit,resistance_range,voltage_range"));
    }
    QCOMPARE(lines.size(), 5);
    const bool milli = ohmRange.contains(QLatin1String("mOhm"));
    for (const QString &line : lines) {
        QString ohm, ohmNumber, volt, range, when;
        if (format == QLatin1String("text")) {
            static const QRegularExpression text(
                QStringLiteral("^(\\S+)  +(\\S+) (mOhm|Ohm) +(\\S+) V  (\\S+) 4Voltage$"));
            const auto m = text.match(line);
            QVERIFY2(m.hasMatch(), qPrintable(line));
            when = m.captured(1);
            ohm = m.captured(2);
            QCOMPARE(m.captured(3), milli ? QStringLiteral("mOhm") : QStringLiteral("Ohm"));
            volt = m.captured(4);
            range = m.captured(5);
        } else if (format == QLatin1String("csv")) {
            const QList<QStringList> rows = parseCsv(line + QStringLiteral("\r\n"), QLatin1Char(','));
            QCOMPARE(rows.size(), 1);
            const QStringList cells = rows.first();
            QCOMPARE(cells.size(), 9);
            when = cells[0];
            ohm = cells[1];
            ohmNumber = cells[2];
            QCOMPARE(cells[3], milli ? QStringLiteral("mOhm") : QStringLiteral("Ohm"));
            volt = cells[4];
            QCOMPARE(cells[5], volt == QLatin1String("OL") ? QString() : volt);
            QCOMPARE(cells[6], QStringLiteral("V"));
            range = cells[7];
            QCOMPARE(cells[8], QStringLiteral("4Voltage"));
            QCOMPARE(ohmNumber, ohm == QLatin1String("OL") || ohm == QLatin1String("----") ? QString() : ohm);
        } else {
            QJsonParseError error;
            const QJsonObject o = QJsonDocument::fromJson(line.toUtf8(), &error).object();
            QCOMPARE(error.error, QJsonParseError::NoError);
            when = o.value(QLatin1String("time")).toString();
            ohm = o.value(QLatin1String("resistance_text")).toString();
            if (ohm == QLatin1String("OL") || ohm == QLatin1String("----"))
                QVERIFY(o.value(QLatin1String("resistance")).isNull());
            else
                QCOMPARE(o.value(QLatin1String("resistance")).toDouble(), ohm.toDouble());
            QCOMPARE(o.value(QLatin1String("resistance_unit")).toString(),
                     milli ? QStringLiteral("mOhm") : QStringLiteral("Ohm"));
            volt = o.value(QLatin1String("voltage_text")).toString();
            QCOMPARE(o.value(QLatin1String("voltage")).toDouble(), volt.toDouble());
            range = o.value(QLatin1String("resistance_range")).toString();
            QCOMPARE(o.value(QLatin1String("voltage_range")).toString(), QStringLiteral("4Voltage"));
        }
        QVERIFY2(QDateTime::fromString(when, Qt::ISODateWithMs).isValid(), qPrintable(when));
        QVERIFY(qAbs(QDateTime::fromString(when, Qt::ISODateWithMs).secsTo(QDateTime::currentDateTime())) < 30);
        if (!ohmText.isEmpty())
            QCOMPARE(ohm, ohmText);
        if (!voltText.isEmpty())
            QCOMPARE(volt, voltText);
        QCOMPARE(range, ohmRange);
    }
}

void TestCli::readEndsWithItsReader()
{
    const QString link = m_dir.filePath(QStringLiteral("meter-pipe"));
    MeterSimProcess sim(link);
    QVERIFY(sim.start());
    // The reader of the pipe goes away after three lines; so does dorvel-cli, quietly.
    CliProcess cli({});
    cli.process.setProgram(QStringLiteral("bash"));
    cli.process.setArguments({QStringLiteral("-c"),
                              QStringLiteral("\"$0\" read \"$1\" | head -n 3; echo \"status ${PIPESTATUS[0]}\""),
                              QStringLiteral(DORVEL_CLI_PATH), link});
    QVERIFY(cli.run(10000));
    const QStringList lines = cli.outLines();
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.last(), QStringLiteral("status 0"));
    QVERIFY2(cli.err.isEmpty(), cli.err.constData());
}

void TestCli::silentMeter()
{
    const QString link = m_dir.filePath(QStringLiteral("meter-silent"));
    MeterSimProcess sim(link, {QStringLiteral("--cmd"), QStringLiteral("set 2500 3700")});
    QVERIFY(sim.start());
    CliProcess cli({QStringLiteral("read"), link, QStringLiteral("--count"), QStringLiteral("1000"),
                    QStringLiteral("--timeout"), QStringLiteral("10")});
    cli.start();
    QVERIFY(QTest::qWaitFor(
        [&] {
            cli.collect();
            return cli.out.count('\n') >= 3;
        },
        8000));
    QVERIFY(sim.command("silent"));
    // The poll gives up after five attempts of a second each.
    QVERIFY(QTest::qWaitFor(
        [&] {
            cli.collect();
            return cli.err.contains("no reading from");
        },
        9000));
    QVERIFY(sim.command("resume"));
    QVERIFY(cli.process.waitForFinished(15000));
    cli.collect();
    QCOMPARE(cli.status(), 1);

    const QStringList errors = QString::fromUtf8(cli.err).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QRegularExpression lost(QStringLiteral("^dorvel-cli: no reading from %1 since (\\d\\d:\\d\\d:\\d\\d)$")
                                      .arg(QRegularExpression::escape(link)));
    QRegularExpressionMatch m;
    QVERIFY2(
        std::any_of(errors.cbegin(), errors.cend(), [&](const QString &e) { return (m = lost.match(e)).hasMatch(); }),
        cli.err.constData());
    QVERIFY2(errors.last().startsWith(QStringLiteral("dorvel-cli: %1: ").arg(link)), cli.err.constData());
    QVERIFY(errors.last().endsWith(QStringLiteral("of 1000 readings within 10 s")));

    // The gap: lines before and after it, none in it, and none repeated.
    const QStringList lines = cli.outLines();
    QVERIFY(lines.size() >= 5);
    int gaps = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qint64 ms = stampOf(lines[i - 1]).msecsTo(stampOf(lines[i]));
        QVERIFY(ms > 0);
        if (ms > 3000) {
            ++gaps;
            QCOMPARE(stampOf(lines[i - 1]).toString(QStringLiteral("HH:mm:ss")), m.captured(1));
        }
    }
    QCOMPARE(gaps, 1);
}

void TestCli::recordStopped_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGINT") << int(SIGINT);
    QTest::newRow("SIGKILL") << int(SIGKILL);
}

void TestCli::recordStopped()
{
    QFETCH(int, signalNumber);
    const QString link = m_dir.filePath(QStringLiteral("meter-record"));
    MeterSimProcess sim(link, {QStringLiteral("--cmd"), QStringLiteral("set 2500 3700")});
    QVERIFY(sim.start());
    const QString path = m_dir.filePath(QStringLiteral("signal%1.Dvm").arg(signalNumber));
    CliProcess cli({QStringLiteral("record"), link, QStringLiteral("--interval"), QStringLiteral("1"),
                    QStringLiteral("-o"), path});
    cli.start();
    QString header;
    QVERIFY(QTest::qWaitFor([&] { return recordedLines(fileBytes(path), &header).size() >= 2; }, 10000));
    const qsizetype seen = recordedLines(fileBytes(path), &header).size();
    ::kill(pid_t(cli.process.processId()), signalNumber);
    QVERIFY(cli.process.waitForFinished(5000));
    if (signalNumber != SIGKILL) {
        QCOMPARE(cli.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(cli.process.exitCode(), 0);
    }
    const QStringList lines = recordedLines(fileBytes(path), &header);
    QCOMPARE(header, QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"));
    QVERIFY(lines.size() >= seen);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        QCOMPARE(fields.size(), 5);
        QCOMPARE(fields[0], QString::number(i + 1));
        QVERIFY(QDateTime::fromString(fields[1] + QLatin1Char(' ') + fields[2], QStringLiteral("yyyy/MM/dd HH:mm:ss"))
                    .isValid());
        QCOMPARE(fields[3], QStringLiteral("25.00"));
        QCOMPARE(fields[4], QStringLiteral("3.700"));
    }
}

void TestCli::recordCount()
{
    const QString link = m_dir.filePath(QStringLiteral("meter-count"));
    MeterSimProcess sim(link, {QStringLiteral("--cmd"), QStringLiteral("set 2500 3700")});
    QVERIFY(sim.start());
    const QString path = m_dir.filePath(QStringLiteral("count.Dvm"));
    // The device and the file as a shell in their folder names them.
    CliProcess cli({QStringLiteral("record"), QStringLiteral("meter-count"), QStringLiteral("--interval"),
                    QStringLiteral("1"), QStringLiteral("--count"), QStringLiteral("3"), QStringLiteral("-o"),
                    QStringLiteral("count.Dvm")});
    cli.process.setWorkingDirectory(m_dir.path());
    QVERIFY(cli.run(15000));
    QCOMPARE(cli.status(), 0);
    QString header;
    const QStringList lines = recordedLines(fileBytes(path), &header);
    QCOMPARE(header, QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"));
    QCOMPARE(lines.size(), 3);
    // A second apart, as the interval says.
    const auto stamp = [](const QString &line) {
        return QDateTime::fromString(line.section(QLatin1Char('\t'), 1, 2).replace(QLatin1Char('\t'), QLatin1Char(' ')),
                                     QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    };
    QCOMPARE(stamp(lines[0]).secsTo(stamp(lines[2])), 2);
}

void TestCli::recordStopsOnRangeChange()
{
    const QString link = m_dir.filePath(QStringLiteral("meter-range"));
    MeterSimProcess sim(link, {QStringLiteral("--cmd"), QStringLiteral("set 2500 3700")});
    QVERIFY(sim.start());
    const QString path = m_dir.filePath(QStringLiteral("range.Dvm"));
    CliProcess cli({QStringLiteral("record"), link, QStringLiteral("--interval"), QStringLiteral("1"),
                    QStringLiteral("-o"), path});
    cli.start();
    QString header;
    QVERIFY(QTest::qWaitFor([&] { return recordedLines(fileBytes(path), &header).size() >= 1; }, 10000));
    QVERIFY(sim.command("range 2"));
    QVERIFY(cli.process.waitForFinished(8000));
    cli.collect();
    QCOMPARE(cli.status(), 1);
    QCOMPARE(QString::fromUtf8(cli.err),
             QStringLiteral("dorvel-cli: The recording into \"%1\" stopped because the meter changed its range.\n")
                 .arg(path));
    // The lines before the change, all of the first range.
    const QStringList lines = recordedLines(fileBytes(path), &header);
    QCOMPARE(header, QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"));
    QVERIFY(!lines.isEmpty());
    for (const QString &line : lines)
        QVERIFY2(line.endsWith(QStringLiteral("\t25.00\t3.700")), qPrintable(line));
}

void TestCli::ports()
{
    const QString link = m_dir.filePath(QStringLiteral("meter-ports"));
    MeterSimProcess sim(link);
    QVERIFY(sim.start());
    const QString missing = m_dir.filePath(QStringLiteral("no-such-device"));
    CliProcess cli({QStringLiteral("ports"), link, missing});
    QVERIFY(cli.run());
    QCOMPARE(cli.status(), 0);
    const QStringList lines = cli.outLines();
    QVERIFY(lines.contains(QStringLiteral("%1\t-\t-\t-\tyes").arg(link)));
    QVERIFY(lines.contains(QStringLiteral("%1\t-\t-\t-\tno: not present").arg(missing)));

    // A device this user may not open: the pseudo-terminal closed to everyone but its owner,
    // asked about by another user.
    const QString device = QFileInfo(link).canonicalFilePath();
    QVERIFY(QFile::setPermissions(device, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QStringList prefix;
    if (::geteuid() == 0)
        prefix = {QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                  QStringLiteral("--clear-groups")};
    else
        QVERIFY(QFile::setPermissions(device, {}));
    CliProcess denied({QStringLiteral("ports"), device}, prefix);
    QVERIFY(denied.run());
    QCOMPARE(denied.status(), 0);
    QVERIFY2(denied.outLines().contains(QStringLiteral("%1\t-\t-\t-\tno: permission denied").arg(device)),
             denied.out.constData());

    // And read from it: the desktop's reason, on one line.
    CliProcess read({QStringLiteral("read"), device, QStringLiteral("--count"), QStringLiteral("1")}, prefix);
    QVERIFY(read.run());
    QCOMPARE(read.status(), 1);
    QCOMPARE(read.err, QStringLiteral("dorvel-cli: You may not open %1: permission denied.\n").arg(device).toUtf8());
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
