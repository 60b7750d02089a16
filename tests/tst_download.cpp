#include "core/AppState.h"
#include "logger/MemoryDownload.h"
#include "meter/LivePoll.h"
#include "support/LoggerImages.h"
#include "ui/fakes/FakeSerialPort.h"

#include <QtTest>

using logger::MemoryDownload;
using Outcome = MemoryDownload::Outcome;

namespace {

constexpr int WaitMs = 20;
constexpr int SilenceMs = 150;

struct Rig
{
    ui::FakeSerialPort port;
    core::AppState state;
    meter::LivePoll poll{port, state.reading, {150, 1000, 1000}};
    MemoryDownload download{port, poll, state, {WaitMs, SilenceMs}};
    QStringList messages;
    QStringList remains;
    QStringList rows;
    QList<Outcome> outcomes;

    Rig()
    {
        port.openResults.insert(QStringLiteral("/dev/meter"), ui::SerialPort::OpenResult::Opened);
        port.setPortName(QStringLiteral("/dev/meter"));
        port.open();
        poll.setEnabled(true);
        QObject::connect(&download, &MemoryDownload::message, [this](const QString &t) { messages.append(t); });
        QObject::connect(&download, &MemoryDownload::remain, [this](const QString &t) { remains.append(t); });
        QObject::connect(&download, &MemoryDownload::blocksFound, [this](const QStringList &r) { rows = r; });
        QObject::connect(&download, &MemoryDownload::finished, [this](Outcome o) { outcomes.append(o); });
    }
    bool ended()
    {
        return QTest::qWaitFor([this] { return !outcomes.isEmpty(); }, 2000);
    }
    // While running: the poll is off, the port is the download's.
    bool holdsThePort() const { return state.DownloadBusy && poll.isPaused() && !poll.isEnabled(); }
    // After every end: the poll runs and the flag is down.
    bool released() const { return !state.DownloadBusy && !poll.isPaused() && poll.isEnabled(); }
};

} // namespace

// The download against a port under the test's control, with short waits.
class TestDownload : public QObject
{
    Q_OBJECT
private slots:
    void answerInManyChunks();
    void askedAgainUntilAnswered_data();
    void askedAgainUntilAnswered();
    void emptyMemory();
    void liveFramesBeforeTheHead_data();
    void liveFramesBeforeTheHead();
    void answerGivesWayToLiveFrames_data();
    void answerGivesWayToLiveFrames();
    void badAnswers_data();
    void badAnswers();
    void serialFailureMidway();
    void secondStartWhileBusyDoesNothing();
    void abandonedByItsOwner();
};

void TestDownload::answerInManyChunks()
{
    Rig rig;
    const QByteArray memory = images::block(2, 0x03, 120) + images::block(10, 0x06, 40);
    const QByteArray answer = images::answer(memory);
    QVERIFY(rig.download.start());
    QCOMPARE(rig.port.written, QByteArray("U"));
    QVERIFY(rig.holdsThePort());
    // What arrives during the wait waits in the port.
    rig.port.feed(answer.left(100));
    QTRY_VERIFY(!rig.messages.isEmpty());
    QCOMPARE(rig.messages.first(), logger::progressText(100, answer.size()));
    for (qsizetype at = 100; at < answer.size(); at += 97) {
        QVERIFY(rig.holdsThePort());
        rig.port.feed(answer.mid(at, 97));
    }
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Listed});
    QCOMPARE(rig.messages.last(), QStringLiteral("100.0 % Completed"));
    QCOMPARE(rig.messages.size(), 1 + int((answer.size() - 100 + 96) / 97));
    QCOMPARE(rig.remains, QStringList{logger::remainText(17152 + int(memory.size()))});
    QCOMPARE(rig.rows, QStringList({"1\t40m Ohm\t4 Voltage\t2\t120", "2\t400m Ohm\t40 Voltage\t10\t40"}));
    QVERIFY(rig.released());
    QCOMPARE(rig.port.written, QByteArray("U"));
    QCOMPARE(rig.state.MemoryImage, answer.left(answer.size() - 1) + memory.left(5));
    QCOMPARE(rig.state.BlockOhmRange[1], int16_t(40));
    QCOMPARE(rig.state.BlockOhmRange[2], int16_t(400));
    QCOMPARE(rig.state.BlockVoltRange[2], int16_t(40));
    QCOMPARE(rig.state.BlockNo, 3.0);
    QCOMPARE(rig.state.BlockRecords, 40.0);
}

