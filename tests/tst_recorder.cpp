#include "core/AppState.h"
#include "panel/Recorder.h"
#include "ui/fakes/FakeClock.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct HostSpy final : panel::RecorderHost
{
    QString rec, count, fileName;
    int idleCalls = 0;
    bool recShown = false;
    QStringList listRows;
    QStringList failures;
    QStringList notices;

    void setRecLabel(const QString &t) override { rec = t; }
    void setCountLabel(const QString &t) override { count = t; }
    void setFileNameLabel(const QString &t) override { fileName = t; }
    void setRecShown(bool s) override { recShown = s; }
    void showSaveIdle() override { ++idleCalls; }
    void appendListRow(const QString &row) override { listRows << row; }
    void reportWriteFailure(const QString &path, const QString &reason) override { failures << path + ": " + reason; }
    void showNotice(const QString &text) override { notices << text; }
};

struct Rig
{
    // tmpfs where there is one: the limit test syncs seventy thousand lines.
    QTemporaryDir dir{QFile::exists(QStringLiteral("/dev/shm")) ? QStringLiteral("/dev/shm/dorvel-XXXXXX") : QString()};
    core::AppState state;
    ui::FakeClock clock;
    HostSpy host;
    // The recorder's syncs, counted; a reason set here makes them fail with it.
    int syncs = 0;
    QString syncFailure;
    panel::Recorder recorder{state, clock, host, [this](int handle, QString *reason) {
                                 ++syncs;
                                 if (syncFailure.isEmpty())
                                     return files::RecordFile::syncToDisk(handle, reason);
                                 *reason = syncFailure;
                                 return false;
                             }};

    Rig()
    {
        state.SampleClock = QStringLiteral("2024/03/05 14:07:09");
        DecodeStatus(state.reading, 3);
        FormatOhm(state.reading, 0x09, 0xC4);
        FormatVolt(state.reading, 0x0E, 0x74);
    }
    QString path() const { return dir.filePath(QStringLiteral("rec.Dvm")); }
    bool start()
    {
        QString error;
        return recorder.startRecording(path(), &error);
    }
    // Whether a frame comes just before each tick, as from a meter that streams.
    bool meterSends = true;
    void tick()
    {
        if (meterSends)
            state.ReadingAtMs = clock.mono;
        recorder.tick();
    }
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            tick();
    }
    // Ticks as they come in the program: one a second of the wall clock.
    void seconds(int n)
    {
        for (int i = 0; i < n; ++i) {
            clock.advanceMs(1000);
            tick();
        }
    }
    QStringList lines() const
    {
        QFile f(path());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList out = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
};

} // namespace

class TestRecorder : public QObject
{
    Q_OBJECT
private slots:
    void linesAreTheIntervalApart_data();
    void linesAreTheIntervalApart();
    void stopsAt69999();
    void limitCountsLinesNotSteps();
    void stopsOnRangeChange();
    void userStopKeepsEveryLine();
    void writeFailureStopsAndSaysWhy();
    void listTakesRowsUpToItsLimit();
    void idleTicksClearTheLabels();
    void ticksFollowTheMonotonicSchedule_data();
    void ticksFollowTheMonotonicSchedule();
    void realTimerTicksOnSchedule();
    void newIntervalKeepsStampsOnTheWallClock_data();
    void newIntervalKeepsStampsOnTheWallClock();
    void newIntervalNeverRepeatsAStamp_data();
    void newIntervalNeverRepeatsAStamp();
    void deletedFileIsWrittenBack();
    void heldReadingsAreNotRecorded_data();
    void heldReadingsAreNotRecorded();
    void freshnessEndsAfterOneAndAHalfSeconds_data();
    void freshnessEndsAfterOneAndAHalfSeconds();
    void replacedFileStopsTheRecording();
    void failingSyncStopsTheRecording();
};

