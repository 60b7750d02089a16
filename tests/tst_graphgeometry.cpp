#include "core/AppState.h"
#include "realtime/GraphGeometry.h"
#include "realtime/GraphRange.h"

#include <QtTest>

using realtime::GraphKind;
using realtime::Mark;

namespace {

core::Reading readingInRanges(uint8_t status)
{
    core::Reading r;
    core::DecodeStatus(r, status);
    return r;
}

// Pen positions of a whole sweep that carry a mark of the given kind.
QList<float> markedPositions(float step, float width, Mark kind)
{
    realtime::Sweep sweep;
    sweep.SweepX = -step;
    const realtime::GraphFrame frame = realtime::graphFrame(279);
    QList<float> positions;
    do {
        const realtime::SweepStep s = realtime::advanceSweep(sweep, frame, step, width, 10);
        if (s.mark == kind)
            positions << sweep.SweepX;
    } while (sweep.SweepX + step < width);
    return positions;
}

} // namespace

// The graphs' plot geometry, scale labels, point heights and pen, and the range entry's checks.
class TestGraphGeometry : public QObject
{
    Q_OBJECT
private slots:
    void widthIsAMultipleOf30_data();
    void widthIsAMultipleOf30();
    void scaleLabels_data();
    void scaleLabels();
    void labelsAndTicksArePlacedOnTheScale();
    void pointHeights_data();
    void pointHeights();
    void sweepWrapsWithoutJoining();
    void marksByRoundedPenPosition();
    void rangeChecksInOrder_data();
    void rangeChecksInOrder();
    void rangeOpensWithTheValuesInUse();
    void rangeIsAppliedRounded();
};

void TestGraphGeometry::widthIsAMultipleOf30_data()
{
    QTest::addColumn<int>("clientWidth");
    QTest::addColumn<float>("graphWidth");
    QTest::newRow("designed 285") << 285 << 240.f;
    QTest::newRow("exactly 30 over") << 70 << 30.f;
    QTest::newRow("one short of 60") << 99 << 30.f;
    QTest::newRow("60") << 100 << 60.f;
    QTest::newRow("wide") << 1000 << 960.f;
    QTest::newRow("no room") << 60 << 0.f;
    QTest::newRow("narrower than the margin") << 10 << 0.f;
    QTest::newRow("zero") << 0 << 0.f;
}

void TestGraphGeometry::widthIsAMultipleOf30()
{
    QFETCH(int, clientWidth);
    QFETCH(float, graphWidth);
    QCOMPARE(realtime::graphWidthFor(clientWidth), graphWidth);
}

void TestGraphGeometry::scaleLabels_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("min");
    QTest::addColumn<QStringList>("labels");
    QTest::newRow("40 Ohm") << int(GraphKind::Ohm) << 40 << 0 << QStringList{" 0", " 10", " 20", " 30", " 40"};
    QTest::newRow("400 mOhm") << int(GraphKind::Ohm) << 400 << 0 << QStringList{" 0", " 100", " 200", " 300", " 400"};
    QTest::newRow("4 Ohm, quarters") << int(GraphKind::Ohm) << 4 << 1
                                     << QStringList{" 1", " 1.75", " 2.5", " 3.25", " 4"};
    QTest::newRow("40 V") << int(GraphKind::Volt) << 40 << -40
                          << QStringList{"-40", "-30", "-20", "-10", " 0", " 10", " 20", " 30", " 40"};
    QTest::newRow("4 V, eighths") << int(GraphKind::Volt) << 4 << -4
                                  << QStringList{"-4", "-3", "-2", "-1", " 0", " 1", " 2", " 3", " 4"};
    QTest::newRow("1 V span") << int(GraphKind::Volt) << 1 << 0
                              << QStringList{" 0",     " 0.125", " 0.25",  " 0.375", " 0.5",
                                             " 0.625", " 0.75",  " 0.875", " 1"};
    QTest::newRow("below zero") << int(GraphKind::Volt) << -10 << -40
                                << QStringList{"-40",    "-36.25", "-32.5",  "-28.75", "-25",
                                               "-21.25", "-17.5",  "-13.75", "-10"};
    // The widest 16-bit span still gives exact labels.
    QTest::newRow("full 16 bits") << int(GraphKind::Volt) << 32767 << -32768
                                  << QStringList{"-32768",    "-24576.125", "-16384.25",  "-8192.375", "-0.5",
                                                 " 8191.375", " 16383.25",  " 24575.125", " 32767"};
}

void TestGraphGeometry::scaleLabels()
{
    QFETCH(int, kind);
    QFETCH(int, max);
    QFETCH(int, min);
    QFETCH(QStringList, labels);
    QCOMPARE(realtime::axisLabelTexts(GraphKind(kind), int16_t(max), int16_t(min)), labels);
}

