#include "logger/MemoryImage.h"
#include "support/LoggerImages.h"

#include <QtTest>

using namespace logger;

namespace {

QByteArray imageOf(const QByteArray &memory)
{
    const QByteArray a = images::answer(memory);
    return closeImage(a, int(a.size()));
}

QStringList rowsOf(const BlockScan &scan)
{
    QStringList rows;
    for (const BlockRow &b : scan.blocks)
        rows.append(b.rowText());
    return rows;
}

} // namespace

// The memory image: its head, its blocks and their segments, and the download's captions.
class TestMemoryImage : public QObject
{
    Q_OBJECT
private slots:
    void headGivesTheEndAddressAndLength();
    void imageIsClosedByTheFirstHeaderUnit();
    void scan_data();
    void scan();
    void scanStopsAfterTheFiveHundredTwelfthBlock();
    void segments();
    void progress_data();
    void progress();
    void remain_data();
    void remain();
    void answerStartPassesOverLiveFrames_data();
    void answerStartPassesOverLiveFrames();
    void liveFrameTail_data();
    void liveFrameTail();
};

void TestMemoryImage::headGivesTheEndAddressAndLength()
{
    QVERIFY(!answerHead(QByteArray::fromHex("0044")));
    const auto head = answerHead(QByteArray::fromHex("0044F4"));
    QVERIFY(head);
    QCOMPARE(head->P, 17652);
    QCOMPARE(head->T, 504);
    QVERIFY(headFits(*head));
    QCOMPARE(answerHead(QByteArray::fromHex("004300"))->T, 4);
    QVERIFY(headFits({17152, 4}));
    QVERIFY(headFits({65285, 48137}));
    QVERIFY(!headFits({65286, 48138}));
    // A live frame read as a head: the resistance count is no memory address.
    QVERIFY(!headFits(*answerHead(QByteArray::fromHex("0204D20E7403"))));
}

void TestMemoryImage::imageIsClosedByTheFirstHeaderUnit()
{
    const QByteArray memory = images::block(2, 3, 1);
    const QByteArray a = images::answer(memory);
    const QByteArray image = closeImage(a, int(a.size()));
    QCOMPARE(image, a.left(a.size() - 1) + images::marker() + char(2));
    // Bytes past the answer's length are not part of it.
    QCOMPARE(closeImage(a + QByteArray::fromHex("02AABB"), int(a.size())), image);
}

void TestMemoryImage::scan_data()
{
    QTest::addColumn<QByteArray>("image");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<bool>("complete");

    QTest::newRow("empty memory") << imageOf({}) << QStringList() << true;
    QTest::newRow("two blocks, each its own ranges")
        << imageOf(images::block(2, 0x03, 120) + images::block(10, 0x06, 40))
        << QStringList({"1\t40m Ohm\t4 Voltage\t2\t120", "2\t400m Ohm\t40 Voltage\t10\t40"}) << true;
    QTest::newRow("all four ranges from the status bits")
        << imageOf(images::block(1, 0x00, 1) + images::block(1, 0x01, 1) + images::block(1, 0xF5, 1)
                   + images::block(255, 0x0B, 1))
        << QStringList({"1\t40 Ohm\t4 Voltage\t1\t1", "2\t4 Ohm\t4 Voltage\t1\t1", "3\t4 Ohm\t40 Voltage\t1\t1",
                        "4\t40m Ohm\t4 Voltage\t255\t1"})
        << true;
    QTest::newRow("a block without records between two")
        << imageOf(images::block(2, 0x03, 3) + images::block(5, 0x03, 0) + images::block(10, 0x05, 2))
        << QStringList({"1\t40m Ohm\t4 Voltage\t2\t3", "2\t\t\t5\t0", "3\t4 Ohm\t40 Voltage\t10\t2"}) << true;
    QTest::newRow("the last block ends at 03 03 03 03")
        << imageOf(images::block(2, 0x03, 2) + images::block(1, 0x01, 4) + QByteArray(4, 0x03))
        << QStringList({"1\t40m Ohm\t4 Voltage\t2\t2", "2\t4 Ohm\t4 Voltage\t1\t4"}) << true;
    QTest::newRow("records running past the end")
        << imageOf(images::block(2, 0x03, 2) + images::block(1, 0x01, 4) + QByteArray::fromHex("1122"))
        << QStringList({"1\t40m Ohm\t4 Voltage\t2\t2"}) << false;
    QTest::newRow("an image cut inside the first header")
        << QByteArray::fromHex("0043100055AA000203") << QStringList() << false;
}