void TestRecorder::linesAreTheIntervalApart_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<QString>("clock");
    QTest::addColumn<QStringList>("lines"); // after the header, one interval apart
    QTest::newRow("every second") << 1 << "2024/03/05 14:07:09"
                                  << QStringList{"1\t2024/03/05\t14:07:11\t25.00\t3.700",
                                                 "2\t2024/03/05\t14:07:12\t25.00\t3.700"};
    QTest::newRow("3 s into the new year")
        << 3 << "2024/12/31 23:59:55"
        << QStringList{"1\t2025/01/01\t00:00:01\t25.00\t3.700", "2\t2025/01/01\t00:00:04\t25.00\t3.700",
                       "3\t2025/01/01\t00:00:07\t25.00\t3.700"};
    QTest::newRow("the longest does not overflow")
        << 86400 << "2024/03/05 14:07:09"
        << QStringList{"1\t2024/03/07\t14:07:09\t25.00\t3.700", "2\t2024/03/08\t14:07:09\t25.00\t3.700"};
}

void TestRecorder::linesAreTheIntervalApart()
{
    QFETCH(int, interval);
    QFETCH(QString, clock);
    QFETCH(QStringList, lines);
    Rig rig;
    rig.state.SampleSeconds = interval;
    rig.state.SampleClock = clock;
    QVERIFY(rig.start());
    QVERIFY(rig.state.Recording);
    rig.ticks(1 + interval * int(lines.size()));
    QCOMPARE(rig.lines(), QStringList{"No.s\tDate\tTime\t40mOhm\t4Voltage"} + lines);
    QCOMPARE(rig.host.count, QString::number(lines.size()));
    QCOMPARE(rig.host.rec, QStringLiteral("Rec"));
    QCOMPARE(rig.state.RecordCount, int(lines.size()) + 1);
    // A new interval entered: the next tick samples at once.
    rig.state.SampleTick = 0;
    rig.ticks(1);
    QCOMPARE(rig.lines().size(), lines.size() + 2);
}

void TestRecorder::stopsAt69999()
{
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.ticks(1 + 69998);
    QVERIFY(rig.state.Recording);
    QCOMPARE(rig.host.idleCalls, 0);
    rig.ticks(1);
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.host.idleCalls, 1);
    QCOMPARE(rig.state.RecordCount, 0);
    QVERIFY(rig.host.count.isEmpty());
    const QStringList lines = rig.lines();
    QCOMPARE(lines.size(), 1 + 69998);
    QVERIFY(lines.last().startsWith(QStringLiteral("69998\t")));
    QCOMPARE(rig.host.notices.size(), 1);
    QVERIFY(rig.host.notices[0].contains(QStringLiteral("rec.Dvm")));
    QVERIFY(rig.host.notices[0].contains(QStringLiteral("69")));
    rig.ticks(2);
    QCOMPARE(rig.lines().size(), 1 + 69998);
}

void TestRecorder::limitCountsLinesNotSteps()
{
    // Steps without a fresh reading write no line; the limit counts the lines written.
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.seconds(1 + 30000); // the header and lines 1 to 30000
    rig.meterSends = false;
    rig.seconds(2); // a reading a second old is written (30001), one two seconds old is not
    rig.meterSends = true;
    rig.seconds(39997);
    QVERIFY(rig.state.Recording);
    rig.seconds(1);
    QVERIFY(!rig.state.Recording);
    const QStringList lines = rig.lines();
    QCOMPARE(lines.size(), 1 + 69998);
    QVERIFY(lines[30001].startsWith(QStringLiteral("30001\t2024/03/05\t22:27:11\t")));
    QVERIFY(lines[30002].startsWith(QStringLiteral("30002\t2024/03/05\t22:27:13\t")));
    QVERIFY(lines.last().startsWith(QStringLiteral("69998\t2024/03/06\t09:33:49\t")));
}