void TestDownload::askedAgainUntilAnswered_data()
{
    QTest::addColumn<QByteArrayList>("instead"); // what the meter sends instead of the answer
    QTest::addColumn<int>("requests");           // the requests seen before it answers
    QTest::newRow("silence") << QByteArrayList() << 3;
    QTest::newRow("a live frame") << QByteArrayList{QByteArray::fromHex("0204D20E7403"), QByteArray::fromHex("03")}
                                  << 2;
}

void TestDownload::askedAgainUntilAnswered()
{
    QFETCH(QByteArrayList, instead);
    QFETCH(int, requests);
    Rig rig;
    QVERIFY(rig.download.start());
    for (const QByteArray &bytes : instead)
        rig.port.feed(bytes);
    QTRY_VERIFY(rig.port.written.size() >= requests);
    QVERIFY(rig.holdsThePort());
    QVERIFY(rig.outcomes.isEmpty());
    QCOMPARE(rig.messages.last(), QStringLiteral("Waiting for the meter to answer..."));
    // Old bytes are thrown away before each request.
    const int clears = rig.port.clearCalls;
    QTRY_VERIFY(rig.port.clearCalls > clears);
    rig.port.feed(images::answer(images::block(1, 0x01, 3)));
    QVERIFY(rig.ended());
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Listed});
    QCOMPARE(rig.rows, QStringList{"1\t4 Ohm\t4 Voltage\t1\t3"});
    QCOMPARE(rig.download.requests(), int(rig.port.written.size()));
    QVERIFY(rig.port.written.count('U') == rig.port.written.size());
    QVERIFY(rig.released());
}

void TestDownload::liveFramesBeforeTheHead_data()
{
    QTest::addColumn<QByteArray>("first"); // what came after the first request
    QTest::addColumn<int>("requests");     // before the answer is read
    const QByteArray frame = QByteArray::fromHex("0209C40E740003");
    const QByteArray answer = images::answer(images::block(1, 0x01, 3));
    QTest::newRow("two frames") << frame + frame << 2;
    QTest::newRow("a frame and a half") << frame + frame.left(3) << 2;
    QTest::newRow("the end of one and a frame") << frame.mid(3) + frame << 2;
    // Once it has begun the answer comes in one go, live frames waiting behind it.
    QTest::newRow("a frame, then the answer") << frame + answer << 1;
    QTest::newRow("the end of one, a frame, then the answer") << frame.mid(5) + frame + answer << 1;
}

void TestDownload::liveFramesBeforeTheHead()
{
    QFETCH(QByteArray, first);
    QFETCH(int, requests);
    const QByteArray answer = images::answer(images::block(1, 0x01, 3));
    Rig rig;
    QVERIFY(rig.download.start());
    rig.port.feed(first);
    if (requests > 1) {
        // Asked again, and again every wait while nothing comes.
        QTRY_VERIFY(rig.port.written.size() >= requests);
        QVERIFY(rig.outcomes.isEmpty());
        QCOMPARE(rig.messages.value(0), QStringLiteral("Waiting for the meter to answer..."));
        rig.port.feed(answer);
    }
    QVERIFY(rig.ended());
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Listed});
    QCOMPARE(rig.rows, QStringList{"1\t4 Ohm\t4 Voltage\t1\t3"});
    if (requests == 1)
        QCOMPARE(rig.port.written, QByteArray("U"));
    QCOMPARE(rig.port.written, QByteArray(rig.download.requests(), 'U'));
    QCOMPARE(rig.state.MemoryImage.left(answer.size() - 1), answer.left(answer.size() - 1));
    QVERIFY(rig.released());
}

void TestDownload::answerGivesWayToLiveFrames_data()
{
    QTest::addColumn<int>("came");   // bytes of the answer before the frames
    QTest::addColumn<int>("frames"); // fed at once; 0: one every 10 ms until it ends
    QTest::addColumn<QString>("message");
    // 48,128 bytes announced: 0x4300 + 48,124.
    QTest::newRow("a long answer, frames for good")
        << 12480 << 0 << "The meter stopped answering after 12,480 of 48,128 bytes.";
    QTest::newRow("frames up to the length")
        << 48120 << 3 << "The meter stopped answering after 48,120 of 48,128 bytes.";
    QTest::newRow("right after the head") << 3 << 0 << "The meter stopped answering after 3 of 48,128 bytes.";
}

