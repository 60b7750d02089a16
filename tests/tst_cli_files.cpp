// dorvel-cli's files end to end: the logger download against the simulated meter, compared
// byte for byte with what the Data List saves; conversions parsed back and compared with
// the File List's export; usage errors and missing devices.
#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "logger/DataListWindow.h"
#include "logger/MemoryImage.h"
#include "logger/StartTime.h"
#include "support/CliProcess.h"
#include "support/CsvParse.h"
#include "support/MeterSimProcess.h"
#include "ui/TableTools.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// What the simulator answers to "U" for a memory content.
QByteArray simAnswer(const QStringList &memoryArgs, const QString &dir)
{
    const QString path = dir + QStringLiteral("/answer.bin");
    QFile::remove(path);
    QProcess sim;
    sim.start(QStringLiteral(DORVEL_SIM_PATH), memoryArgs + QStringList{QStringLiteral("--once-dump-to"), path});
    if (!sim.waitForFinished(5000))
        return {};
    return fileBytes(path);
}

// The bytes the Data List's Save writes for block `number` of an answer, listed from start.
QByteArray dataListSave(const QByteArray &answer, int number, const QString &start, const QString &path)
{
    const auto head = logger::answerHead(answer);
    if (!head)
        return {};
    const QByteArray image = logger::closeImage(answer, head->T);
    const logger::BlockScan scan = logger::scanBlocks(image);
    const auto segment = logger::blockSegment(image, number);
    if (!segment || scan.blocks.size() < number)
        return {};
    core::AppState state;
    ui::ScriptedDialogs dialogs;
    QWidget mainWindow;
    logger::DataListWindow list(state, dialogs, mainWindow);
    state.BlockOhmRangeText = scan.blocks.at(number - 1).ohmRange;
    state.BlockVoltRangeText = scan.blocks.at(number - 1).voltRange;
    list.addRecords(logger::datedRows(*segment, start));
    dialogs.saveAnswers.enqueue(path);
    list.buttonClick(QStringLiteral("Save"));
    return fileBytes(path);
}

} // namespace

class TestCliFiles : public QObject
{
    Q_OBJECT
private slots:
    void download_data();
    void download();
    void downloadFromSilentMeter_data();
    void downloadFromSilentMeter();
    void convert_data();
    void convert();
    void usageErrors_data();
    void usageErrors();
    void failures_data();
    void failures();
    void help();

private:
    QTemporaryDir m_dir;
};

void TestCliFiles::download_data()
{
    QTest::addColumn<QString>("memory");   // the simulator command that sets the memory
    QTest::addColumn<QString>("fullSize"); // empty, or the memory content's least size
    QTest::addColumn<int>("blocks");
    QTest::addColumn<QList<int>>("listed"); // blocks given a start time

    QTest::newRow("default") << QString() << QString() << -1 << QList<int>{1, 2};
    QTest::newRow("empty") << "memory-empty"
                           << "0" << 0 << QList<int>{};
    QTest::newRow("full") << "memory-full"
                          << "48000" << 1 << QList<int>{1};
}