void TestMemoryImage::scan()
{
    QFETCH(QByteArray, image);
    QFETCH(QStringList, rows);
    QFETCH(bool, complete);
    const BlockScan result = scanBlocks(image);
    QCOMPARE(rowsOf(result), rows);
    QCOMPARE(result.complete, complete);
}

void TestMemoryImage::scanStopsAfterTheFiveHundredTwelfthBlock()
{
    const BlockScan full = scanBlocks(imageOf(images::manyBlocks(512)));
    QVERIFY(full.complete);
    QCOMPARE(full.blocks.size(), 512);
    QCOMPARE(full.blocks.last().number, 512);
    QCOMPARE(full.blocks.last().ohmRange, QStringLiteral("40m Ohm")); // 511 % 8 = 7
    QCOMPARE(full.blocks.last().voltRange, QStringLiteral("40 Voltage"));

    const BlockScan over = scanBlocks(imageOf(images::manyBlocks(513)));
    QVERIFY(!over.complete);
    QCOMPARE(over.blocks.size(), 512);
}

void TestMemoryImage::segments()
{
    const QByteArray image = imageOf(images::block(2, 0x03, 3) + images::block(5, 0x03, 0) + images::block(60, 0x01, 4)
                                     + QByteArray(4, 0x03));
    const auto first = blockSegment(image, 1);
    QVERIFY(first);
    QCOMPARE(*first, QByteArray(1, 2) + images::block(2, 0x03, 3).mid(5) + images::marker() + char(5));
    QCOMPARE(segmentRecords(*first), 3);
    const auto empty = blockSegment(image, 2);
    QVERIFY(empty);
    QCOMPARE(segmentRecords(*empty), 0);
    // The last block ends at the end mark, not at the copied header behind it.
    const auto last = blockSegment(image, 3);
    QVERIFY(last);
    QCOMPARE(segmentRecords(*last), 4);
    QCOMPARE(last->at(0), char(60));

    QVERIFY(!blockSegment(image, 0)); // the header row's "No.s"
    QVERIFY(!blockSegment(image, 4));
    QVERIFY(!blockSegment(image, -1));
    // A block whose records never meet a marker in step.
    QVERIFY(!blockSegment(images::answer(images::block(2, 3, 2) + "xy"), 1));
    QVERIFY(!blockSegment(QByteArray(), 1));
}

void TestMemoryImage::progress_data()
{
    QTest::addColumn<int>("received");
    QTest::addColumn<int>("total");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing yet") << 0 << 504 << ".0 % Completed";
    QTest::newRow("one half percent") << 5 << 1000 << ".5 % Completed";
    QTest::newRow("rounded up") << 2 << 3 << "66.7 % Completed";
    QTest::newRow("exactly all") << 504 << 504 << "100.0 % Completed";
    QTest::newRow("rounds down to 100.0") << 10004 << 10000 << "100.0 % Completed";
    QTest::newRow("past all") << 505 << 504 << "100 % Completed";
    QTest::newRow("length not known") << 7 << -7148 << "";
}

void TestMemoryImage::progress()
{
    QFETCH(int, received);
    QFETCH(int, total);
    QFETCH(QString, text);
    QCOMPARE(progressText(received, total), text);
}

void TestMemoryImage::remain_data()
{
    QTest::addColumn<int>("P");
    QTest::addColumn<QString>("text");
    QTest::newRow("500 bytes stored") << 17652 << "46.5K";
    QTest::newRow("empty") << 17152 << "47.0K";
    QTest::newRow("full") << 65285 << "0.0K";
    QTest::newRow("a half tenth rounds up") << 65285 - 52 << "0.1K";
    QTest::newRow("just below a half tenth") << 65285 - 51 << "0.0K";
}