void TestGraphGeometry::labelsAndTicksArePlacedOnTheScale()
{
    // Resistance at 285 x 279: five labels 44.75 px apart, centred on x = 18 and on their tick.
    const realtime::GraphFrame x = realtime::graphFrame(279);
    const QPointF x0 = realtime::axisLabelCorner(GraphKind::Ohm, x, 0, 10, 12);
    const QPointF x1 = realtime::axisLabelCorner(GraphKind::Ohm, x, 1, 10, 12);
    QCOMPARE(x0, QPointF(13, 246));
    QCOMPARE(x0.y() - x1.y(), 44.75);
    QCOMPARE(realtime::axisLabelCorner(GraphKind::Ohm, x, 4, 10, 12).y(), 252 - 6 - 179.0);
    const QList<QLineF> xTicks = realtime::axisTicks(GraphKind::Ohm, x);
    QCOMPARE(xTicks.size(), 9 + 5); // a short tick every eighth, a long one every quarter
    QCOMPARE(xTicks.first(), QLineF(38, 252, 33, 252));
    QCOMPARE(xTicks.at(1), QLineF(38, 252, 30, 252));
    QCOMPARE(xTicks.last(), QLineF(38, 73, 30, 73));
    QCOMPARE(realtime::gridLineYs(GraphKind::Ohm, x), (QList<double>{252 - 44.75, 252 - 89.5, 252 - 134.25}));
    // The unit, the axes, the voltage graph's grid and middle line, and the time marks and
    // their texts are found where they belong in the drawn pictures: tst_realtimegraph.

    // Voltage at 285 x 364: labels and long ticks 33 px apart, short ticks 16.5, labels a
    // quarter width right of centre.
    const realtime::GraphFrame y = realtime::graphFrame(364);
    const QPointF y0 = realtime::axisLabelCorner(GraphKind::Volt, y, 0, 20, 12);
    QCOMPARE(y0, QPointF(40 - 22 - 5, 337 - 6));
    QCOMPARE(y0.y() - realtime::axisLabelCorner(GraphKind::Volt, y, 1, 20, 12).y(), 33.0);
    const QList<QLineF> yTicks = realtime::axisTicks(GraphKind::Volt, y);
    QCOMPARE(yTicks.size(), 17 + 9);
    QCOMPARE(yTicks.at(2).y1(), 337 - 16.5); // the short tick of i = 1
    QCOMPARE(yTicks.at(2).x2(), 33.0);
    QCOMPARE(yTicks.at(4).y1(), 337 - 33.0); // the long tick of i = 2
    QCOMPARE(yTicks.at(4).x2(), 30.0);
}

void TestGraphGeometry::pointHeights_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("max");
    QTest::addColumn<int>("min");
    QTest::addColumn<double>("height");
    const int ohm = int(GraphKind::Ohm);
    const int volt = int(GraphKind::Volt);
    QTest::newRow("ohm mid") << ohm << "20.00" << 40 << 0 << 89.5;
    QTest::newRow("ohm top") << ohm << "40.00" << 40 << 0 << 179.0;
    QTest::newRow("ohm over range") << ohm << "OL" << 40 << 0 << 184.0;
    QTest::newRow("ohm above the top") << ohm << "12.34" << 10 << 0 << 184.0;
    QTest::newRow("ohm no reading") << ohm << "----" << 40 << 0 << -3.0;
    QTest::newRow("ohm below the bottom") << ohm << "1.50" << 40 << 2 << -3.0;
    QTest::newRow("ohm empty is 0") << ohm << "" << 40 << 0 << 0.0;
    QTest::newRow("volt zero") << volt << "0.000" << 40 << -40 << 89.5;
    QTest::newRow("volt negative") << volt << "-20.00" << 40 << -40 << 44.75;
    QTest::newRow("volt over range") << volt << "OL" << 40 << -40 << 184.0;
    QTest::newRow("volt negative over range") << volt << "-OL" << 40 << -40 << -3.0;
    // "-OL" counts as 0, above limits that lie wholly below zero: over-range comes first.
    QTest::newRow("volt -OL under negative limits") << volt << "-OL" << -10 << -40 << 184.0;
    QTest::newRow("volt ---- is only a number") << volt << "----" << 40 << -40 << 89.5;
    QTest::newRow("equal limits, on the limit") << volt << "3" << 3 << 3 << 0.0;
    QTest::newRow("equal limits, above") << ohm << "4" << 3 << 3 << 184.0;
}

void TestGraphGeometry::pointHeights()
{
    QFETCH(int, kind);
    QFETCH(QString, text);
    QFETCH(int, max);
    QFETCH(int, min);
    QFETCH(double, height);
    QCOMPARE(realtime::plotY(GraphKind(kind), text, int16_t(max), int16_t(min), 179.f), height);
}

