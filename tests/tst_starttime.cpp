#include "logger/StartTime.h"
#include "support/LoggerImages.h"

#include <QtTest>

using namespace logger;
using Kind = StartTime::Kind;

Q_DECLARE_METATYPE(logger::StartTime::Kind)

// The block listing's start time as typed, and the dating of the records from it.
class TestStartTime : public QObject
{
    Q_OBJECT
private slots:
    void dialogTitle();
    void parse_data();
    void parse();
    void notInTheCalendarSaysWhy_data();
    void notInTheCalendarSaysWhy();
    void dating_data();
    void dating();
    void rowsCarryTheDecodedReadings();
};

void TestStartTime::dialogTitle()
{
    // The prompt and the retry are checked as the block listing shows them.
    QCOMPARE(startTimeTitle(), QStringLiteral("Input Starting Time"));
}

void TestStartTime::parse_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("clock");

    // Today is 2024/03/05 for every row.
    QTest::newRow("as the default gives it") << "2010/05/06 12:34:56" << Kind::Accepted << "2010/05/06 12:34:56";
    QTest::newRow("short fields, one-digit year") << "9/5/1 8:07:06" << Kind::Accepted << "2009/05/01 08:07:06";
    QTest::newRow("no year: this year") << "/5/1 8:07:06" << Kind::Accepted << "2024/05/01 08:07:06";
    QTest::newRow("year 12 is 2012") << "12/12/31 23:59:59" << Kind::Accepted << "2012/12/31 23:59:59";
    QTest::newRow("year 13 is 2013") << "13/1/1 0:0:0" << Kind::Accepted << "2013/01/01 00:00:00";
    QTest::newRow("year 26 is 2026") << "26/3/5 8:00:00" << Kind::Accepted << "2026/03/05 08:00:00";
    QTest::newRow("year 99 is 2099") << "99/12/31 23:59:59" << Kind::Accepted << "2099/12/31 23:59:59";
    QTest::newRow("year 100 stays") << "100/1/1 0:0:0" << Kind::Accepted << "0100/01/01 00:00:00";
    QTest::newRow("year 0024 is 2024") << "0024/2/29 1:2:3" << Kind::Accepted << "2024/02/29 01:02:03";
    QTest::newRow("year 0: this year") << "0/5/1 8:07:06" << Kind::Accepted << "2024/05/01 08:07:06";
    QTest::newRow("zero month and day: today's") << "2010/0/00 1:2:3" << Kind::Accepted << "2010/03/05 01:02:03";
    QTest::newRow("minute 123 keeps 23") << "2010/05/06 12:123:56" << Kind::Accepted << "2010/05/06 12:23:56";
    QTest::newRow("nothing after the seconds' colon") << "2010/05/06 12:34:" << Kind::Accepted << "2010/05/06 12:34:00";
    QTest::newRow("a long year keeps its last four digits")
        << "12010/05/06 1:2:3" << Kind::Accepted << "2010/05/06 01:02:03";

    QTest::newRow("no slash") << "2010-05-06 12:34:56" << Kind::AskAgain << "";
    QTest::newRow("only a time") << "12:34:56" << Kind::AskAgain << "";
    QTest::newRow("words") << "yesterday" << Kind::AskAgain << "";

    QTest::newRow("colon within the first two characters") << "/:" << Kind::Invalid << "";
    QTest::newRow("neither second slash nor colon") << "1/2" << Kind::Invalid << "";
    QTest::newRow("30 February") << "2010/02/30 12:00:00" << Kind::Invalid << "";
    QTest::newRow("month 13") << "2010/13/01 12:00:00" << Kind::Invalid << "";
    QTest::newRow("hour 24") << "2010/05/06 24:00:00" << Kind::Invalid << "";
    QTest::newRow("second 60") << "2010/05/06 23:59:60" << Kind::Invalid << "";
    QTest::newRow("negative day") << "2010/05/-1 12:00:00" << Kind::Invalid << "";
    QTest::newRow("fractional month") << "2010/5.5/06 12:00:00" << Kind::Invalid << "";
}

void TestStartTime::parse()
{
    QFETCH(QString, answer);
    QFETCH(Kind, kind);
    QFETCH(QString, clock);
    const StartTime parsed = parseStartTime(answer, QDate(2024, 3, 5));
    QCOMPARE(parsed.kind, kind);
    QCOMPARE(parsed.clock, clock);
}

