#include "core/Reading.h"
#include "files/FileFormat.h"

#include <QtTest>

namespace {

core::Reading rangeOf(int ohmFullScale, bool milli, int voltFullScale)
{
    core::Reading r;
    r.OhmFullScale = static_cast<int16_t>(ohmFullScale);
    r.OhmInMilli = milli;
    r.VoltFullScale = static_cast<int16_t>(voltFullScale);
    return r;
}

} // namespace

class TestFileFormat : public QObject
{
    Q_OBJECT
private slots:
    void recorderHeaderNamesTheRanges_data();
    void recorderHeaderNamesTheRanges();
    void headerRangesInSearchOrder_data();
    void headerRangesInSearchOrder();
    void splitLines_data();
    void splitLines();
    void piecesSplitAnywhereGiveTheSameLines();
    void longLineWithoutLineEnd();
    void encodeLineIsSingleByte();
};

void TestFileFormat::recorderHeaderNamesTheRanges_data()
{
    QTest::addColumn<int>("ohmFullScale");
    QTest::addColumn<bool>("milli");
    QTest::addColumn<int>("voltFullScale");
    QTest::addColumn<QString>("header");
    QTest::newRow("40 mOhm, 4 V") << 40 << true << 4 << "No.s\tDate\tTime\t40mOhm\t4Voltage";
    QTest::newRow("400 mOhm, 40 V") << 400 << true << 40 << "No.s\tDate\tTime\t400mOhm\t40Voltage";
    QTest::newRow("4 Ohm, 4 V") << 4 << false << 4 << "No.s\tDate\tTime\t4Ohm\t4Voltage";
    QTest::newRow("40 Ohm, 40 V") << 40 << false << 40 << "No.s\tDate\tTime\t40Ohm\t40Voltage";
}

void TestFileFormat::recorderHeaderNamesTheRanges()
{
    QFETCH(int, ohmFullScale);
    QFETCH(bool, milli);
    QFETCH(int, voltFullScale);
    QFETCH(QString, header);
    QCOMPARE(files::recorderHeader(rangeOf(ohmFullScale, milli, voltFullScale)), header);
}

void TestFileFormat::headerRangesInSearchOrder_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("ohm"); // "none": not found
    QTest::addColumn<QString>("volt");

    QTest::newRow("recorder 40mOhm") << "No.s\tDate\tTime\t40mOhm\t4Voltage"
                                     << "40m"
                                     << "4";
    QTest::newRow("logger 400m Ohm, 40 V") << "No.s\t   Date\t   Time\t400m Ohm\t40 Voltage\t"
                                           << "400m"
                                           << "40";
    QTest::newRow("4Ohm, 4Voltage") << "No.s\tDate\tTime\t4Ohm\t4Voltage"
                                    << "4"
                                    << "4";
    QTest::newRow("40Ohm, 40Voltage") << "No.s\tDate\tTime\t40Ohm\t40Voltage"
                                      << "40"
                                      << "40";
    QTest::newRow("40m Ohm, 4 Voltage") << "No.s\t   Date\t   Time\t40m Ohm\t4 Voltage\t"
                                        << "40m"
                                        << "4";
    QTest::newRow("400mOhm is not 40mOhm") << "No.s\tDate\tTime\t400mOhm\t4Voltage"
                                           << "400m"
                                           << "4";
    QTest::newRow("4 Ohm") << "No.s\t   Date\t   Time\t4 Ohm\t40 Voltage\t"
                           << "4"
                           << "40";
    QTest::newRow("40 Ohm is not 4 Ohm") << "No.s\t   Date\t   Time\t40 Ohm\t4 Voltage\t"
                                         << "40"
                                         << "4";
    QTest::newRow("40mOhm found before 400mOhm") << "400mOhm 40mOhm"
                                                 << "40m"
                                                 << "none";
    QTest::newRow("milliohms found before 4Ohm") << "4Ohm 400m Ohm"
                                                 << "400m"
                                                 << "none";
    QTest::newRow("4Ohm found before 40Ohm") << "40Ohm 4Ohm"
                                             << "4"
                                             << "none";
    QTest::newRow("40Voltage found before 4Voltage") << "4Voltage 40Voltage"
                                                     << "none"
                                                     << "40";
    QTest::newRow("list titles name no range") << "No.s\t   Date\t   Time\tOhm\tVoltage\t"
                                               << "none"
                                               << "none";
    QTest::newRow("case matters") << "No.s\tDate\tTime\t40mohm\t4voltage"
                                  << "none"
                                  << "none";
    QTest::newRow("empty") << ""
                           << "none"
                           << "none";
}

