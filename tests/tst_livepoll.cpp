#include "core/AppState.h"
#include "meter/LivePoll.h"
#include "panel/MeterFace.h"
#include "realtime/Views.h"
#include "support/FakePanelRig.h"
#include "support/LoggerImages.h"

#include <QtTest>

using ui::FakeSerialPort;

namespace {

// A live frame: 02, the two counts and the status byte as the logger stores them, 03.
QByteArray frame(int ohm, int volt, int status, char first = 0x02, char last = 0x03)
{
    return first + images::record(ohm, volt, status) + last;
}

// Short timings so a lost link shows in half a second instead of five.
constexpr meter::PollTimings Fast{15, 100, 50};

struct Rig : FakePanelRig
{
    Rig()
        : FakePanelRig(3, Fast)
    {
    }
    bool milliShown() const { return !labelWidget("LblMOhm")->isHidden(); }
};

// A meter that streams one frame per period while it runs.
struct Meter : QObject
{
    FakeSerialPort &port;
    QByteArray bytes;
    QTimer timer;
    Meter(FakeSerialPort &p, QByteArray f, int periodMs)
        : port(p)
        , bytes(std::move(f))
    {
        connect(&timer, &QTimer::timeout, this, [this] { port.feed(bytes); });
        timer.start(periodMs);
    }
};

// Opens the port of a test's own poll, at /dev/ttyS0.
bool openPort(FakeSerialPort &port)
{
    port.openResults.insert(QStringLiteral("/dev/ttyS0"), ui::SerialPort::OpenResult::Opened);
    port.setPortName(QStringLiteral("/dev/ttyS0"));
    return port.open() == ui::SerialPort::OpenResult::Opened;
}

struct ViewsSpy final : realtime::Views
{
    QStringList calls;
    bool ohmGraphVisible() const override { return true; }
    bool voltGraphVisible() const override { return true; }
    void closeOhmGraph() override { calls << "closeOhm"; }
    void closeVoltGraph() override { calls << "closeVolt"; }
    void showGraphs(int interval) override { calls << QStringLiteral("showGraphs %1").arg(interval); }
    void closeList() override { calls << "closeList"; }
    void showList() override { calls << "showList"; }
};

} // namespace

class TestLivePoll : public QObject
{
    Q_OBJECT
private slots:
    void streamShownAndSilenceLosesTheLink_data();
    void streamShownAndSilenceLosesTheLink();
    void badFramesAreDropped_data();
    void badFramesAreDropped();
    void aWaitingTickIsNotRestarted();
    void brokenDeviceIsReopenedWithoutFlood();
    void portThatCannotOpenEndsTheProgram();
    void rangeChangeRestartsRunningViews();
    void pauseLeavesThePortAlone();
    void fiveAttemptsThenTheLinkIsLost_data();
    void fiveAttemptsThenTheLinkIsLost();
};

void TestLivePoll::streamShownAndSilenceLosesTheLink_data()
{
    QTest::addColumn<QString>("path"); // the device path chosen, if any
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("linked"); // the link label once the port is open
    QTest::addColumn<QString>("back");   // and once a byte ends a silence
    QTest::newRow("numbered port") << ""
                                   << "/dev/ttyS2"
                                   << "Com3"
                                   << "COM3";
    QTest::newRow("device path") << "/dev/ttyUSB0"
                                 << "/dev/ttyUSB0"
                                 << "Com ttyUSB0"
                                 << "COM ttyUSB0";
}

