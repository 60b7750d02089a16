#include "ui/GridModel.h"
#include "ui/GridView.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QSignalSpy>
#include <QtTest>

namespace {

QStringList rowTexts(const ui::GridModel &grid, int row)
{
    QStringList out;
    for (int c = 0; c < grid.cols(); ++c)
        out << grid.text(row, c);
    return out;
}

} // namespace

class TestGrid : public QObject
{
    Q_OBJECT
private slots:
    void addRowSplitsAtTabOnly_data();
    void addRowSplitsAtTabOnly();
    void outsideTheGridIsEmptyAndIgnored_data();
    void outsideTheGridIsEmptyAndIgnored();
    void cutRowsAndColumnsComeBackEmpty();
    void setTextChangesOneCell();
    void clearToHeaderKeepsTheTitles();
    void staysConsistentForViewsThroughASequence();

    void everyColumnIsPainted();
    void columnWidthFollowsTheSizingText();
    void topRowScrollsInGridRows();
    void currentRowFollowsSelectionAndCuts();
    void clicksReportGridCoordinates();
};

void TestGrid::addRowSplitsAtTabOnly_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("cells");

    QTest::newRow("recorder line") << "1\t2024/03/05\t10:00:00\t12.34\t3.700"
                                   << QStringList{"1", "2024/03/05", "10:00:00", "12.34", "3.700"};
    QTest::newRow("trailing tab shows nothing")
        << "7\t2024/03/05\t10:00:14\tOL\t-3.700\t" << QStringList{"7", "2024/03/05", "10:00:14", "OL", "-3.700"};
    QTest::newRow("extra fields dropped") << "a\tb\tc\td\te\tf\tg" << QStringList{"a", "b", "c", "d", "e"};
    QTest::newRow("short line") << "a\tb" << QStringList{"a", "b", "", "", ""};
    QTest::newRow("empty line") << "" << QStringList{"", "", "", "", ""};
    QTest::newRow("comma and quotes are text")
        << "1,5\t\"12.34\"\t a b \t,\t\"" << QStringList{"1,5", "\"12.34\"", " a b ", ",", "\""};
    QTest::newRow("empty cells between tabs") << "\t\tc\t\t" << QStringList{"", "", "c", "", ""};
}

void TestGrid::addRowSplitsAtTabOnly()
{
    QFETCH(QString, line);
    QFETCH(QStringList, cells);
    ui::GridModel grid(5);
    grid.addRow(line);
    QCOMPARE(grid.rows(), 2);
    QCOMPARE(rowTexts(grid, 1), cells);
}

void TestGrid::outsideTheGridIsEmptyAndIgnored_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("row -1") << -1 << 0;
    QTest::newRow("row past the end") << 3 << 0;
    QTest::newRow("col -1") << 1 << -1;
    QTest::newRow("col past the end") << 1 << 5;
}

void TestGrid::outsideTheGridIsEmptyAndIgnored()
{
    QFETCH(int, row);
    QFETCH(int, col);
    ui::GridModel grid(5);
    grid.addRow(QStringLiteral("1\t2\t3\t4\t5"));
    grid.addRow(QStringLiteral("6\t7\t8\t9\t10"));
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    QSignalSpy header(&grid, &QAbstractItemModel::headerDataChanged);
    QCOMPARE(grid.text(row, col), QString());
    grid.setText(row, col, QStringLiteral("x"));
    QCOMPARE(changed.count(), 0);
    QCOMPARE(header.count(), 0);
    QCOMPARE(rowTexts(grid, 1), (QStringList{"1", "2", "3", "4", "5"}));
    QCOMPARE(rowTexts(grid, 2), (QStringList{"6", "7", "8", "9", "10"}));
}

