// The steadiness detector over recorded sequences of live readings, one every 150 ms.
#include "sorting/Steadiness.h"

#include <QtTest>

using sorting::LiveSample;
using sorting::SteadinessDetector;

namespace {

// One reading a poll: "ohm volt" in the 40 mOhm / 4 V ranges; "ohm volt r2" in range code 2
// (400 mOhm); "nocom" a lost link.
QList<LiveSample> sequence(const QStringList &steps)
{
    QList<LiveSample> out;
    qint64 ms = 0;
    for (const QString &step : steps) {
        LiveSample s;
        s.ms = ms;
        ms += 150;
        const QStringList w = step.split(QLatin1Char(' '));
        if (w[0] == QLatin1String("nocom")) {
            s.linkUp = false;
            s.ohmText = QStringLiteral("25.00");
            s.voltText = QStringLiteral("3.700");
        } else {
            s.ohmText = w[0];
            s.voltText = w[1];
        }
        s.rangeCode = 3;
        s.ohmPoint = 2;
        if (w.size() > 2 && w[2] == QLatin1String("r2")) {
            s.rangeCode = 2;
            s.ohmPoint = 3;
        }
        out.append(s);
    }
    return out;
}

// The poll indexes at which the detector captured.
QList<int> captures(const QStringList &steps)
{
    SteadinessDetector d;
    QList<int> at;
    const auto seq = sequence(steps);
    for (int i = 0; i < seq.size(); ++i)
        if (d.feed(seq[i]))
            at.append(i);
    return at;
}

QStringList repeat(const QString &step, int n)
{
    QStringList out;
    for (int i = 0; i < n; ++i)
        out << step;
    return out;
}

} // namespace

class TestSteadiness : public QObject
{
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
    void heldForHalfAMinuteIsOneCapture();
    void valuesAcrossRanges_data();
    void valuesAcrossRanges();
    void invalidReasons();
};