void TestLivePoll::streamShownAndSilenceLosesTheLink()
{
    QFETCH(QString, path);
    QFETCH(QString, back);
    Rig rig;
    rig.state.ComPortPath = path;
    if (!path.isEmpty())
        rig.port.openResults.insert(path, ui::SerialPort::OpenResult::Opened);
    QVERIFY(rig.panel->load());
    QTEST(rig.port.portName(), "device");
    QTEST(rig.label("LblCom"), "linked");
    QCOMPARE(rig.panel->windowTitle(), QStringLiteral("Dorvel   V10.05"));
    QCOMPARE(rig.state.SampleSeconds, 2);
    QCOMPARE(rig.state.SampleClock, QStringLiteral("2024/03/05 14:07:09"));
    QVERIFY(rig.label("ValOhm").isEmpty());
    {
        Meter meter(rig.port, frame(2500, 3700, 3), 10);
        QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("25.00"));
        QCOMPARE(rig.label("ValVoltage"), QStringLiteral("3.700"));
        QVERIFY(rig.milliShown());
        meter.bytes = frame(1500, 1500, 1 | 4);
        QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("1.500"));
        QCOMPARE(rig.label("ValVoltage"), QStringLiteral("15.00"));
        QVERIFY(!rig.milliShown());
        QTEST(rig.label("LblCom"), "linked");
    }
    // Five empty waits of 100 ms: the link is lost, the reading stays.
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("No COM"), 2000);
    QCOMPARE(rig.label("ValOhm"), QStringLiteral("1.500"));
    QCOMPARE(rig.panel->poll().phase(), meter::LivePoll::Phase::NoData);

    // One byte ends the silence; the next tick reads a frame.
    rig.port.feed(QByteArray(1, '\x55'));
    QCOMPARE(rig.label("LblCom"), back);
    QCOMPARE(rig.port.bytesAvailable(), 0);
    Meter meter(rig.port, frame(999, 999, 2), 10);
    QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("99.9"));
}

void TestLivePoll::badFramesAreDropped_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("wrong first byte") << frame(1, 1, 0, 0x05, 0x03);
    QTest::newRow("wrong last byte") << frame(1, 1, 0, 0x02, 0x02);
    QTest::newRow("two frames at once") << frame(1, 1, 0) + frame(1, 1, 0);
    QTest::newRow("six bytes") << frame(1, 1, 0).left(6);
    QTest::newRow("garbage") << QByteArray("\xff\x00\x13\x37\x02\x03\x03\x02\x00", 9);
}

void TestLivePoll::badFramesAreDropped()
{
    QFETCH(QByteArray, bytes);
    Rig rig;
    QVERIFY(rig.panel->load());
    {
        Meter meter(rig.port, bytes, 10);
        QTest::qWait(250);
    }
    QVERIFY(rig.label("ValOhm").isEmpty());
    // Any frame with the right first and last bytes is taken, whatever it holds.
    Meter meter(rig.port, frame(0xFFFF, 0xFFFF, 0xFF), 10);
    QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("----"));
    QCOMPARE(rig.label("ValVoltage"), QStringLiteral("-OL"));
}

void TestLivePoll::aWaitingTickIsNotRestarted()
{
    // Ticks come every millisecond, but one attempt waits 25 ms and owns the buffer
    // meanwhile: a flush per attempt, not per tick, so a silent meter is lost after exactly
    // five flushes (a tick that restarted the wait would flush and reset the count instead).
    FakeSerialPort port;
    QVERIFY(openPort(port));
    core::Reading reading;
    meter::LivePoll poll(port, reading, {1, 25, 1000});
    int clearsWhenLost = -1;
    QObject::connect(&poll, &meter::LivePoll::linkLost, [&] { clearsWhenLost = port.clearCalls; });
    poll.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(clearsWhenLost >= 0, 5000);
    QCOMPARE(clearsWhenLost, 5);
    // Lost, the poll waits for any byte: the ticks that keep coming flush nothing.
    QTest::qWait(50);
    QCOMPARE(port.clearCalls, 5);
    QVERIFY(poll.isEnabled());
}