void TestFileFormat::headerRangesInSearchOrder()
{
    QFETCH(QString, header);
    QFETCH(QString, ohm);
    QFETCH(QString, volt);
    const files::HeaderRanges found = files::findHeaderRanges(header);
    QCOMPARE(found.ohm.value_or(QStringLiteral("none")), ohm);
    QCOMPARE(found.volt.value_or(QStringLiteral("none")), volt);
}

void TestFileFormat::splitLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("LF only") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("last line without end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("last line ends in CR") << QByteArray("a\r\nb\r") << QStringList{"a", "b"};
    QTest::newRow("nothing") << QByteArray() << QStringList{};
    QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("empty line between") << QByteArray("a\r\n\r\nb\r\n") << QStringList{"a", "", "b"};
    QTest::newRow("commas and quotes stay")
        << QByteArray("1,5\t\"x\"\r\n\"a,b\"\r\n") << QStringList{"1,5\t\"x\"", "\"a,b\""};
    QTest::newRow("lone CR inside a line") << QByteArray("a\rb\n") << QStringList{"a\rb"};
    QTest::newRow("NUL is a character") << QByteArray("a\0b\n", 4) << QStringList{QString("a") + QChar(0) + "b"};
    QTest::newRow("bytes above 127 as Latin-1")
        << QByteArray("\xe9\xb5\xff\n") << QStringList{QStringLiteral(u"\u00e9\u00b5\u00ff")};
}

void TestFileFormat::splitLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(files::splitLines(bytes), lines);
}

void TestFileFormat::piecesSplitAnywhereGiveTheSameLines()
{
    const QByteArray text("No.s\tDate\r\n1\tx\r\n\r\n2\ty\n3\tz\r\nlast");
    const QStringList whole = files::splitLines(text);
    QCOMPARE(whole, (QStringList{"No.s\tDate", "1\tx", "", "2\ty", "3\tz", "last"}));
    for (qsizetype cut1 = 0; cut1 <= text.size(); ++cut1) {
        for (qsizetype cut2 = cut1; cut2 <= text.size(); ++cut2) {
            files::LineSplitter splitter;
            QStringList lines;
            QString line;
            for (const QByteArrayView piece :
                 {QByteArrayView(text).first(cut1), QByteArrayView(text).sliced(cut1, cut2 - cut1),
                  QByteArrayView(text).sliced(cut2)}) {
                splitter.append(piece);
                while (splitter.nextLine(line))
                    lines << line;
            }
            if (splitter.takeRest(line))
                lines << line;
            QVERIFY2(lines == whole, qPrintable(QStringLiteral("cut at %1 and %2").arg(cut1).arg(cut2)));
        }
    }
}

void TestFileFormat::longLineWithoutLineEnd()
{
    // Eight megabytes in 1 KiB pieces: searching the whole buffer again for every piece
    // would take minutes.
    files::LineSplitter splitter;
    const QByteArray piece(1024, 'x');
    QString line;
    for (int i = 0; i < 8 * 1024; ++i) {
        splitter.append(piece);
        QVERIFY(!splitter.nextLine(line));
    }
    splitter.append("\nnext");
    QVERIFY(splitter.nextLine(line));
    QCOMPARE(line.size(), 8 * 1024 * 1024);
    QVERIFY(!splitter.nextLine(line));
    QVERIFY(splitter.takeRest(line));
    QCOMPARE(line, QStringLiteral("next"));
}

void TestFileFormat::encodeLineIsSingleByte()
{
    QCOMPARE(files::encodeLine(u"1\t2024/03/05\t\u00e9"), QByteArray("1\t2024/03/05\t\xe9"));
    QCOMPARE(files::encodeLine(u"\u20ac5"), QByteArray("?5"));
    QCOMPARE(files::encodeLine(u""), QByteArray());
}

QTEST_GUILESS_MAIN(TestFileFormat)
#include "tst_fileformat.moc"