void TestMemoryImage::remain()
{
    QFETCH(int, P);
    QFETCH(QString, text);
    QCOMPARE(remainText(P), text);
}

void TestMemoryImage::answerStartPassesOverLiveFrames_data()
{
    using Kind = AnswerStart::Kind;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("skip");
    QTest::addColumn<int>("P");
    // A live frame: 0x02, resistance and voltage counts, status, 0x03.
    const QByteArray frame = QByteArray::fromHex("0209C40E740003");
    const QByteArray answer = images::answer(images::block(2, 0x03, 3));
    const int P = 17152 + 5 + 15;
    QTest::newRow("nothing") << QByteArray() << int(Kind::NeedMore) << 0 << 0;
    QTest::newRow("a frame begun") << frame.left(4) << int(Kind::NeedMore) << 0 << 0;
    QTest::newRow("two bytes") << QByteArray::fromHex("0043") << int(Kind::NeedMore) << 0 << 0;
    QTest::newRow("one frame") << frame << int(Kind::LiveFrames) << 7 << 0;
    QTest::newRow("three frames") << frame + frame + frame << int(Kind::LiveFrames) << 21 << 0;
    QTest::newRow("a frame and a half") << frame + frame.left(3) << int(Kind::LiveFrames) << 7 << 0;
    QTest::newRow("the end of a frame, then one") << frame.mid(4) + frame << int(Kind::LiveFrames) << 10 << 0;
    QTest::newRow("the answer") << answer << int(Kind::Head) << 0 << P;
    QTest::newRow("a frame, then the answer") << frame + answer << int(Kind::Head) << 7 << P;
    QTest::newRow("the end of a frame, one, then the answer")
        << frame.mid(2) + frame + answer << int(Kind::Head) << 12 << P;
    QTest::newRow("an empty memory") << QByteArray::fromHex("00430003") << int(Kind::Head) << 0 << 17152;
    QTest::newRow("an empty memory, then live frames")
        << QByteArray::fromHex("00430003") + frame + frame << int(Kind::Head) << 0 << 17152;
    QTest::newRow("a frame, then an empty memory")
        << frame + QByteArray::fromHex("00430003") << int(Kind::Head) << 7 << 17152;
    // Not a frame and not an answer: read as a head, which then does not fit the memory.
    QTest::newRow("garbage") << QByteArray::fromHex("0102030405060708") << int(Kind::Head) << 0 << 0x0203;
}

void TestMemoryImage::answerStartPassesOverLiveFrames()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(int, skip);
    QFETCH(int, P);
    const AnswerStart start = answerStart(bytes);
    QCOMPARE(int(start.kind), kind);
    QCOMPARE(int(start.skip), skip);
    if (start.kind == AnswerStart::Kind::Head) {
        QCOMPARE(start.head.P, P);
        QCOMPARE(start.head.T, P - 17148);
    }
}

void TestMemoryImage::liveFrameTail_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("tail");
    const QByteArray frame = QByteArray::fromHex("0209C40E740003");
    const QByteArray part = images::answer(images::block(2, 0x03, 60)).left(300);
    QTest::newRow("nothing") << QByteArray() << 0;
    QTest::newRow("answer only") << part << 0;
    QTest::newRow("answer and a 0x02") << part + QByteArray(1, 0x02) << 0;
    QTest::newRow("answer and a frame begun") << part + frame.left(5) << 0;
    QTest::newRow("answer and a frame") << part + frame << 7;
    QTest::newRow("answer, two frames and a half") << part + frame + frame + frame.left(3) << 17;
    QTest::newRow("frames only") << frame + frame + frame << 21;
    QTest::newRow("a frame that ends wrong") << part + frame.left(6) + QByteArray(1, 0x04) << 0;
}

void TestMemoryImage::liveFrameTail()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, tail);
    QCOMPARE(int(logger::liveFrameTail(bytes)), tail);
}

QTEST_GUILESS_MAIN(TestMemoryImage)
#include "tst_memoryimage.moc"