void TestCliFiles::download()
{
    QFETCH(QString, memory);
    QFETCH(QString, fullSize);
    QFETCH(int, blocks);
    QFETCH(QList<int>, listed);

    QStringList simArgs{QStringLiteral("--fast-dump")};
    if (!memory.isEmpty())
        simArgs << QStringLiteral("--cmd") << memory;
    const QString link = m_dir.filePath(QStringLiteral("meter-%1").arg(QTest::currentDataTag()));
    MeterSimProcess sim(link, simArgs);
    QVERIFY(sim.start());
    const QString out = m_dir.filePath(QStringLiteral("out-%1").arg(QTest::currentDataTag()));
    QVERIFY(QDir().mkpath(out));
    const QString raw = out + QStringLiteral("/memory.bin");
    QStringList args{QStringLiteral("download"), link, QStringLiteral("-o"),       out,
                     QStringLiteral("--raw"),    raw,  QStringLiteral("--format"), QStringLiteral("json")};
    const QString start = QStringLiteral("2024/02/28 23:59:30");
    for (int n : listed)
        args << QStringLiteral("--start") << QStringLiteral("%1=%2").arg(n).arg(start);
    CliProcess cli(args);
    QVERIFY(cli.run(30000));
    QVERIFY2(cli.status() == 0, cli.err.constData());

    // The memory content, as the meter holds it: played back, the simulator answers the same.
    const QByteArray content = fileBytes(raw);
    if (!fullSize.isEmpty())
        QVERIFY(content.size() >= fullSize.toInt());
    const QByteArray answer =
        memory.isEmpty() ? simAnswer({}, m_dir.path()) : simAnswer({QStringLiteral("--memory"), raw}, m_dir.path());
    QVERIFY(answer.size() >= 4);
    QCOMPARE(content, answer.mid(3, answer.size() - 4));

    QJsonParseError error;
    const QJsonObject listing = QJsonDocument::fromJson(cli.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(listing.value(QLatin1String("bytes")).toInt(), content.size());
    QVERIFY(listing.value(QLatin1String("complete")).toBool());
    const QJsonArray found = listing.value(QLatin1String("blocks")).toArray();
    if (blocks >= 0)
        QCOMPARE(found.size(), blocks);
    const auto head = logger::answerHead(answer);
    QVERIFY(head);
    if (head->T > 4) {
        const logger::BlockScan scan = logger::scanBlocks(logger::closeImage(answer, head->T));
        QCOMPARE(found.size(), scan.blocks.size());
        for (qsizetype i = 0; i < found.size(); ++i) {
            const QJsonObject b = found.at(i).toObject();
            QCOMPARE(b.value(QLatin1String("number")).toInt(), scan.blocks[i].number);
            QCOMPARE(b.value(QLatin1String("resistance_range")).toString(), scan.blocks[i].ohmRange);
            QCOMPARE(b.value(QLatin1String("voltage_range")).toString(), scan.blocks[i].voltRange);
            QCOMPARE(b.value(QLatin1String("interval")).toInt(), scan.blocks[i].interval);
            QCOMPARE(b.value(QLatin1String("records")).toInt(), scan.blocks[i].records);
        }
    }

    // Each listed block, byte for byte as the Data List saves it.
    const QJsonArray files = listing.value(QLatin1String("files")).toArray();
    QCOMPARE(files.size(), listed.size());
    for (qsizetype i = 0; i < listed.size(); ++i) {
        const QString path =
            out + QStringLiteral("/block%1-20240228-235930.Dvm").arg(listed[i], 2, 10, QLatin1Char('0'));
        QCOMPARE(files.at(i).toString(), path);
        const QByteArray expected = dataListSave(answer, listed[i], start, m_dir.filePath(QStringLiteral("saved.Dvm")));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(fileBytes(path), expected);
    }
}

void TestCliFiles::downloadFromSilentMeter_data()
{
    QTest::addColumn<QString>("meter");
    QTest::addColumn<QString>("error");
    QTest::newRow("silent") << "silent"
                            << "the meter did not answer within 1.5 s";
    // The default memory: 890 bytes of blocks, 894 with the head and the closing byte.
    QTest::newRow("answer cut") << "answer-cut 100"
                                << "The meter stopped answering after 100 of 894 bytes.";
}

void TestCliFiles::downloadFromSilentMeter()
{
    QFETCH(QString, meter);
    QFETCH(QString, error);
    const QString link = m_dir.filePath(QStringLiteral("meter-mute"));
    MeterSimProcess sim(link, {QStringLiteral("--fast-dump"), QStringLiteral("--cmd"), meter});
    QVERIFY(sim.start());
    CliProcess cli({QStringLiteral("download"), link, QStringLiteral("--timeout"), QStringLiteral("1.5")});
    QVERIFY(cli.run());
    QCOMPARE(cli.status(), 1);
    QCOMPARE(QString::fromUtf8(cli.err), QStringLiteral("dorvel-cli: %1: %2\n").arg(link, error));
    QVERIFY(cli.out.isEmpty());
}

void TestCliFiles::convert_data()
{
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("decimal");
    QTest::newRow("comma, point") << ","
                                  << ".";
    QTest::newRow("semicolon, comma") << ";"
                                      << ",";
    QTest::newRow("tab, comma") << "tab"
                                << ",";
}

void TestCliFiles::convert()
{
    QFETCH(QString, separator);
    QFETCH(QString, decimal);
    const QString path = m_dir.filePath(QStringLiteral("convert.Dvm"));
    QVERIFY(writeBytes(path, "No.s\tDate\tTime\t400mOhm\t40Voltage\r\n"
                             "1\t2024/03/05\t14:07:11\t125.0\t12.34\r\n"
                             "2\t2024/03/05\t14:07:13\tOL\t-OL\r\n"
                             "3\t2024/03/05\t14:07:15\t----\t-1.23\r\n"));

    // To a file: the File List's Export CSV..., byte for byte.
    const QString csvPath = m_dir.filePath(QStringLiteral("convert.csv"));
    CliProcess toFile({QStringLiteral("convert"), path, QStringLiteral("--separator"), separator,
                       QStringLiteral("--decimal"), decimal, QStringLiteral("-o"), csvPath});
    QVERIFY(toFile.run());
    QCOMPARE(toFile.status(), 0);
    core::AppState state;
    ui::ScriptedDialogs dialogs;
    files::FileListWindow list(state, dialogs);
    bool loaded = false;
    connect(&list, &files::FileListWindow::finished, this, [&loaded] { loaded = true; });
    list.load(path);
    QTRY_VERIFY(loaded);
    const QChar sep = separator == QLatin1String("tab") ? QLatin1Char('\t') : separator.at(0);
    const QByteArray exported = list.tableTools()->csvBytes({sep, decimal.at(0), true, false});
    QCOMPARE(fileBytes(csvPath), exported);

    // To standard output, parsed back.
    CliProcess toOut({QStringLiteral("convert"), path, QStringLiteral("--separator"), separator,
                      QStringLiteral("--decimal"), decimal});
    QVERIFY(toOut.run());
    QCOMPARE(toOut.status(), 0);
    QVERIFY(!toOut.out.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(toOut.out), sep);
    const QString point = decimal;
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0], (QStringList{QStringLiteral("No.s"), QStringLiteral("Date and time"),
                                   QStringLiteral("Resistance (mOhm)"), QStringLiteral("Voltage (V)")}));
    QCOMPARE(rows[1], (QStringList{QStringLiteral("1"), QStringLiteral("2024-03-05 14:07:11"),
                                   QStringLiteral("125") + point + QStringLiteral("0"),
                                   QStringLiteral("12") + point + QStringLiteral("34")}));
    QCOMPARE(rows[2], (QStringList{QStringLiteral("2"), QStringLiteral("2024-03-05 14:07:13"), QString(), QString()}));
    QCOMPARE(rows[3], (QStringList{QStringLiteral("3"), QStringLiteral("2024-03-05 14:07:15"), QString(),
                                   QStringLiteral("-1") + point + QStringLiteral("23")}));

    // JSON, parsed back.
    CliProcess json({QStringLiteral("convert"), path, QStringLiteral("--to"), QStringLiteral("json")});
    QVERIFY(json.run());
    QCOMPARE(json.status(), 0);
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(json.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(doc.value(QLatin1String("resistance_range")).toString(), QStringLiteral("400m"));
    QCOMPARE(doc.value(QLatin1String("voltage_range")).toString(), QStringLiteral("40"));
    QCOMPARE(doc.value(QLatin1String("resistance_unit")).toString(), QStringLiteral("mOhm"));
    const QJsonArray lines = doc.value(QLatin1String("rows")).toArray();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0].toObject().value(QLatin1String("number")).toInt(), 1);
    QCOMPARE(lines[0].toObject().value(QLatin1String("time")).toString(), QStringLiteral("2024-03-05 14:07:11"));
    QCOMPARE(lines[0].toObject().value(QLatin1String("resistance")).toDouble(), 125.0);
    QCOMPARE(lines[0].toObject().value(QLatin1String("voltage")).toDouble(), 12.34);
    QCOMPARE(lines[1].toObject().value(QLatin1String("resistance_text")).toString(), QStringLiteral("OL"));
    QVERIFY(lines[1].toObject().value(QLatin1String("resistance")).isNull());
    QCOMPARE(lines[1].toObject().value(QLatin1String("voltage_text")).toString(), QStringLiteral("-OL"));
    QVERIFY(lines[1].toObject().value(QLatin1String("voltage")).isNull());
    QCOMPARE(lines[2].toObject().value(QLatin1String("resistance_text")).toString(), QStringLiteral("----"));
    QCOMPARE(lines[2].toObject().value(QLatin1String("voltage")).toDouble(), -1.23);
}