void TestGraphGeometry::sweepWrapsWithoutJoining()
{
    const realtime::GraphFrame f = realtime::graphFrame(279);
    realtime::Sweep sweep;
    sweep.SweepX = -1;
    // The first step puts the pen at the left edge: no segment, a time mark.
    realtime::SweepStep s = realtime::advanceSweep(sweep, f, 1, 240, 0);
    QCOMPARE(sweep.SweepX, 0.f);
    QVERIFY(!s.segment);
    QCOMPARE(s.mark, Mark::Time);
    QCOMPARE(s.wipe, QRectF(QPointF(40, 252 - 179 - 5), QPointF(41, 255)));
    s = realtime::advanceSweep(sweep, f, 1, 240, 179);
    QVERIFY(s.segment);
    QCOMPARE(*s.segment, QLineF(40, 252, 41, 73));
    for (int i = 2; i < 240; ++i)
        s = realtime::advanceSweep(sweep, f, 1, 240, 50);
    QCOMPARE(sweep.SweepX, 239.f);
    QVERIFY(s.segment);
    // 240 steps make a sweep (36 s at 150 ms): the pen never stands at the width itself.
    s = realtime::advanceSweep(sweep, f, 1, 240, 50);
    QCOMPARE(sweep.SweepX, 0.f);
    QVERIFY(!s.segment);
    s = realtime::advanceSweep(sweep, f, 1, 240, 50);
    QCOMPARE(*s.segment, QLineF(40, 202, 41, 202));

    // No reading: the pen moves on, wipes and marks, but joins nothing; the next reading
    // starts a new trace.
    for (int i = 2; i < 30; ++i) {
        s = realtime::advanceSweep(sweep, f, 1, 240, std::nullopt);
        QVERIFY(!s.segment);
    }
    QCOMPARE(sweep.SweepX, 29.f);
    s = realtime::advanceSweep(sweep, f, 1, 240, std::nullopt);
    QCOMPARE(s.mark, Mark::Short);
    QCOMPARE(s.wipe, QRectF(QPointF(70, 68), QPointF(71, 255)));
    s = realtime::advanceSweep(sweep, f, 1, 240, 50);
    QVERIFY(!s.segment);
    s = realtime::advanceSweep(sweep, f, 1, 240, 60);
    QCOMPARE(*s.segment, QLineF(71, 202, 72, 192));

    // A narrower width from the twin window takes effect at the next step.
    for (int i = 0; i < 100; ++i)
        realtime::advanceSweep(sweep, f, 1, 240, 0);
    realtime::advanceSweep(sweep, f, 1, 60, 0);
    QCOMPARE(sweep.SweepX, 0.f);
}

void TestGraphGeometry::marksByRoundedPenPosition()
{
    QCOMPARE(markedPositions(1, 240, Mark::Time), (QList<float>{0, 60, 120, 180}));
    QCOMPARE(markedPositions(1, 240, Mark::Short), (QList<float>{30, 90, 150, 210}));
    // Half-pixel steps: 59.5, 60 and 60.5 all round to 60; 0.5 rounds to 0.
    QCOMPARE(markedPositions(0.5, 240, Mark::Time).mid(0, 5), (QList<float>{0, 0.5, 59.5, 60, 60.5}));
    QCOMPARE(markedPositions(0.5, 240, Mark::Short).mid(0, 3), (QList<float>{29.5, 30, 30.5}));
    // Seven-pixel steps pass 0, 7, 14, ...: only 0 and 210 are marked.
    QCOMPARE(markedPositions(7, 240, Mark::Time), QList<float>{0});
    QCOMPARE(markedPositions(7, 240, Mark::Short), QList<float>{210});
}