void TestRecorder::stopsOnRangeChange()
{
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.ticks(3);
    DecodeStatus(rig.state.reading, 2); // the meter moved to 400 mOhm
    FormatOhm(rig.state.reading, 0, 250);
    rig.ticks(1);
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.host.idleCalls, 1);
    const QStringList lines = rig.lines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.last(), QStringLiteral("2\t2024/03/05\t14:07:12\t25.00\t3.700"));
    QCOMPARE(rig.host.notices.size(), 1);
    QVERIFY(rig.host.notices[0].contains(QStringLiteral("range")));
    // The file name label goes at the next idle sample step; the Rec label at once.
    QCOMPARE(rig.host.fileName, QStringLiteral("rec.Dvm"));
    QVERIFY(!rig.host.recShown);
    rig.ticks(1);
    QVERIFY(rig.host.fileName.isEmpty());
}

void TestRecorder::userStopKeepsEveryLine()
{
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.ticks(4);
    rig.recorder.stopRecording();
    QVERIFY(!rig.state.Recording);
    QVERIFY(!rig.state.SaveChosen);
    rig.ticks(2);
    QCOMPARE(rig.lines().size(), 4);

    // Recording again into the same path replaces the file and starts at 1.
    QVERIFY(rig.start());
    rig.ticks(2);
    QCOMPARE(rig.lines().size(), 2);
    QVERIFY(rig.lines().last().startsWith(QStringLiteral("1\t")));
}

void TestRecorder::writeFailureStopsAndSaysWhy()
{
    if (!QFile::exists(QStringLiteral("/dev/full")))
        QSKIP("needs /dev/full");
    Rig rig;
    rig.state.SampleSeconds = 1;
    QString error;
    QVERIFY(rig.recorder.startRecording(QStringLiteral("/dev/full"), &error));
    rig.ticks(1);
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.host.idleCalls, 1);
    QCOMPARE(rig.host.failures.size(), 1);
    QVERIFY(rig.host.failures[0].startsWith(QStringLiteral("/dev/full: ")));
    QVERIFY(rig.host.failures[0].size() > QStringLiteral("/dev/full: ").size());
    QVERIFY(rig.host.fileName.isEmpty());

    // A file that cannot be created at all is refused before recording starts.
    QVERIFY(!rig.recorder.startRecording(rig.dir.filePath(QStringLiteral("no/such/dir/x.Dvm")), &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!rig.state.Recording);
}

void TestRecorder::listTakesRowsUpToItsLimit()
{
    Rig rig;
    rig.state.SampleSeconds = 1;
    rig.state.ListOn = true;
    rig.ticks(2);
    QCOMPARE(rig.host.listRows,
             QStringList({"1\t2024/03/05\t14:07:10\t25.00\t3.700", "2\t2024/03/05\t14:07:11\t25.00\t3.700"}));
    rig.ticks(43749 - 2);
    QCOMPARE(rig.host.listRows.size(), 43749);
    QVERIFY(rig.host.listRows.last().startsWith(QStringLiteral("43749\t")));
    QVERIFY(!rig.state.ListOn);
    QCOMPARE(rig.state.ListRowCount, 0);
    rig.ticks(3);
    QCOMPARE(rig.host.listRows.size(), 43749);
}

void TestRecorder::idleTicksClearTheLabels()
{
    Rig rig;
    rig.host.rec = QStringLiteral("Rec");
    rig.host.count = QStringLiteral("12");
    rig.ticks(1);
    QVERIFY(rig.host.rec.isEmpty());
    QVERIFY(rig.host.count.isEmpty());
    QVERIFY(rig.host.fileName.isEmpty());
    QCOMPARE(rig.state.SampleClock, QStringLiteral("2024/03/05 14:07:11"));
}