void TestGrid::cutRowsAndColumnsComeBackEmpty()
{
    ui::GridModel grid(5);
    grid.setHeader({"No.s", "Date", "Time", "Ohm", "Voltage"});
    for (int i = 1; i <= 5; ++i)
        grid.addRow(QStringLiteral("%1\t2024/03/05\t10:00:00\t12.34\t3.700").arg(i));
    grid.setRows(3);
    QCOMPARE(grid.rows(), 3);
    QCOMPARE(grid.text(2, 0), QStringLiteral("2"));
    QCOMPARE(grid.text(3, 0), QString());
    grid.setRows(5);
    QCOMPARE(grid.rows(), 5);
    QCOMPARE(rowTexts(grid, 3), (QStringList{"", "", "", "", ""}));
    QCOMPARE(rowTexts(grid, 4), (QStringList{"", "", "", "", ""}));

    grid.setCols(3);
    QCOMPARE(rowTexts(grid, 0), (QStringList{"No.s", "Date", "Time"}));
    QCOMPARE(rowTexts(grid, 1), (QStringList{"1", "2024/03/05", "10:00:00"}));
    grid.setCols(5);
    QCOMPARE(rowTexts(grid, 1), (QStringList{"1", "2024/03/05", "10:00:00", "", ""}));
    // Rows added now go below the kept ones and split into the new width.
    grid.addRow(QStringLiteral("6\t2024/03/05\t10:00:02\t12.35\t3.701"));
    QCOMPARE(rowTexts(grid, 5), (QStringList{"6", "2024/03/05", "10:00:02", "12.35", "3.701"}));
}

void TestGrid::setTextChangesOneCell()
{
    ui::GridModel grid(5);
    grid.addRow(QStringLiteral("1\t2024/03/05\t10:00:00\t12.34\t3.700\textra"));
    QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
    grid.setText(1, 2, QStringLiteral("a much longer time text"));
    grid.setText(1, 0, QString());
    grid.setText(1, 4, QStringLiteral("x\ty"));
    QCOMPARE(rowTexts(grid, 1), (QStringList{"", "2024/03/05", "a much longer time text", "12.34", "x\ty"}));
    QCOMPARE(changed.count(), 3);
    QCOMPARE(changed.at(0).at(0).toModelIndex(), grid.index(0, 2));
}

void TestGrid::clearToHeaderKeepsTheTitles()
{
    ui::GridModel grid(5);
    grid.setHeader({"No.s", "Date", "Time", "Ohm", "Voltage"});
    for (int i = 0; i < 5000; ++i)
        grid.addRow(QStringLiteral("%1\t2024/03/05\t10:00:00\t12.34\t3.700").arg(i + 1));
    grid.clearToHeader();
    QCOMPARE(grid.rows(), 1);
    QCOMPARE(rowTexts(grid, 0), (QStringList{"No.s", "Date", "Time", "Ohm", "Voltage"}));
    grid.addRow(QStringLiteral("1\t2024/03/06"));
    QCOMPARE(rowTexts(grid, 1), (QStringList{"1", "2024/03/06", "", "", ""}));
}

void TestGrid::staysConsistentForViewsThroughASequence()
{
    ui::GridModel grid(5);
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    ui::GridView view(grid);
    view.resize(400, 300);
    view.show();
    grid.setHeader({"No.s", "Date", "Time", "Ohm", "Voltage"});
    grid.addRows({"1\ta", "2\tb", "3\tc"});
    grid.addRow(QStringLiteral("4\td"));
    grid.setText(2, 1, QStringLiteral("B"));
    grid.setCols(7);
    grid.setRows(10);
    grid.setCols(2);
    grid.setRows(2);
    grid.clearToHeader();
    grid.addRows({});
    grid.addRow(QString());
    QCOMPARE(grid.rows(), 2);
    QCOMPARE(view.model()->rowCount(), 1);
    QCOMPARE(view.model()->columnCount(), 2);
}

void TestGrid::everyColumnIsPainted()
{
    ui::GridModel grid(5);
    ui::GridView view(grid);
    view.resize(500, 200);
    view.show();
    for (int i = 1; i <= 5; ++i)
        grid.addRow(QStringLiteral("%1\tWWWW\tWWWW\tWWWW\tWWWW").arg(i));
    const QImage image = view.grab().toImage();
    const QPoint origin = view.viewport()->mapTo(&view, QPoint(0, 0));
    // Each cell of the last row shows ink: text darker than the cell's background.
    for (int c = 0; c < 5; ++c) {
        const QRect cell = view.visualRect(grid.index(4, c)).translated(origin).adjusted(2, 2, -2, -2);
        int dark = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                dark += qGray(image.pixel(x, y)) < 100;
        QVERIFY2(dark > 10, qPrintable(QStringLiteral("column %1 shows no text").arg(c)));
    }
}

