#include "core/Text.h"

#include <QTest>

// The shared text helpers: how every entry and reading text is read as a number, the
// rounding of halves, and the calendar arithmetic of the sample and record clocks.
class TestText : public QObject
{
    Q_OBJECT
private slots:
    void numberOfText_data();
    void numberOfText();
    void roundHalfEven_data();
    void roundHalfEven();
    void addSeconds_data();
    void addSeconds();
};

void TestText::numberOfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");
    QTest::newRow("whole") << "240" << 240.0;
    QTest::newRow("leading blanks") << "  12.5" << 12.5;
    QTest::newRow("stops at a letter") << "3.99V" << 3.99;
    QTest::newRow("comma is no decimal point") << "3,5" << 3.0;
    QTest::newRow("negative reading") << "-1.234" << -1.234;
    QTest::newRow("point first") << ".5" << 0.5;
    QTest::newRow("overload") << "OL" << 0.0;
    QTest::newRow("negative overload") << "-OL" << 0.0;
    QTest::newRow("no reading") << "----" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("blank inside ends it") << "1 2" << 1.0;
    QTest::newRow("arabic-indic digits are not read") << QString::fromUtf8("\u0661\u0662") << 0.0;
}

void TestText::numberOfText()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    QCOMPARE(core::numberOfText(text), value);
}

void TestText::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("2.51") << 2.51 << 3.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("-3.5") << -3.5 << -4.0;
    QTest::newRow("-0.4") << -0.4 << 0.0;
}

void TestText::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(core::roundHalfEven(value), rounded);
}

void TestText::addSeconds_data()
{
    QTest::addColumn<QString>("clock");
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("later");
    QTest::newRow("into a leap day") << "2024/02/28 23:59:58" << qint64(2) << "2024/02/29 00:00:00";
    QTest::newRow("no leap day") << "2023/02/28 23:59:59" << qint64(1) << "2023/03/01 00:00:00";
    QTest::newRow("new year") << "2012/12/31 23:59:30" << qint64(60) << "2013/01/01 00:00:30";
    // Clocks carry no zone: the night the clocks change has every hour once.
    QTest::newRow("no summer time") << "2026/03/29 01:59:59" << qint64(1) << "2026/03/29 02:00:00";
    QTest::newRow("a day of records") << "2001/01/01 00:00:00" << qint64(86400) << "2001/01/02 00:00:00";
    QTest::newRow("unreadable stays") << "garbage" << qint64(5) << "garbage";
    QTest::newRow("no such date stays") << "2023/02/29 10:00:00" << qint64(5) << "2023/02/29 10:00:00";
    QTest::newRow("no such time stays") << "2023/02/28 24:00:00" << qint64(5) << "2023/02/28 24:00:00";
    QTest::newRow("letters in a field stay") << "2023/0a/28 10:00:00" << qint64(5) << "2023/0a/28 10:00:00";
    QTest::newRow("back across a leap day") << "2024/03/01 00:00:01" << qint64(-2) << "2024/02/29 23:59:59";
    QTest::newRow("back two days and a second")
        << "2025/01/01 00:00:00" << qint64(-2 * 86400 - 1) << "2024/12/29 23:59:59";
    QTest::newRow("back to midnight, no carry") << "2024/03/01 00:00:10" << qint64(-10) << "2024/03/01 00:00:00";
    QTest::newRow("a long interval") << "2026/12/07 09:30:00" << qint64(86400 * 400) << "2028/01/11 09:30:00";
}

void TestText::addSeconds()
{
    QFETCH(QString, clock);
    QFETCH(qint64, seconds);
    QFETCH(QString, later);
    QCOMPARE(core::addSeconds(clock, seconds), later);
    if (later != clock) {
        QCOMPARE(core::clockDate(later), later.left(10));
        QCOMPARE(core::clockTime(later), later.right(8));
    }
}

QTEST_MAIN(TestText)
#include "tst_text.moc"