void TestRecorder::ticksFollowTheMonotonicSchedule_data()
{
    // Ticks of 1000 ms from a start at 5000 ms: the times the timer fired, and the wait the
    // schedule asks for after each.
    QTest::addColumn<QList<qint64>>("firedAtMs");
    QTest::addColumn<QList<qint64>>("waits");
    QTest::newRow("on time") << QList<qint64>{6000, 7000, 8000} << QList<qint64>{1000, 1000, 1000};
    // The slack of one tick is taken from the next wait, never added to the schedule.
    QTest::newRow("late and early") << QList<qint64>{6030, 6990, 8400, 9000} << QList<qint64>{970, 1010, 600, 1000};
    // Held up for three intervals: the missed ticks follow at once, then the beat goes on.
    QTest::newRow("caught up") << QList<qint64>{9200, 9201, 9202, 9203, 10000} << QList<qint64>{0, 0, 0, 797, 1000};
    // Held up past five intervals (a suspend): a new schedule from the late tick.
    QTest::newRow("starts afresh") << QList<qint64>{12001, 13001, 14500} << QList<qint64>{1000, 1000, 501};
    // Five intervals late is still caught up.
    QTest::newRow("five late") << QList<qint64>{12000} << QList<qint64>{0};
}

void TestRecorder::ticksFollowTheMonotonicSchedule()
{
    QFETCH(QList<qint64>, firedAtMs);
    QFETCH(QList<qint64>, waits);
    panel::TickSchedule schedule;
    QCOMPARE(schedule.start(5000, 1000), 1000);
    QList<qint64> asked;
    for (const qint64 at : firedAtMs)
        asked << schedule.afterTick(at);
    QCOMPARE(asked, waits);
}

