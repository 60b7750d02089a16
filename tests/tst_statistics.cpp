#include "core/Statistics.h"

#include <QRandomGenerator>
#include <QTest>
#include <cmath>

// The running figures of a column of readings and how its texts are read.
class TestStatistics : public QObject
{
    Q_OBJECT
private slots:
    void textsAndMarkers_data();
    void textsAndMarkers();
    void decimalsReadExactly();
    void runningFigures();
};

void TestStatistics::textsAndMarkers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("numbers");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("markers");
    QTest::newRow("reading") << "25.19" << 1 << 25.19 << 0;
    QTest::newRow("negative voltage") << "-1.234" << 1 << -1.234 << 0;
    QTest::newRow("blanks around") << "  3.700 " << 1 << 3.7 << 0;
    QTest::newRow("whole") << "1500" << 1 << 1500.0 << 0;
    QTest::newRow("overload") << "OL" << 0 << 0.0 << 1;
    QTest::newRow("negative overload") << "-OL" << 0 << 0.0 << 1;
    QTest::newRow("no reading") << "----" << 0 << 0.0 << 1;
    QTest::newRow("empty") << "" << 0 << 0.0 << 0;
    QTest::newRow("word") << "abc" << 0 << 0.0 << 0;
    QTest::newRow("number then word") << "3.5V" << 0 << 0.0 << 0;
    QTest::newRow("point alone") << "." << 0 << 0.0 << 0;
    QTest::newRow("sign alone") << "-" << 0 << 0.0 << 0;
    QTest::newRow("two points") << "1.2.3" << 0 << 0.0 << 0;
    QTest::newRow("long digits") << "12345678901234567890" << 1 << 12345678901234567890.0 << 0;
}

void TestStatistics::textsAndMarkers()
{
    QFETCH(QString, text);
    QFETCH(int, numbers);
    QFETCH(double, value);
    QFETCH(int, markers);
    core::ReadingColumn column;
    column.add(text, 7);
    QCOMPARE(column.numbers.count(), numbers);
    QCOMPARE(column.markers(), markers);
    if (numbers)
        QCOMPARE(column.numbers.min(), value);
}

void TestStatistics::decimalsReadExactly()
{
    // Whatever the shortcut, a decimal reads as the full parser reads it, to the last bit.
    QRandomGenerator rng(42);
    for (int k = 0; k < 20000; ++k) {
        const int decimals = int(rng.bounded(6));
        const double raw = rng.bounded(2000.0) - 1000.0;
        const QString text = QString::number(raw, 'f', decimals);
        core::ReadingColumn column;
        column.add(text, 0);
        QCOMPARE(column.numbers.count(), 1);
        QVERIFY2(column.numbers.min() == text.toDouble(), qPrintable(text));
    }
}

void TestStatistics::runningFigures()
{
    core::Running r;
    const double values[] = {3.7, 3.9, 3.6, 3.9, 3.65};
    for (int k = 0; k < 5; ++k)
        r.add(values[k], k + 1);
    QCOMPARE(r.count(), 5);
    QCOMPARE(r.min(), 3.6);
    QCOMPARE(r.minAt(), 3);
    QCOMPARE(r.max(), 3.9);
    QCOMPARE(r.maxAt(), 2); // the first of two equal maxima
    // mean 3.75; squares 0.0025 + 0.0225 + 0.0225 + 0.0225 + 0.01 = 0.08; over 4: 0.02
    QVERIFY(std::abs(r.mean() - 3.75) < 1e-12);
    QVERIFY(std::abs(r.deviation() - std::sqrt(0.02)) < 1e-12);
    core::Running one;
    one.add(5);
    QCOMPARE(one.deviation(), 0.0);
    // Values far from zero keep their small spread.
    core::Running far;
    for (double v : {1e9 + 4, 1e9 + 7, 1e9 + 13, 1e9 + 16})
        far.add(v);
    QVERIFY(std::abs(far.deviation() - std::sqrt(30.0)) < 1e-6);
}

QTEST_GUILESS_MAIN(TestStatistics)
#include "tst_statistics.moc"