void TestCliFiles::usageErrors_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    const QString dev = QStringLiteral("/dev/null");
    QTest::newRow("no command") << QStringList{} << "Usage: dorvel-cli COMMAND";
    QTest::newRow("unknown command") << QStringList{QStringLiteral("sample")} << "unknown command \"sample\"";
    QTest::newRow("read, no device") << QStringList{QStringLiteral("read")} << "which DEVICE?";
    QTest::newRow("read, two devices") << QStringList{QStringLiteral("read"), dev, dev} << "one DEVICE only";
    QTest::newRow("read, unknown option")
        << QStringList{QStringLiteral("read"), dev, QStringLiteral("--counts")} << "unknown option --counts";
    QTest::newRow("read, count 0") << QStringList{QStringLiteral("read"), dev, QStringLiteral("--count=0")}
                                   << "--count needs";
    QTest::newRow("read, count missing") << QStringList{QStringLiteral("read"), dev, QStringLiteral("--count")}
                                         << "--count needs a value";
    QTest::newRow("read, format") << QStringList{QStringLiteral("read"), dev, QStringLiteral("-f"),
                                                 QStringLiteral("xml")}
                                  << "--format is text, csv or json";
    QTest::newRow("read, interval") << QStringList{QStringLiteral("read"), dev, QStringLiteral("--interval"),
                                                   QStringLiteral("-1")}
                                    << "--interval needs";
    QTest::newRow("read, interval too short")
        << QStringList{QStringLiteral("read"), dev, QStringLiteral("-i"), QStringLiteral("0.05")} << "0.1 or more";
    QTest::newRow("record, no file") << QStringList{QStringLiteral("record"), dev, QStringLiteral("--interval"),
                                                    QStringLiteral("2")}
                                     << "-o FILE.Dvm is missing";
    QTest::newRow("record, interval 0") << QStringList{
        QStringLiteral("record"), dev, QStringLiteral("--interval"), QStringLiteral("0"), QStringLiteral("-o"),
        QStringLiteral("x.Dvm")} << "1 to 86400";
    QTest::newRow("record, interval 86401") << QStringList{
        QStringLiteral("record"), dev, QStringLiteral("-i"), QStringLiteral("86401"), QStringLiteral("-o"),
        QStringLiteral("x.Dvm")} << "1 to 86400";
    QTest::newRow("record, duration") << QStringList{QStringLiteral("record"),     dev,
                                                     QStringLiteral("-i"),         QStringLiteral("1"),
                                                     QStringLiteral("-o"),         QStringLiteral("x.Dvm"),
                                                     QStringLiteral("--duration"), QStringLiteral("8 hours")}
                                      << "--duration is a time";
    QTest::newRow("record, duration too long") << QStringList{QStringLiteral("record"),     dev,
                                                              QStringLiteral("-i"),         QStringLiteral("1"),
                                                              QStringLiteral("-o"),         QStringLiteral("x.Dvm"),
                                                              QStringLiteral("--duration"), QStringLiteral("24d")}
                                               << "23d at most";
    QTest::newRow("read, timeout too long")
        << QStringList{QStringLiteral("read"), dev, QStringLiteral("--timeout"), QStringLiteral("3000000")}
        << "--timeout needs";
    QTest::newRow("record, duration and count") << QStringList{QStringLiteral("record"),     dev,
                                                               QStringLiteral("-i"),         QStringLiteral("1"),
                                                               QStringLiteral("-o"),         QStringLiteral("x.Dvm"),
                                                               QStringLiteral("--duration"), QStringLiteral("8h"),
                                                               QStringLiteral("-n"),         QStringLiteral("3")}
                                                << "exclude each other";
    QTest::newRow("download, start form") << QStringList{QStringLiteral("download"), dev, QStringLiteral("--start"),
                                                         QStringLiteral("2024/03/05 14:07:11")}
                                          << "--start is BLOCK=";
    QTest::newRow("download, block 513") << QStringList{QStringLiteral("download"), dev, QStringLiteral("--start"),
                                                        QStringLiteral("513=2024/03/05 14:07:11")}
                                         << "--start is BLOCK=";
    QTest::newRow("download, no calendar day")
        << QStringList{QStringLiteral("download"), dev, QStringLiteral("--start"),
                       QStringLiteral("1=2024/02/30 10:00:00")}
        << "2024/02/30 10:00:00 is not a date and time of the calendar.";
    QTest::newRow("download, csv") << QStringList{QStringLiteral("download"), dev, QStringLiteral("--format"),
                                                  QStringLiteral("csv")}
                                   << "--format is text or json";
    QTest::newRow("convert, no file") << QStringList{QStringLiteral("convert")} << "which FILE?";
    QTest::newRow("convert, to xml") << QStringList{QStringLiteral("convert"), QStringLiteral("a.Dvm"),
                                                    QStringLiteral("--to"), QStringLiteral("xml")}
                                     << "--to is csv or json";
    QTest::newRow("convert, same signs") << QStringList{QStringLiteral("convert"),     QStringLiteral("a.Dvm"),
                                                        QStringLiteral("--separator"), QStringLiteral(","),
                                                        QStringLiteral("--decimal"),   QStringLiteral(",")}
                                         << "must differ";
    QTest::newRow("ports, flag with value")
        << QStringList{QStringLiteral("ports"), QStringLiteral("--help=yes")} << "unknown option --help";
}