void TestStartTime::notInTheCalendarSaysWhy_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("failure");
    QTest::newRow("30 February") << "2024/02/30 10:00:00"
                                 << "2024/02/30 10:00:00 is not a date and time of the calendar.";
    QTest::newRow("hour 25, short fields") << "24/2/28 25:0:0"
                                           << "2024/02/28 25:00:00 is not a date and time of the calendar.";
    QTest::newRow("29 February of 2023") << "23/2/29 1:0:0"
                                         << "2023/02/29 01:00:00 is not a date and time of the calendar.";
    QTest::newRow("second 60") << "2010/05/06 23:59:60"
                               << "2010/05/06 23:59:60 is not a date and time of the calendar.";
    // No fields to make a date of: nothing to say about the calendar.
    QTest::newRow("no room for the hour") << "/:"
                                          << "";
}

void TestStartTime::notInTheCalendarSaysWhy()
{
    QFETCH(QString, answer);
    QFETCH(QString, failure);
    const StartTime parsed = parseStartTime(answer, QDate(2024, 3, 5));
    QCOMPARE(parsed.kind, Kind::Invalid);
    QCOMPARE(parsed.failure, failure);
}

void TestStartTime::dating_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");

    QTest::newRow("h 60, first row") << "2010/05/06 12:34:56" << 60 << 1 << "2010/05/06"
                                     << "12:34:56";
    QTest::newRow("h 60, second row") << "2010/05/06 12:34:56" << 60 << 2 << "2010/05/06"
                                      << "12:35:56";
    QTest::newRow("h 255, third row") << "2010/05/06 12:34:56" << 255 << 3 << "2010/05/06"
                                      << "12:43:26";
    QTest::newRow("h 0 stays") << "2010/05/06 12:34:56" << 0 << 3 << "2010/05/06"
                               << "12:34:56";
    QTest::newRow("month end, h 60") << "2010/04/30 23:59:30" << 60 << 2 << "2010/05/01"
                                     << "00:00:30";
    QTest::newRow("leap day, h 255") << "2012/02/28 23:58:00" << 255 << 2 << "2012/02/29"
                                     << "00:02:15";
    QTest::newRow("no leap day in 2011, h 255") << "2011/02/28 23:58:00" << 255 << 2 << "2011/03/01"
                                                << "00:02:15";
    QTest::newRow("year end, h 60") << "2010/12/31 23:59:30" << 60 << 2 << "2011/01/01"
                                    << "00:00:30";
    QTest::newRow("year end, h 255") << "2010/12/31 23:58:00" << 255 << 3 << "2011/01/01"
                                     << "00:06:30";
    QTest::newRow("many days later") << "2010/12/31 00:00:00" << 255 << 1000 << "2011/01/02"
                                     << "22:45:45";
}

void TestStartTime::dating()
{
    QFETCH(QString, start);
    QFETCH(int, interval);
    QFETCH(int, row);
    QFETCH(QString, date);
    QFETCH(QString, time);
    const QByteArray block = images::block(interval, 0x03, row) + images::marker() + char(1);
    const QList<QString> rows = datedRows(block.mid(4), start);
    QCOMPARE(rows.size(), row);
    const QStringList cells = rows.at(row - 1).split(QLatin1Char('\t'));
    QCOMPARE(cells.at(0), QString::number(row));
    QCOMPARE(cells.at(1), date);
    QCOMPARE(cells.at(2), time);
}

void TestStartTime::rowsCarryTheDecodedReadings()
{
    // Each record by its own status byte, as the live display shows it.
    const QByteArray segment = QByteArray(1, 2) + images::record(1234, 1234, 0x03) + images::record(1500, 4000, 0x45)
                               + images::record(0, 0, 0x90) + images::record(9, 5, 0x62) + images::marker() + char(2);
    const QList<QString> rows = datedRows(segment, QStringLiteral("2010/05/06 12:34:56"));
    QCOMPARE(rows, QList<QString>({"1\t2010/05/06\t12:34:56\t12.34\t1.234", "2\t2010/05/06\t12:34:58\t1.500\t-40.00",
                                   "3\t2010/05/06\t12:35:00\t----\t0.000", "4\t2010/05/06\t12:35:02\t0.9\t-OL"}));
    QVERIFY(datedRows(QByteArray(1, 2) + images::marker() + char(2), QStringLiteral("2010/05/06 12:34:56")).isEmpty());
    QVERIFY(datedRows(segment, QStringLiteral("not a clock")).isEmpty());
}

QTEST_GUILESS_MAIN(TestStartTime)
#include "tst_starttime.moc"