void TestRecorder::realTimerTicksOnSchedule()
{
    // The real timer on the real clock: ticks come, and never more than the schedule has.
    core::AppState state;
    state.SampleClock = QStringLiteral("2024/03/05 14:07:09");
    state.SampleSeconds = 1;
    ui::SystemClock clock;
    HostSpy host;
    panel::Recorder recorder(state, clock, host);
    QElapsedTimer elapsed;
    elapsed.start();
    recorder.startTimer(20);
    QTRY_VERIFY(state.SampleClock != QStringLiteral("2024/03/05 14:07:09"));
    QTest::qWait(200);
    recorder.stopTimer();
    const QDateTime stamp = QDateTime::fromString(state.SampleClock, QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    const qint64 ticks =
        QDateTime::fromString(QStringLiteral("2024/03/05 14:07:09"), QStringLiteral("yyyy/MM/dd HH:mm:ss"))
            .secsTo(stamp);
    QVERIFY2(ticks >= 1 && ticks <= elapsed.elapsed() / 20,
             qPrintable(QStringLiteral("%1 ticks in %2 ms").arg(ticks).arg(elapsed.elapsed())));
}

void TestRecorder::newIntervalKeepsStampsOnTheWallClock_data()
{
    QTest::addColumn<QList<int>>("entered"); // intervals entered one second apart
    QTest::addColumn<int>("interval");       // the one in force afterwards
    QTest::newRow("an hour, then 2 s") << QList<int>{3600, 2} << 2;
    QTest::newRow("the bounds") << QList<int>{86400, 1, 86400, 3} << 3;
    QTest::newRow("OK on the unchanged interval") << QList<int>{2, 2, 2} << 2;
}

void TestRecorder::newIntervalKeepsStampsOnTheWallClock()
{
    QFETCH(QList<int>, entered);
    QFETCH(int, interval);
    Rig rig;
    rig.state.SampleClock = rig.clock.now().toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
    rig.seconds(5);
    for (int seconds : entered) {
        rig.recorder.setSampleSeconds(seconds);
        rig.seconds(1);
    }
    QVERIFY(rig.start());
    rig.seconds(interval * 5);
    const QStringList lines = rig.lines();
    QCOMPARE(lines.size(), 5);
    QDateTime previous;
    for (const QString &line : lines.mid(1)) {
        const QStringList cells = line.split(QLatin1Char('\t'));
        const QDateTime stamp =
            QDateTime::fromString(cells[1] + QLatin1Char(' ') + cells[2], QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        // Exactly the interval apart...
        if (previous.isValid())
            QCOMPARE(previous.secsTo(stamp), qint64(interval));
        previous = stamp;
    }
    // ...and on the wall clock, whatever was entered before.
    QVERIFY2(qAbs(previous.secsTo(rig.clock.now())) <= 1, qPrintable(lines.last()));
}

void TestRecorder::newIntervalNeverRepeatsAStamp_data()
{
    QTest::addColumn<int>("wallAfterMs"); // the wall clock at the step, from the last stamp
    QTest::addColumn<QString>("stamp");
    // The last line was stamped 14:07:11.
    QTest::newRow("the same second") << 0 << "14:07:12";
    QTest::newRow("the same second, late in it") << 999 << "14:07:12";
    QTest::newRow("the next second") << 1000 << "14:07:12";
    QTest::newRow("later") << 19000 << "14:07:30";
    QTest::newRow("the clock set back") << -5000 << "14:07:12";
}

void TestRecorder::newIntervalNeverRepeatsAStamp()
{
    QFETCH(int, wallAfterMs);
    QFETCH(QString, stamp);
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.seconds(2); // the header at 14:07:10, line 1 at 14:07:11
    QCOMPARE(rig.lines().value(1), QStringLiteral("1\t2024/03/05\t14:07:11\t25.00\t3.700"));
    rig.recorder.setSampleSeconds(2);
    rig.clock.wall = QDateTime(QDate(2024, 3, 5), QTime(14, 7, 11)).addMSecs(wallAfterMs);
    rig.ticks(1);
    QCOMPARE(rig.lines().value(2), QStringLiteral("2\t2024/03/05\t%1\t25.00\t3.700").arg(stamp));
}

void TestRecorder::deletedFileIsWrittenBack()
{
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.ticks(4); // the header and three lines
    QVERIFY(QFile::remove(rig.path()));
    rig.ticks(3);
    QVERIFY(rig.state.Recording);
    QCOMPARE(rig.host.notices.size(), 1);
    QVERIFY(rig.host.notices[0].contains(QStringLiteral("rec.Dvm")));
    QVERIFY(rig.host.failures.isEmpty());
    const QStringList lines = rig.lines();
    QCOMPARE(lines.size(), 1 + 6);
    QCOMPARE(lines[0], QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"));
    for (int n = 1; n <= 6; ++n)
        QVERIFY(lines[n].startsWith(QString::number(n) + QLatin1Char('\t')));
    // Carries on in the new file: one notice only.
    rig.ticks(2);
    QCOMPARE(rig.lines().size(), 1 + 8);
    QCOMPARE(rig.host.notices.size(), 1);

    // A folder that went away with the file: the recording stops and says so.
    QTemporaryDir gone;
    const QString path = gone.filePath(QStringLiteral("r.Dvm"));
    QString error;
    QVERIFY(rig.recorder.startRecording(path, &error));
    rig.ticks(2);
    QVERIFY(gone.remove());
    rig.ticks(1);
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.host.failures.size(), 1);
    QVERIFY(rig.host.failures[0].startsWith(path));
}

void TestRecorder::replacedFileStopsTheRecording()
{
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.ticks(3);
    QVERIFY(QFile::remove(rig.path()));
    QFile other(rig.path());
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("somebody else's\r\n");
    other.close();
    rig.ticks(1);
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.host.failures.size(), 1);
    // The other file is left as it is.
    QCOMPARE(rig.lines(), QStringList{"somebody else's"});
}

void TestRecorder::failingSyncStopsTheRecording()
{
    Rig rig;
    rig.state.SampleSeconds = 1;
    QVERIFY(rig.start());
    rig.ticks(3); // the header and two lines, each synced once
    QCOMPARE(rig.syncs, 3);
    QCOMPARE(rig.state.RecordCount, 3);
    rig.syncFailure = QStringLiteral("Input/output error");
    rig.ticks(1);
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.host.failures, QStringList{rig.path() + QStringLiteral(": Input/output error")});
    // The lines synced before stay; nothing more is written or synced.
    const QStringList lines = rig.lines();
    QVERIFY(lines.size() >= 3);
    QVERIFY(lines[2].startsWith(QStringLiteral("2\t")));
    rig.ticks(2);
    QCOMPARE(rig.syncs, 4);
    QCOMPARE(rig.lines(), lines);
}