void TestLivePoll::brokenDeviceIsReopenedWithoutFlood()
{
    Rig rig;
    QVERIFY(rig.panel->load());
    Meter meter(rig.port, frame(2500, 3700, 3), 10);
    QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("25.00"));

    rig.port.openResults.clear(); // the adapter is gone
    const int opensBefore = rig.port.openCalls;
    QList<qint64> triedAtMs;
    QElapsedTimer clock;
    clock.start();
    rig.port.onOpen = [&](int) { triedAtMs << clock.elapsed(); };
    rig.port.breakDevice();
    QCOMPARE(rig.label("LblCom"), QStringLiteral("No COM"));
    // The last values stay, dimmed, until a new reading comes.
    QCOMPARE(rig.label("ValOhm"), QStringLiteral("25.00"));
    QVERIFY(rig.panel->face().isReadingStale());
    // One try a reopen interval (50 ms here), not a loop: the first only after an interval,
    // and never two closer than one (less the 5 % a coarse timer may fire early).
    QTRY_VERIFY_WITH_TIMEOUT(triedAtMs.size() >= 4, 10000);
    QVERIFY2(triedAtMs.first() >= 47, qPrintable(QString::number(triedAtMs.first())));
    for (qsizetype i = 1; i < triedAtMs.size(); ++i)
        QVERIFY2(triedAtMs[i] - triedAtMs[i - 1] >= 47,
                 qPrintable(QStringLiteral("try %1 after %2 ms").arg(i).arg(triedAtMs[i] - triedAtMs[i - 1])));
    QCOMPARE(rig.port.openCalls - opensBefore, triedAtMs.size());
    QCOMPARE(rig.label("LblCom"), QStringLiteral("No COM"));

    rig.port.openResults.insert(QStringLiteral("/dev/ttyS2"), ui::SerialPort::OpenResult::Opened);
    QTRY_COMPARE(rig.label("LblCom"), QStringLiteral("COM3"));
    meter.bytes = frame(1111, 3700, 3);
    QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("11.11"));
    QVERIFY(!rig.panel->face().isReadingStale());
}

void TestLivePoll::portThatCannotOpenEndsTheProgram()
{
    Rig rig;
    rig.state.ComPortNumber = 7; // nothing at /dev/ttyS6
    rig.panel->show();
    QVERIFY(!rig.panel->load());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("COM Port Open Error !!!"));
    QCOMPARE(rig.dialogs.messages[0].icon, ui::Dialogs::Icon::Critical);
    QVERIFY(!rig.panel->isVisible());
    QVERIFY(!rig.panel->poll().isEnabled());

    Rig never; // no port chosen at all: port 0
    never.state.ComPortNumber = 0;
    never.port.openResults.insert(QStringLiteral("/dev/ttyS-1"), ui::SerialPort::OpenResult::Opened);
    QVERIFY(!never.panel->load());
    QCOMPARE(never.dialogs.messages.size(), 1);
}

void TestLivePoll::rangeChangeRestartsRunningViews()
{
    core::AppState s;
    ViewsSpy views;
    DecodeStatus(s.reading, 3);
    // Nothing runs: a range change touches nothing.
    s.GraphRangeCode = 1;
    s.ListRangeCode = 1;
    realtime::restartViewsOnRangeChange(s, views, 150);
    QVERIFY(views.calls.isEmpty());

    // The list runs under another range: closed and shown again under the new one.
    s.ListOn = true;
    realtime::restartViewsOnRangeChange(s, views, 150);
    QCOMPARE(views.calls, QStringList({"closeList", "showList"}));
    QCOMPARE(int(s.ListRangeCode), 3);
    QVERIFY(s.ListOn);

    // Same range again: no restart.
    views.calls.clear();
    realtime::restartViewsOnRangeChange(s, views, 150);
    QVERIFY(views.calls.isEmpty());

    // Graphs under another range: both closed, restarted with the new axis limits.
    s.GraphOn = true;
    DecodeStatus(s.reading, 2 | 4);
    s.ListOn = false;
    realtime::restartViewsOnRangeChange(s, views, 150);
    QCOMPARE(views.calls, QStringList({"closeOhm", "closeVolt", "showGraphs 150"}));
    QCOMPARE(int(s.GraphRangeCode), 6);
    QCOMPARE(int(s.GraphOhmMax), 400);
    QCOMPARE(int(s.GraphOhmMin), 0);
    QCOMPARE(int(s.GraphVoltMax), 40);
    QCOMPARE(int(s.GraphVoltMin), -40);
    QCOMPARE(s.GraphStep, 1.0f);
}