void TestSteadiness::sequences_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QList<int>>("expected");

    // Five equal readings span the 0.6 s hold: captured at the fifth.
    QTest::newRow("steady") << repeat(QStringLiteral("25.00 3.700"), 6) << QList<int>{4};
    QTest::newRow("four readings are too short") << repeat(QStringLiteral("25.00 3.700"), 4) << QList<int>{};
    QTest::newRow("settling transient") << (QStringList{QStringLiteral("40.00 3.500"), QStringLiteral("31.00 3.650"),
                                                        QStringLiteral("27.00 3.690")}
                                            + repeat(QStringLiteral("25.10 3.700"), 5))
                                        << QList<int>{7};
    // 1 % of 25.00 is 0.25: 25.25 is on the edge and in, 25.26 out.
    QTest::newRow("ohm noise on the tolerance edge")
        << QStringList{QStringLiteral("25.25 3.700"), QStringLiteral("25.00 3.700"), QStringLiteral("24.75 3.700"),
                       QStringLiteral("25.25 3.700"), QStringLiteral("25.00 3.700")}
        << QList<int>{4};
    QTest::newRow("ohm noise past the edge")
        << QStringList{QStringLiteral("25.26 3.700"), QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700"),
                       QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700")}
        << QList<int>{};
    // Below 2 mOhm two counts (0.02) are more than 1 %.
    QTest::newRow("two digits on a small value")
        << QStringList{QStringLiteral("1.02 3.700"), QStringLiteral("1.00 3.700"), QStringLiteral("0.98 3.700"),
                       QStringLiteral("1.00 3.700"), QStringLiteral("1.00 3.700")}
        << QList<int>{4};
    // Voltage: 0.2 % of 3.700 is 0.0074.
    QTest::newRow("volt noise in") << (QStringList{QStringLiteral("25.00 3.707")}
                                       + repeat(QStringLiteral("25.00 3.700"), 4))
                                   << QList<int>{4};
    QTest::newRow("volt noise out") << (QStringList{QStringLiteral("25.00 3.708")}
                                        + repeat(QStringLiteral("25.00 3.700"), 4))
                                    << QList<int>{};
    QTest::newRow("no reading and OL never capture")
        << (repeat(QStringLiteral("---- 0.000"), 6) + repeat(QStringLiteral("OL 3.700"), 6)
            + repeat(QStringLiteral("25.00 OL"), 6) + repeat(QStringLiteral("25.00 -OL"), 6))
        << QList<int>{};
    QTest::newRow("OL in the hold restarts it")
        << QStringList{QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700"), QStringLiteral("OL 3.700"),
                       QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700"),
                       QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700")}
        << QList<int>{7};
    QTest::newRow("range change during the hold restarts it")
        << QStringList{QStringLiteral("25.00 3.700"),   QStringLiteral("25.00 3.700"),
                       QStringLiteral("25.00 3.700"),   QStringLiteral("25.0 3.700 r2"),
                       QStringLiteral("25.0 3.700 r2"), QStringLiteral("25.0 3.700 r2"),
                       QStringLiteral("25.0 3.700 r2"), QStringLiteral("25.0 3.700 r2")}
        << QList<int>{7};
    QTest::newRow("No COM during the hold restarts it")
        << QStringList{QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700"), QStringLiteral("nocom"),
                       QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700"),
                       QStringLiteral("25.00 3.700"), QStringLiteral("25.00 3.700")}
        << QList<int>{7};
    // One "----" between two cells is a lift, however short it was.
    QTest::newRow("lift of one poll") << (repeat(QStringLiteral("25.00 3.700"), 5)
                                          + QStringList{QStringLiteral("---- 0.000")}
                                          + repeat(QStringLiteral("60.00 3.600"), 5))
                                      << QList<int>{4, 10};
    // A lift that fell between two polls is not seen: the next cell waits for a real lift.
    QTest::newRow("lift shorter than one poll is not seen")
        << (repeat(QStringLiteral("25.00 3.700"), 5) + repeat(QStringLiteral("60.00 3.600"), 5)
            + QStringList{QStringLiteral("OL 3.600")} + repeat(QStringLiteral("61.00 3.600"), 5))
        << QList<int>{4, 15};
    // A voltage under 0.05 V in size is the probes lifted too.
    QTest::newRow("near zero volts is a lift")
        << (repeat(QStringLiteral("25.00 3.700"), 5) + QStringList{QStringLiteral("25.00 -0.049")}
            + repeat(QStringLiteral("25.00 3.700"), 5))
        << QList<int>{4, 10};
    QTest::newRow("No COM is no lift") << (repeat(QStringLiteral("25.00 3.700"), 5)
                                           + QStringList{QStringLiteral("nocom")}
                                           + repeat(QStringLiteral("25.00 3.700"), 5))
                                       << QList<int>{4};
}

void TestSteadiness::sequences()
{
    QFETCH(QStringList, steps);
    QFETCH(QList<int>, expected);
    QCOMPARE(captures(steps), expected);
}

void TestSteadiness::heldForHalfAMinuteIsOneCapture()
{
    // 30 s of one cell at 10 readings a second, with noise inside the tolerance.
    SteadinessDetector d;
    int captured = 0;
    for (int i = 0; i < 300; ++i) {
        LiveSample s;
        s.ms = i * 100;
        s.ohmText = i % 2 ? QStringLiteral("25.10") : QStringLiteral("25.00");
        s.voltText = QStringLiteral("3.700");
        s.rangeCode = 3;
        if (const auto m = d.feed(s)) {
            ++captured;
            QCOMPARE(s.ms, 600);
            QCOMPARE(m->ohmRange, QStringLiteral("40mOhm"));
        }
    }
    QCOMPARE(captured, 1);
    QVERIFY(d.waitingForLift());
}

void TestSteadiness::valuesAcrossRanges_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("milli");
    QTest::addColumn<int>("point");
    QTest::addColumn<double>("milliOhm");
    QTest::addColumn<QString>("range");
    QTest::newRow("40 mOhm") << "25.19" << true << 2 << 25.19 << "40mOhm";
    QTest::newRow("400 mOhm") << "125.4" << true << 3 << 125.4 << "400mOhm";
    QTest::newRow("4 Ohm") << "1.500" << false << 1 << 1500.0 << "4Ohm";
    QTest::newRow("40 Ohm") << "12.05" << false << 2 << 12050.0 << "40Ohm";
}

void TestSteadiness::valuesAcrossRanges()
{
    QFETCH(QString, text);
    QFETCH(bool, milli);
    QFETCH(int, point);
    QFETCH(double, milliOhm);
    QFETCH(QString, range);
    LiveSample s;
    s.ohmText = text;
    s.voltText = QStringLiteral("3.700");
    s.ohmInMilli = milli;
    s.ohmPoint = point;
    const auto m = sorting::measurementOf(s);
    QCOMPARE(m.milliOhm, milliOhm);
    QCOMPARE(m.ohmRange, range);
    QCOMPARE(m.ohmText, text);
}

void TestSteadiness::invalidReasons()
{
    LiveSample s;
    s.ohmText = QStringLiteral("25.00");
    s.voltText = QStringLiteral("3.700");
    QVERIFY(sorting::invalidReason(s).isEmpty());
    s.ohmText = QStringLiteral("----");
    QVERIFY(sorting::invalidReason(s).contains(QStringLiteral("----")));
    s.ohmText = QStringLiteral("OL");
    QVERIFY(sorting::invalidReason(s).contains(QStringLiteral("OL")));
    s.ohmText = QStringLiteral("25.00");
    s.voltText = QStringLiteral("-OL");
    QVERIFY(sorting::invalidReason(s).contains(QStringLiteral("-OL")));
    s.voltText = QStringLiteral("3.700");
    s.linkUp = false;
    QVERIFY(sorting::invalidReason(s).contains(QStringLiteral("No COM")));
}

QTEST_GUILESS_MAIN(TestSteadiness)
#include "tst_steadiness.moc"
