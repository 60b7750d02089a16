#include "core/Reading.h"

#include <QtTest>

using core::Reading;

class TestReading : public QObject
{
    Q_OBJECT
private slots:
    void ohm_data();
    void ohm();
    void volt_data();
    void volt();
    void statusFields_data();
    void statusFields();
    void pointsComeFromTheLastDecodedStatus();
    void recordDecodesInOrder();
};

void TestReading::ohm_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("milli");

    QTest::newRow("40 mOhm 1234") << 3 << 4 << 210 << "12.34" << true;
    QTest::newRow("400 mOhm 12") << 2 << 0 << 12 << "1.2" << true;
    QTest::newRow("4 Ohm 1500") << 1 << 5 << 220 << "1.500" << false;
    QTest::newRow("40 Ohm 5") << 0 << 0 << 5 << "0.05" << false;
    QTest::newRow("zero, 4 Ohm") << 1 << 0 << 0 << "0.000" << false;
    QTest::newRow("zero, 40 Ohm") << 0 << 0 << 0 << "0.00" << false;
    QTest::newRow("zero, 400 mOhm") << 2 << 0 << 0 << "0.0" << true;
    QTest::newRow("10000 keeps last four digits") << 3 << 0x27 << 0x10 << "0.00" << true;
    QTest::newRow("65535") << 1 << 255 << 255 << "5.535" << false;
    QTest::newRow("9999, 400 mOhm") << 2 << 0x27 << 0x0F << "999.9" << true;
    QTest::newRow("overload") << 0x13 << 1 << 2 << "OL" << true;
    QTest::newRow("no reading beats overload") << (0x10 | 0x80 | 3) << 1 << 2 << "----" << true;
    QTest::newRow("no reading") << 0x80 << 0 << 0 << "----" << false;
    QTest::newRow("bit 3 changes nothing") << (0x08 | 3) << 4 << 210 << "12.34" << true;
}

void TestReading::ohm()
{
    QFETCH(int, status);
    QFETCH(int, high);
    QFETCH(int, low);
    Reading r;
    DecodeStatus(r, static_cast<uint8_t>(status));
    FormatOhm(r, static_cast<uint8_t>(high), static_cast<uint8_t>(low));
    QTEST(r.OhmText, "text");
    QTEST(r.OhmInMilli, "milli");
}

void TestReading::volt_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");
    QTest::addColumn<QString>("text");

    QTest::newRow("4 V negative 1234") << 0x40 << 4 << 210 << "-1.234";
    QTest::newRow("40 V 4000") << 0x04 << 15 << 160 << "40.00";
    QTest::newRow("negative overload") << (0x20 | 0x40) << 9 << 9 << "-OL";
    QTest::newRow("overload") << 0x24 << 0 << 0 << "OL";
    QTest::newRow("negative 5 in 4 V") << 0x40 << 0 << 5 << "-0.005";
    QTest::newRow("3.700") << 3 << 0x0E << 0x74 << "3.700";
    QTest::newRow("no reading flag is not for volts") << 0x80 << 0x0E << 0x74 << "3.700";
}

void TestReading::volt()
{
    QFETCH(int, status);
    QFETCH(int, high);
    QFETCH(int, low);
    Reading r;
    DecodeStatus(r, static_cast<uint8_t>(status));
    FormatVolt(r, static_cast<uint8_t>(high), static_cast<uint8_t>(low));
    QTEST(r.VoltText, "text");
}

void TestReading::statusFields_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("range");
    QTest::addColumn<int>("ohmFull");
    QTest::addColumn<int>("voltFull");
    QTest::addColumn<int>("voltMin");
    QTest::addColumn<bool>("ohmOverload");
    QTest::addColumn<bool>("voltOverload");
    QTest::addColumn<bool>("voltNegative");
    QTest::addColumn<bool>("ohmNoReading");

    QTest::newRow("0") << 0 << 0 << 40 << 4 << -4 << false << false << false << false;
    QTest::newRow("1") << 1 << 1 << 4 << 4 << -4 << false << false << false << false;
    QTest::newRow("2 + 40V") << 6 << 6 << 400 << 40 << -40 << false << false << false << false;
    QTest::newRow("all flags") << 0xFF << 7 << 40 << 40 << -40 << true << true << true << true;
    QTest::newRow("resistance over") << 0x13 << 3 << 40 << 4 << -4 << true << false << false << false;
    QTest::newRow("voltage over") << 0x20 << 0 << 40 << 4 << -4 << false << true << false << false;
    QTest::newRow("negative 40 V") << 0x44 << 4 << 40 << 40 << -40 << false << false << true << false;
    QTest::newRow("no reading") << 0x81 << 1 << 4 << 4 << -4 << false << false << false << true;
}

void TestReading::statusFields()
{
    QFETCH(int, status);
    Reading r;
    DecodeStatus(r, static_cast<uint8_t>(status));
    QTEST(int(r.RangeCode), "range");
    QTEST(int(r.OhmFullScale), "ohmFull");
    QTEST(int(r.OhmAxisMax), "ohmFull");
    QCOMPARE(int(r.OhmAxisMin), 0);
    QTEST(int(r.VoltFullScale), "voltFull");
    QTEST(int(r.VoltAxisMax), "voltFull");
    QTEST(int(r.VoltAxisMin), "voltMin");
    QTEST(r.OhmOverload, "ohmOverload");
    QTEST(r.VoltOverload, "voltOverload");
    QTEST(r.VoltNegative, "voltNegative");
    QTEST(r.OhmNoReading, "ohmNoReading");
}

void TestReading::pointsComeFromTheLastDecodedStatus()
{
    // Formatting without decoding the reading's own status keeps the old point position.
    Reading r;
    DecodeStatus(r, 2); // 400 mOhm: ddd.d
    FormatOhm(r, 4, 210);
    QCOMPARE(r.OhmText, QStringLiteral("123.4"));
    DecodeStatus(r, 1); // 4 Ohm: d.ddd
    FormatOhm(r, 4, 210);
    QCOMPARE(r.OhmText, QStringLiteral("1.234"));
}

void TestReading::recordDecodesInOrder()
{
    Reading r;
    const uint8_t payload[5] = {0x09, 0xC4, 0x0E, 0x74, 0x03}; // 25.00 mOhm, 3.700 V
    DecodeRecord(r, payload);
    QCOMPARE(r.OhmText, QStringLiteral("25.00"));
    QCOMPARE(r.VoltText, QStringLiteral("3.700"));
    QCOMPARE(core::ohmRangeLabel(r), QStringLiteral("40mOhm"));
    QCOMPARE(core::voltRangeLabel(r), QStringLiteral("4Voltage"));
    const uint8_t other[5] = {0, 25, 0x05, 0xDC, 0x05}; // 4 Ohm, 40 V
    DecodeRecord(r, other);
    QCOMPARE(r.OhmText, QStringLiteral("0.025"));
    QCOMPARE(r.VoltText, QStringLiteral("15.00"));
    QCOMPARE(core::ohmRangeLabel(r), QStringLiteral("4Ohm"));
    QCOMPARE(core::voltRangeLabel(r), QStringLiteral("40Voltage"));
}

QTEST_GUILESS_MAIN(TestReading)
#include "tst_reading.moc"