void TestGrid::columnWidthFollowsTheSizingText()
{
    ui::GridModel grid(5);
    ui::GridView view(grid);
    view.setColumnWidthFromText(0, QStringLiteral(" 000000 "));
    view.setColumnWidthFromText(1, QStringLiteral(" 0000/00/00 "));
    view.setColumnWidthFromText(2, QString());
    const QFontMetrics metrics(view.font());
    const int narrow = metrics.horizontalAdvance(QStringLiteral(" 000000 "));
    const int wide = metrics.horizontalAdvance(QStringLiteral(" 0000/00/00 "));
    // The whole text fits, and the two columns differ by exactly the texts' difference.
    QVERIFY(view.columnWidth(0) >= narrow);
    QCOMPARE(view.columnWidth(1) - view.columnWidth(0), wide - narrow);
    // No text still leaves a usable column.
    QVERIFY(view.columnWidth(2) > 0);
}

void TestGrid::topRowScrollsInGridRows()
{
    ui::GridModel grid(5);
    ui::GridView view(grid);
    view.resize(400, 300);
    view.show();
    QCOMPARE(view.topRow(), 1);
    for (int i = 1; i <= 200; ++i)
        grid.addRow(QString::number(i));
    // No event processed since the rows came: the view must still scroll to them.
    view.setTopRow(50);
    QCOMPARE(view.topRow(), 50);
    QCOMPARE(view.rowAt(0), 49);
    view.setTopRow(0);
    QCOMPARE(view.topRow(), 1);
    view.setTopRow(1000);
    QVERIFY(view.topRow() > 150);
    QVERIFY(view.topRow() <= 200);
    grid.clearToHeader();
    view.setTopRow(10);
    QCOMPARE(view.topRow(), 1);
}

void TestGrid::currentRowFollowsSelectionAndCuts()
{
    ui::GridModel grid(5);
    ui::GridView view(grid);
    for (int i = 1; i <= 30; ++i)
        grid.addRow(QString::number(i));
    view.setCurrentRow(20);
    view.setCurrentCol(3);
    QCOMPARE(view.currentRow(), 20);
    QCOMPARE(view.currentCol(), 3);
    QCOMPARE(view.currentIndex(), grid.index(19, 3));
    QVERIFY(view.selectionModel()->isRowSelected(19, QModelIndex()));
    view.setCurrentRow(99);
    QCOMPARE(view.currentRow(), 30);
    view.setCurrentCol(-4);
    QCOMPARE(view.currentCol(), 0);
    grid.setRows(11);
    QCOMPARE(view.currentRow(), 10);
    grid.clearToHeader();
    QCOMPARE(view.currentRow(), 0);
}

void TestGrid::clicksReportGridCoordinates()
{
    ui::GridModel grid(5);
    grid.setHeader({"No.s", "Date", "Time", "Ohm", "Voltage"});
    ui::GridView view(grid);
    view.resize(500, 300);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    for (int i = 1; i <= 10; ++i)
        grid.addRow(QStringLiteral("%1\t2024/03/05\t10:00:00\t12.34\t3.700").arg(i));
    QSignalSpy clicked(&view, &ui::GridView::cellClicked);
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, view.visualRect(grid.index(2, 3)).center());
    QTest::mouseClick(view.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(view.horizontalHeader()->sectionViewportPosition(1) + 5, 5));
    QCOMPARE(clicked.count(), 2);
    QCOMPARE(clicked.at(0), (QList<QVariant>{3, 3}));
    QCOMPARE(clicked.at(1), (QList<QVariant>{0, 1}));
    QCOMPARE(view.currentRow(), 0);
    QCOMPARE(view.currentCol(), 1);
}

QTEST_MAIN(TestGrid)
#include "tst_grid.moc"