void TestGraphGeometry::rangeChecksInOrder_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("boxes"); // ohm max, ohm min, volt max, volt min, counts
    QTest::addColumn<QString>("message");
    const int ohm40 = 0, ohm4 = 1, mohm40 = 3, volt40 = 4;
    const QString ok;
    QTest::newRow("defaults pass") << ohm40 << QStringList{"40", "0", "4", "-4", "240"} << ok;
    QTest::newRow("4 Ohm top 4 passes") << ohm4 << QStringList{"4", "0", "4", "-4", "240"} << ok;
    QTest::newRow("4 Ohm top 4.4") << ohm4 << QStringList{"4.4", "0", "4", "-4", "240"}
                                   << "0 <= (m)Ohm <= 4, try again!";
    QTest::newRow("40 mOhm bottom below 0")
        << mohm40 << QStringList{"40", "-1", "4", "-4", "240"} << "0 <= (m)Ohm <= 40, try again!";
    QTest::newRow("check 1 before 2") << ohm4 << QStringList{"5", "0", "400", "-4", "1"}
                                      << "0 <= (m)Ohm <= 4, try again!";
    QTest::newRow("40 V +-40 passes") << volt40 << QStringList{"40", "0", "40", "-40", "240"} << ok;
    QTest::newRow("4 V +-40") << ohm40 << QStringList{"40", "0", "40", "-40", "240"}
                              << "-4 <= voltage <= 4, try again!";
    QTest::newRow("40 V bottom") << volt40 << QStringList{"40", "0", "40", "-41", "240"}
                                 << "-40 <= voltage <= 40, try again!";
    QTest::newRow("equal ohm") << ohm40 << QStringList{"1", "1", "4", "-4", "240"} << "Invalid, try again!";
    QTest::newRow("inverted volt") << ohm40 << QStringList{"40", "0", "-1", "1", "240"} << "Invalid, try again!";
    QTest::newRow("equal once rounded") << ohm40 << QStringList{"1", "0.6", "4", "-4", "240"} << "Invalid, try again!";
    QTest::newRow("volt equal once rounded")
        << ohm40 << QStringList{"40", "0", "2.5", "1.5", "240"} << "Invalid, try again!";
    QTest::newRow("check 3 before 4") << ohm40 << QStringList{"0", "0", "4", "-4", "5"} << "Invalid, try again!";
    QTest::newRow("2.6 over 2.4 passes") << ohm40 << QStringList{"2.6", "2.4", "4", "-4", "240"} << ok;
    QTest::newRow("empty bottom is 0") << ohm40 << QStringList{"40", "", "4", "-4", "240"} << ok;
    QTest::newRow("counts 10") << ohm40 << QStringList{"40", "0", "4", "-4", "10"} << ok;
    QTest::newRow("counts 864000") << ohm40 << QStringList{"40", "0", "4", "-4", "864000"} << ok;
    QTest::newRow("counts 9.99") << ohm40 << QStringList{"40", "0", "4", "-4", "9.99"}
                                 << "10 <= Counts <= 864000, try again!";
    QTest::newRow("counts 864000.5") << ohm40 << QStringList{"40", "0", "4", "-4", "864000.5"}
                                     << "10 <= Counts <= 864000, try again!";
    QTest::newRow("counts empty") << ohm40 << QStringList{"40", "0", "4", "-4", ""}
                                  << "10 <= Counts <= 864000, try again!";
    QTest::newRow("counts not a number") << ohm40 << QStringList{"40", "0", "4", "-4", "many"}
                                         << "10 <= Counts <= 864000, try again!";
    QTest::newRow("counts 12.5 need not be whole") << ohm40 << QStringList{"40", "0", "4", "-4", "12.5"} << ok;
}

void TestGraphGeometry::rangeChecksInOrder()
{
    QFETCH(int, status);
    QFETCH(QStringList, boxes);
    QFETCH(QString, message);
    const auto entry = realtime::readGraphRangeEntry(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4]);
    const auto failure = realtime::graphRangeFailure(entry, readingInRanges(uint8_t(status)));
    QCOMPARE(failure.value_or(QString()), message);
}

void TestGraphGeometry::rangeOpensWithTheValuesInUse()
{
    // The limits as the window opens with them are in tst_realtimegraph; here the count,
    // the number of steps a sweep takes.
    core::AppState s;
    s.GraphWidth = 240;
    s.GraphStep = 240.f / 7; // a count of 7 comes back as 7, not 6.99...
    QCOMPARE(realtime::graphRangeTexts(s).counts, QStringLiteral("7"));
    s.GraphWidth = 250; // 62.5 points rounds to the even 62
    s.GraphStep = 4;
    QCOMPARE(realtime::graphRangeTexts(s).counts, QStringLiteral("62"));
}

void TestGraphGeometry::rangeIsAppliedRounded()
{
    core::AppState s;
    s.GraphWidth = 240;
    realtime::applyGraphRange(s, realtime::readGraphRangeEntry("2.6", "2.4", "3.5", "-2.5", "480"));
    QCOMPARE(int(s.GraphOhmMax), 3);
    QCOMPARE(int(s.GraphOhmMin), 2);
    QCOMPARE(int(s.GraphVoltMax), 4); // halves to even
    QCOMPARE(int(s.GraphVoltMin), -2);
    QCOMPARE(s.GraphStep, 0.5f); // a sweep of 480 steps, 72 s at 150 ms
    realtime::applyGraphRange(s, realtime::readGraphRangeEntry("40", "0", "4", "-4", "10"));
    QCOMPARE(s.GraphStep, 24.f);
}

QTEST_GUILESS_MAIN(TestGraphGeometry)
#include "tst_graphgeometry.moc"