void TestCliFiles::usageErrors()
{
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    CliProcess cli(args);
    QVERIFY(cli.run());
    QCOMPARE(cli.status(), 2);
    QVERIFY2(QString::fromUtf8(cli.err).contains(message), cli.err.constData());
    QVERIFY(cli.out.isEmpty());
}

void TestCliFiles::failures_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");
    const QString missing = QStringLiteral("/dev/ttyDORVEL-none");
    const QString notPresent = QStringLiteral("dorvel-cli: %1 is not present.\n").arg(missing);
    QTest::newRow("read") << QStringList{QStringLiteral("read"), missing} << notPresent;
    QTest::newRow("record") << QStringList{QStringLiteral("record"), missing,
                                           QStringLiteral("-i"),     QStringLiteral("1"),
                                           QStringLiteral("-o"),     QStringLiteral("x.Dvm")}
                            << notPresent;
    QTest::newRow("download") << QStringList{QStringLiteral("download"), missing} << notPresent;
    QTest::newRow("convert")
        << QStringList{QStringLiteral("convert"), QStringLiteral("/nonexistent/a.Dvm")}
        << "dorvel-cli: The file \"/nonexistent/a.Dvm\" could not be read: No such file or directory\n";
}

void TestCliFiles::failures()
{
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    CliProcess cli(args);
    QVERIFY(cli.run());
    QCOMPARE(cli.status(), 1);
    QCOMPARE(QString::fromUtf8(cli.err), error);
}

void TestCliFiles::help()
{
    for (const char *command : {"ports", "read", "record", "download", "convert"}) {
        CliProcess cli({QString::fromLatin1(command), QStringLiteral("--help")});
        QVERIFY(cli.run());
        QCOMPARE(cli.status(), 0);
        QVERIFY(cli.out.startsWith("Usage: dorvel-cli " + QByteArray(command)));
    }
    CliProcess version({QStringLiteral("--version")});
    QVERIFY(version.run());
    QCOMPARE(version.status(), 0);
    QVERIFY(version.out.startsWith("dorvel-cli "));
}

QTEST_MAIN(TestCliFiles)
#include "tst_cli_files.moc"