void TestRecorder::heldReadingsAreNotRecorded_data()
{
    // One character a second: F a frame came just before the tick, . none came.
    QTest::addColumn<QString>("frames");
    QTest::addColumn<QStringList>("stamps"); // of the data lines, and of the list rows
    // The header at 14:07:10, then the meter's cable pulled after 14:07:12. A value from a
    // frame 1 s old still counts; one 2 s old is held, not measured.
    QTest::newRow("cable pulled for 10 s")
        << "FFF..........FF" << QStringList{"14:07:11", "14:07:12", "14:07:13", "14:07:23", "14:07:24"};
    QTest::newRow("meter silent for 6 s") << "FF......F" << QStringList{"14:07:11", "14:07:12", "14:07:18"};
    QTest::newRow("no frame ever") << "....." << QStringList{};
    QTest::newRow("one frame in between") << "F...F..." << QStringList{"14:07:11", "14:07:14", "14:07:15"};
}

void TestRecorder::heldReadingsAreNotRecorded()
{
    QFETCH(QString, frames);
    QFETCH(QStringList, stamps);
    Rig rig;
    rig.state.SampleSeconds = 1;
    rig.state.ListOn = true;
    QVERIFY(rig.start());
    for (const QChar c : frames) {
        rig.meterSends = (c == QLatin1Char('F'));
        rig.seconds(1);
    }
    QStringList lines = rig.lines();
    QVERIFY(!lines.isEmpty());
    QCOMPARE(lines.takeFirst(), QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"));
    QCOMPARE(lines.size(), stamps.size());
    // The list has no header: it takes the first step's reading too, when it was measured.
    const QStringList listed = (frames.startsWith(QLatin1Char('F')) ? QStringList{"14:07:10"} : QStringList{}) + stamps;
    QCOMPARE(rig.host.listRows.size(), listed.size());
    const auto sample = [](int n, const QString &stamp) {
        return QStringLiteral("%1\t2024/03/05\t%2\t25.00\t3.700").arg(n).arg(stamp);
    };
    for (int i = 0; i < stamps.size(); ++i)
        QCOMPARE(lines[i], sample(i + 1, stamps[i]));
    for (int i = 0; i < listed.size(); ++i)
        QCOMPARE(rig.host.listRows[i], sample(i + 1, listed[i]));
    QCOMPARE(rig.host.count, stamps.isEmpty() ? QString() : QString::number(stamps.size()));
    QCOMPARE(rig.state.RecordCount, int(stamps.size()) + 1);
    QCOMPARE(rig.state.ListRowCount, int(listed.size()));
    // The clock went on through the gap.
    QCOMPARE(rig.state.SampleClock,
             QStringLiteral("2024/03/05 14:07:%1").arg(9 + frames.size(), 2, 10, QLatin1Char('0')));
}

void TestRecorder::freshnessEndsAfterOneAndAHalfSeconds_data()
{
    QTest::addColumn<int>("ageMs"); // of the last frame at the sample step
    QTest::addColumn<bool>("recorded");
    QTest::newRow("just now") << 0 << true;
    QTest::newRow("1.5 s") << 1500 << true;
    QTest::newRow("1.501 s") << 1501 << false;
    QTest::newRow("an hour") << 3600000 << false;
}

void TestRecorder::freshnessEndsAfterOneAndAHalfSeconds()
{
    QFETCH(int, ageMs);
    QFETCH(bool, recorded);
    Rig rig;
    rig.state.SampleSeconds = 1;
    rig.state.ListOn = true;
    QVERIFY(rig.start());
    rig.seconds(1); // header
    rig.meterSends = false;
    rig.state.ReadingAtMs = rig.clock.mono;
    rig.clock.advanceMs(ageMs);
    rig.recorder.tick();
    QCOMPARE(rig.lines().size(), recorded ? 2 : 1);
    QCOMPARE(rig.host.listRows.size(), recorded ? 2 : 1); // the first step's row, and this one's
    QCOMPARE(rig.state.SampleTick, 1);
}

QTEST_GUILESS_MAIN(TestRecorder)
#include "tst_recorder.moc"
