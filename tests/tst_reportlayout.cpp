// The printed report's pages: the header of the table on every page, no row over the foot,
// "Page n of m" on each, and a picture kept within the page.
#include "printing/ReportLayout.h"

#include <QtTest>

using printing::ReportItem;

class TestReportLayout : public QObject
{
    Q_OBJECT
private slots:
    void pages_data();
    void pages();
};

void TestReportLayout::pages_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("expectedPages");
    // A4's printable page in twips; 260 twips a line.
    QTest::newRow("no rows") << 0 << 16271 << 1;
    QTest::newRow("one page") << 10 << 16271 << 1;
    QTest::newRow("many pages") << 500 << 16271 << 9;
    // The picture fills the first page; the table starts on the second.
    QTest::newRow("a page that holds little") << 20 << 3000 << 4;
}

void TestReportLayout::pages()
{
    QFETCH(int, rows);
    QFETCH(int, height);
    QFETCH(int, expectedPages);
    printing::Report r;
    r.title = QStringLiteral("Cell Sorting Report");
    r.lines << QStringLiteral("Session: /tmp/s.tsv");
    r.figures << QStringList{QStringLiteral("A"), QStringLiteral("3"), QStringLiteral("60.0 %")};
    r.picture = QImage(2400, 900, QImage::Format_RGB32);
    r.columns = QStringList{QStringLiteral("Cell"), QStringLiteral("mOhm"), QStringLiteral("Grade")};
    for (int i = 0; i < rows; ++i)
        r.rows << QStringList{QStringLiteral("C%1").arg(i + 1, 4, 10, QLatin1Char('0')), QStringLiteral("25.19"),
                              QStringLiteral("A")};
    const int width = 11622;
    const auto pages = printing::layoutReport(r, width, height);
    QCOMPARE(int(pages.size()), expectedPages);
    int printedRows = 0;
    for (int n = 0; n < pages.size(); ++n) {
        int headers = 0;
        int rowsHere = 0;
        bool foot = false;
        for (const ReportItem &item : pages[n]) {
            if (item.kind == ReportItem::Kind::Picture) {
                QCOMPARE(n, 0);
                QVERIFY(item.target.right() < width && item.target.bottom() < height);
                QVERIFY(std::abs(item.target.width() * 900 / 2400 - item.target.height()) <= 1); // shape kept
            }
            if (item.kind != ReportItem::Kind::Text)
                continue;
            if (item.text == QLatin1String("Cell"))
                ++headers;
            if (item.text == QStringLiteral("Page %1 of %2").arg(n + 1).arg(expectedPages)) {
                foot = true;
                QVERIFY(item.y + 260 <= height);
            } else {
                QVERIFY2(item.y + 260 <= height - 260, qPrintable(item.text)); // above the foot
            }
            if (item.text.startsWith(QLatin1Char('C')) && item.text.size() == 5)
                ++rowsHere;
            QVERIFY(item.x >= 0 && item.x < width);
        }
        // The header over the rows of every page (and once where there are none yet).
        QCOMPARE(headers, rowsHere > 0 || (rows == 0 && n == 0) ? 1 : 0);
        QVERIFY(foot);
        printedRows += rowsHere;
    }
    QCOMPARE(printedRows, rows);
}

QTEST_GUILESS_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"