void TestLivePoll::pauseLeavesThePortAlone()
{
    Rig rig;
    QVERIFY(rig.panel->load());
    Meter meter(rig.port, frame(2500, 3700, 3), 10);
    QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("25.00"));
    {
        auto outer = rig.panel->poll().pause();
        {
            auto inner = rig.panel->poll().pause();
            // Asking the poll to run while a pause is held waits for the pause to end.
            rig.panel->poll().setEnabled(true);
        }
        QVERIFY(rig.panel->poll().isPaused());
        const int flushes = rig.port.clearCalls;
        meter.bytes = frame(1111, 3700, 3);
        QTest::qWait(150);
        // No tick flushed the buffer and no frame was taken from it.
        QCOMPARE(rig.port.clearCalls, flushes);
        QCOMPARE(rig.label("ValOhm"), QStringLiteral("25.00"));
        QVERIFY(rig.port.bytesAvailable() > 7);
    }
    QVERIFY(!rig.panel->poll().isPaused());
    QVERIFY(rig.panel->poll().isEnabled());
    QTRY_COMPARE(rig.label("ValOhm"), QStringLiteral("11.11"));

    // A broken device is not reopened behind the holder's back, and is after it.
    rig.port.openResults.clear();
    rig.port.breakDevice();
    const int opens = rig.port.openCalls;
    {
        auto pause = rig.panel->poll().pause();
        QTest::qWait(150);
        QCOMPARE(rig.port.openCalls, opens);
    }
    QTRY_VERIFY(rig.port.openCalls > opens);
}

void TestLivePoll::fiveAttemptsThenTheLinkIsLost_data()
{
    QTest::addColumn<int>("frameInAttempt"); // 0: the meter stays silent
    QTest::addColumn<bool>("lost");
    QTest::newRow("silent meter") << 0 << true;
    QTest::newRow("frame in the first attempt") << 1 << false;
    QTest::newRow("frame in the fourth attempt") << 4 << false;
    // The fifth wait decides that the link is lost, even when it did see a frame.
    QTest::newRow("frame in the fifth attempt") << 5 << true;
}

void TestLivePoll::fiveAttemptsThenTheLinkIsLost()
{
    // Counted by the attempts' flushes, not by the clock, so a slow machine sees the same.
    QFETCH(int, frameInAttempt);
    QFETCH(bool, lost);
    FakeSerialPort port;
    QVERIFY(openPort(port));
    core::Reading reading;
    meter::LivePoll poll(port, reading, {5, 20, 1000});
    port.onClear = [&](int clears) {
        if (clears == frameInAttempt)
            QTimer::singleShot(0, &port, [&] { port.feed(frame(2500, 3700, 3)); });
    };
    // The first outcome stops the poll, so later ticks cannot blur the count.
    int clearsWhenLost = -1, clearsWhenDecoded = -1;
    QObject::connect(&poll, &meter::LivePoll::linkLost, [&] {
        clearsWhenLost = port.clearCalls;
        poll.setEnabled(false);
    });
    QObject::connect(&poll, &meter::LivePoll::readingDecoded, [&] {
        clearsWhenDecoded = port.clearCalls;
        poll.setEnabled(false);
    });

    poll.setEnabled(true);
    QTRY_VERIFY_WITH_TIMEOUT(clearsWhenLost >= 0 || clearsWhenDecoded >= 0, 5000);
    if (lost) {
        // One flush per attempt, five attempts, and the tick ends there.
        QCOMPARE(clearsWhenLost, 5);
        QCOMPARE(clearsWhenDecoded, -1);
    } else {
        QCOMPARE(clearsWhenLost, -1);
        QCOMPARE(clearsWhenDecoded, frameInAttempt);
        QCOMPARE(reading.OhmText, QStringLiteral("25.00"));
    }
}

QTEST_MAIN(TestLivePoll)
#include "tst_livepoll.moc"
