// The spreadsheet CSV: separators and decimal signs from the locale, the byte-order mark,
// markers as empty cells, dates, units in the header, quoting. The output is read back by
// a small RFC 4180 parser written here, not by anything of the program's.
#include "core/Csv.h"
#include "support/CsvParse.h"

#include <QtTest>

using core::CsvColumn;
using core::CsvOptions;

namespace {

const QList<CsvColumn> Columns = {
    {QStringLiteral("Cell"), CsvColumn::Kind::Text, {}},
    {QStringLiteral("Date and time"), CsvColumn::Kind::DateTime, {}},
    {QStringLiteral("Resistance"), CsvColumn::Kind::Number, QStringLiteral("mOhm")},
    {QStringLiteral("Voltage"), CsvColumn::Kind::Number, QStringLiteral("V")},
};

const QList<QStringList> Rows = {
    {QStringLiteral("C0001"), QStringLiteral("2024/03/05 14:07:11"), QStringLiteral("25.19"), QStringLiteral("3.702")},
    {QStringLiteral("Zelle \"süß\"; Ω, 1"), QStringLiteral("2024/03/05 14:07:13"), QStringLiteral("OL"),
     QStringLiteral("-OL")},
    {QStringLiteral(" padded "), QStringLiteral("2024/03/05 14:07:15"), QStringLiteral("----"),
     QStringLiteral("-1.234")},
};

} // namespace

class TestCsv : public QObject
{
    Q_OBJECT
private slots:
    void defaults_data();
    void defaults();
    void readBack_data();
    void readBack();
    void markersKept();
};

void TestCsv::defaults_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QChar>("decimal");
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << QChar(u',') << QChar(u'.');
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << QChar(u';') << QChar(u',');
    QTest::newRow("fr_FR") << QLocale(QLocale::French, QLocale::France) << QChar(u';') << QChar(u',');
    QTest::newRow("ja_JP") << QLocale(QLocale::Japanese, QLocale::Japan) << QChar(u',') << QChar(u'.');
}

void TestCsv::defaults()
{
    QFETCH(QLocale, locale);
    QFETCH(QChar, separator);
    QFETCH(QChar, decimal);
    const CsvOptions o = core::csvDefaults(locale);
    QCOMPARE(o.separator, separator);
    QCOMPARE(o.decimal, decimal);
    QVERIFY(o.byteOrderMark);
    QVERIFY(!o.keepMarkers);
}

void TestCsv::readBack_data()
{
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QChar>("decimal");
    QTest::newRow("comma and point") << QChar(u',') << QChar(u'.');
    QTest::newRow("semicolon and comma") << QChar(u';') << QChar(u',');
    QTest::newRow("semicolon and point") << QChar(u';') << QChar(u'.');
}

void TestCsv::readBack()
{
    QFETCH(QChar, separator);
    QFETCH(QChar, decimal);
    CsvOptions o;
    o.separator = separator;
    o.decimal = decimal;
    const QByteArray bytes = core::csvDocument(
        Columns, int(Rows.size()), [](int r, int c) { return Rows[r][c]; }, o);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)), separator);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0], (QStringList{"Cell", "Date and time", "Resistance (mOhm)", "Voltage (V)"}));
    const QString d = QString(decimal);
    QCOMPARE(rows[1], (QStringList{"C0001", "2024-03-05 14:07:11", "25" + d + "19", "3" + d + "702"}));
    QCOMPARE(rows[2], (QStringList{QStringLiteral("Zelle \"süß\"; Ω, 1"), "2024-03-05 14:07:13", "", ""}));
    QCOMPARE(rows[3], (QStringList{" padded ", "2024-03-05 14:07:15", "", "-1" + d + "234"}));
}

void TestCsv::markersKept()
{
    CsvOptions o;
    o.keepMarkers = true;
    o.byteOrderMark = false;
    const QByteArray bytes = core::csvDocument(
        Columns, int(Rows.size()), [](int r, int c) { return Rows[r][c]; }, o);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes), u',');
    QCOMPARE(rows[2][2], QStringLiteral("OL"));
    QCOMPARE(rows[2][3], QStringLiteral("-OL"));
    QCOMPARE(rows[3][2], QStringLiteral("----"));
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