void TestDownload::answerGivesWayToLiveFrames()
{
    QFETCH(int, came);
    QFETCH(int, frames);
    QFETCH(QString, message);
    const QByteArray frame = QByteArray::fromHex("0209C40E740003");
    QByteArray memory = images::block(2, 0x03, (48124 - 5) / 5);
    memory += QByteArray(48124 - memory.size(), char(0x03));
    const QByteArray answer = images::answer(memory);
    QCOMPARE(answer.size(), 48128);
    Rig rig;
    QVERIFY(rig.download.start());
    rig.port.feed(answer.left(came));
    QTRY_VERIFY(!rig.messages.isEmpty()); // the head is read: the answer has begun
    QTimer stream;
    QObject::connect(&stream, &QTimer::timeout, [&] { rig.port.feed(frame); });
    if (frames == 0)
        stream.start(10);
    for (int i = 0; i < frames; ++i)
        rig.port.feed(frame);
    QVERIFY(rig.ended());
    stream.stop();
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Failed});
    QCOMPARE(rig.messages.last(), message);
    QVERIFY(rig.rows.isEmpty());
    QCOMPARE(rig.port.written, QByteArray("U"));
    QVERIFY(rig.released());
}

void TestDownload::emptyMemory()
{
    Rig rig;
    QVERIFY(rig.download.start());
    rig.port.feed(images::answer({}));
    QVERIFY(rig.ended());
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Empty});
    QCOMPARE(rig.messages, QStringList{"100.0 % Completed"});
    QVERIFY(rig.remains.isEmpty());
    QVERIFY(rig.rows.isEmpty());
    QVERIFY(rig.released());
}

void TestDownload::badAnswers_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("lastMessage");

    QTest::newRow("first chunk of two bytes") << QByteArray::fromHex("0044") << 0 << "";
    QTest::newRow("address below the memory") << QByteArray::fromHex("0000640055AA00020000000003") << 0 << "";
    QTest::newRow("address past the memory") << QByteArray::fromHex("00FF060055AA0002") << 0 << "";
    QTest::newRow("cut short") << images::answer(images::block(2, 0x03, 100)).left(300) << 0
                               << "The meter stopped answering after 300 of 509 bytes.";
    QTest::newRow("records past the end")
        << images::answer(images::block(2, 0x03, 2) + images::block(1, 1, 2) + "xy") << 1 << "100.0 % Completed";
    QTest::newRow("a 513th block") << images::answer(images::manyBlocks(513)) << 512 << "100.0 % Completed";
}

void TestDownload::badAnswers()
{
    QFETCH(QByteArray, answer);
    QFETCH(int, rows);
    QFETCH(QString, lastMessage);
    Rig rig;
    QVERIFY(rig.download.start());
    rig.port.feed(answer);
    QVERIFY(rig.ended());
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Failed});
    QCOMPARE(rig.rows.size(), rows);
    QCOMPARE(rig.messages.value(rig.messages.size() - 1), lastMessage);
    QCOMPARE(rig.port.written, QByteArray("U"));
    QVERIFY(rig.released());
}

void TestDownload::serialFailureMidway()
{
    Rig rig;
    QVERIFY(rig.download.start());
    rig.port.feed(images::answer(images::block(2, 0x03, 100)).left(200));
    QTRY_VERIFY(!rig.messages.isEmpty());
    rig.port.breakDevice();
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Failed});
    QVERIFY(!rig.state.DownloadBusy && !rig.poll.isPaused());
    // The poll's own recovery takes the broken device over.
    QCOMPARE(rig.poll.phase(), meter::LivePoll::Phase::Reopening);
}

void TestDownload::secondStartWhileBusyDoesNothing()
{
    Rig rig;
    QVERIFY(rig.download.start());
    QVERIFY(!rig.download.start());
    // Another download on the same state, as a second window would have.
    MemoryDownload other(rig.port, rig.poll, rig.state, {WaitMs, SilenceMs});
    QVERIFY(!other.start());
    QCOMPARE(rig.port.written, QByteArray("U"));
    rig.port.feed(images::answer(images::block(1, 0x01, 3)));
    QVERIFY(rig.ended());
    QVERIFY(rig.released());
}

void TestDownload::abandonedByItsOwner()
{
    Rig rig;
    // The poll was switched off by the command bar before the download began: it runs
    // again after the download all the same.
    rig.poll.setEnabled(false);
    QVERIFY(rig.download.start());
    rig.download.abandon();
    QCOMPARE(rig.outcomes, QList<Outcome>{Outcome::Abandoned});
    QVERIFY(rig.released());
    // Bytes that come late go to nobody.
    rig.port.feed(images::answer(images::block(1, 0x01, 3)));
    QTest::qWait(3 * WaitMs);
    QCOMPARE(rig.outcomes.size(), 1);

    auto *dying = new MemoryDownload(rig.port, rig.poll, rig.state, {WaitMs, SilenceMs});
    QVERIFY(dying->start());
    QVERIFY(rig.holdsThePort());
    delete dying;
    QVERIFY(rig.released());
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
