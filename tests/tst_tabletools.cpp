#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "realtime/RealTimeList.h"
#include "support/CsvParse.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"
#include "ui/StatisticsWindow.h"
#include "ui/TableTools.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>

// The list windows as analysis tools: a selection copied for a spreadsheet, the list (or
// the selection) exported as CSV, and its statistics.
namespace {

// A 4 Ohm list with an overload, a missing reading and a negative overload among its rows.
const QStringList Rows{
    "1\t2024/03/05\t14:07:11\t1.500\t3.700", "2\t2024/03/05\t14:07:12\t1.520\t3.702",
    "3\t2024/03/05\t14:07:13\tOL\t3.705",    "4\t2024/03/05\t14:07:14\t1.480\t-OL",
    "5\t2024/03/05\t14:07:15\t----\t0.004",  "6\t2024/03/05\t14:07:16\t1.530\t3.699",
};

struct Rig
{
    core::AppState state;
    ui::ScriptedDialogs dialogs;
    files::FileListWindow window{state, dialogs};
    Rig()
    {
        state.FileOhmRange = QStringLiteral("4");
        window.grid().setHeader({"No.s", "   Date", "   Time", "4Ohm", "4Voltage"});
        window.grid().addRows(Rows);
    }
    ui::TableTools &tools() { return *window.tableTools(); }
    ui::GridView &view() { return window.gridView(); }
    void select(int top, int left, int bottom, int right)
    {
        const QItemSelection s(view().model()->index(top, left), view().model()->index(bottom, right));
        view().selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    }
};

} // namespace

class TestTableTools : public QObject
{
    Q_OBJECT
private slots:
    void contextMenuOffersTheFourCommands();
    void copiesCellsRowsColumnsAndAll();
    void csvInBothLocales_data();
    void csvInBothLocales();
    void csvOfASelectionAndTheSavedFile();
    void statisticsAgainstHandCounts();
    void statisticsFollowAGrowingList();
};

void TestTableTools::contextMenuOffersTheFourCommands()
{
    Rig rig;
    QStringList texts;
    for (QAction *a : rig.view().actions())
        if (!a->isSeparator())
            texts << a->text();
    QCOMPARE(texts, (QStringList{"Copy", "Select All", "Export CSV...", "Statistics..."}));
    QCOMPARE(rig.view().contextMenuPolicy(), Qt::ActionsContextMenu);
    QCOMPARE(rig.tools().exportAction()->toolTip(), QString("Export CSV (Ctrl+E)"));
}

void TestTableTools::copiesCellsRowsColumnsAndAll()
{
    Rig rig;
    rig.window.show();
    // A block of cells: rows 2 and 3, resistance and voltage, no titles.
    rig.select(1, 3, 2, 4);
    QCOMPARE(rig.tools().selectionText(), QString("1.520\t3.702\r\nOL\t3.705\r\n"));
    // Through the key, onto the clipboard.
    rig.view().setFocus();
    QApplication::setActiveWindow(&rig.window);
    QVERIFY(QTest::qWaitForWindowActive(&rig.window));
    QTest::keyClick(&rig.view(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("1.520\t3.702\r\nOL\t3.705\r\n"));

    // Cells apart: each line keeps both columns, the unselected cell empty.
    rig.view().selectionModel()->clear();
    rig.view().selectionModel()->select(rig.view().model()->index(0, 3), QItemSelectionModel::Select);
    rig.view().selectionModel()->select(rig.view().model()->index(2, 4), QItemSelectionModel::Select);
    QCOMPARE(rig.tools().selectionText(), QString("1.500\t\r\n\t3.705\r\n"));

    // A whole column (its title clicked) brings its title.
    QTest::mouseClick(rig.view().horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(rig.view().horizontalHeader()->sectionViewportPosition(4) + 5, 5));
    QCOMPARE(rig.tools().selectionText(), QString("4Voltage\r\n3.700\r\n3.702\r\n3.705\r\n-OL\r\n0.004\r\n3.699\r\n"));

    // Ctrl+A: everything, titles first, as a spreadsheet pastes it.
    QTest::keyClick(&rig.view(), Qt::Key_A, Qt::ControlModifier);
    const QStringList lines = rig.tools().selectionText().split("\r\n");
    QCOMPARE(lines.size(), 8); // titles, six rows, and the empty text after the last line end
    QCOMPARE(lines[0], QString("No.s\tDate\tTime\t4Ohm\t4Voltage"));
    QCOMPARE(lines[5], QString("5\t2024/03/05\t14:07:15\t----\t0.004"));

    // A click on the first column takes its row.
    const QRect cell = rig.view().visualRect(rig.view().model()->index(3, 0));
    QTest::mouseClick(rig.view().viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(rig.tools().selectionText(), QString("4\t2024/03/05\t14:07:14\t1.480\t-OL\r\n"));
}

void TestTableTools::csvInBothLocales_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("second");
    QTest::newRow("English") << "en_GB"
                             << ","
                             << "1.520";
    QTest::newRow("German") << "de_DE"
                            << ";"
                            << "1,520";
}

void TestTableTools::csvInBothLocales()
{
    QFETCH(QString, locale);
    QFETCH(QString, separator);
    QFETCH(QString, second);
    QLocale::setDefault(QLocale(locale));
    Rig rig;
    QTemporaryDir dir;
    rig.dialogs.saveAnswers.enqueue(dir.filePath("list.csv"));
    // The dialog offers the locale's choice; the scripted user takes it as offered.
    QVERIFY(rig.tools().exportCsv());
    QLocale::setDefault(QLocale::c());
    QCOMPARE(rig.dialogs.csvDefaults.size(), 1);
    QCOMPARE(QString(rig.dialogs.csvDefaults[0].separator), separator);

    QFile file(dir.filePath("list.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)), separator[0]);
    QCOMPARE(rows.size(), 7);
    QCOMPARE(rows[0], (QStringList{"No.s", "Date and time", "Resistance (Ohm)", "Voltage (V)"}));
    QCOMPARE(rows[2], (QStringList{"2", "2024-03-05 14:07:12", second, second == "1.520" ? "3.702" : "3,702"}));
    // "OL", "-OL" and "----" are empty cells, so the columns stay numbers.
    QCOMPARE(rows[3][2], QString());
    QCOMPARE(rows[4][3], QString());
    QCOMPARE(rows[5][2], QString());
}

void TestTableTools::csvOfASelectionAndTheSavedFile()
{
    Rig rig;
    // Rows 3 and 4, time to voltage: the date-and-time column comes along with its time.
    rig.select(2, 2, 3, 4);
    core::CsvOptions keep;
    keep.keepMarkers = true;
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(rig.tools().csvBytes(keep).mid(3)), ',');
    QCOMPARE(rows, (QList<QStringList>{{"Date and time", "Resistance (Ohm)", "Voltage (V)"},
                                       {"14:07:13", "OL", "3.705"},
                                       {"14:07:14", "1.480", "-OL"}}));

    // A failed save says so and leaves nothing claimed.
    rig.dialogs.saveAnswers.enqueue("/nonexistent-folder/list.csv");
    QVERIFY(!rig.tools().exportCsv());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages[0].text.startsWith("\"/nonexistent-folder/list.csv\" cannot be written"));
    // Cancelled choices write nothing.
    rig.dialogs.csvAnswers.enqueue(std::nullopt);
    QVERIFY(!rig.tools().exportCsv());
}

void TestTableTools::statisticsAgainstHandCounts()
{
    Rig rig;
    ui::StatisticsWindow *stats = rig.tools().showStatistics();
    QVERIFY(stats->followsTable());
    QCOMPARE(stats->rows(), 6);
    // Resistances 1.500, 1.520, 1.480, 1.530 (OL and ---- hold none).
    const double r[] = {1.500, 1.520, 1.480, 1.530};
    const double mean = (r[0] + r[1] + r[2] + r[3]) / 4;
    double squares = 0;
    for (double v : r)
        squares += (v - mean) * (v - mean);
    const core::Running &ohm = stats->ohm().numbers;
    QCOMPARE(ohm.count(), 4);
    QCOMPARE(ohm.min(), 1.480);
    QCOMPARE(ohm.minAt(), 4);
    QCOMPARE(ohm.maxAt(), 6);
    QVERIFY(std::abs(ohm.mean() - mean) < 1e-12);
    QVERIFY(std::abs(ohm.deviation() - std::sqrt(squares / 3)) < 1e-12);
    QCOMPARE(stats->ohm().overloads, 1);
    QCOMPARE(stats->ohm().noReadings, 1);
    QCOMPARE(stats->volt().negativeOverloads, 1);
    QCOMPARE(stats->volt().numbers.count(), 5);
    QCOMPARE(stats->shown("Minimum", "Resistance"), QString("1.480 (row 4)"));
    QCOMPARE(stats->shown("Mean", "Resistance"), QString("1.5075"));
    QCOMPARE(stats->shown("OL", "Resistance"), QString("1"));

    // A selection of rows 1 to 3 in the resistance column alone.
    rig.select(0, 3, 2, 3);
    stats = rig.tools().showStatistics();
    QVERIFY(!stats->followsTable());
    QCOMPARE(stats->rows(), 3);
    QCOMPARE(stats->ohm().numbers.count(), 2);
    QCOMPARE(stats->ohm().overloads, 1);
    QCOMPARE(stats->volt().numbers.count(), 0);
    QCOMPARE(stats->shown("Mean", "Voltage"), QString("-"));
}

void TestTableTools::statisticsFollowAGrowingList()
{
    core::AppState state;
    ui::ScriptedDialogs dialogs;
    QWidget main;
    realtime::RealTimeList list(state, dialogs, main);
    list.appendRow("1\t2024/03/05\t14:07:11\t25.10\t3.700");
    ui::StatisticsWindow *stats = list.tableTools()->showStatistics();
    QCOMPARE(stats->rows(), 1);
    list.appendRow("2\t2024/03/05\t14:07:13\t25.30\t3.710");
    list.appendRow("3\t2024/03/05\t14:07:15\tOL\t3.720");
    QCOMPARE(stats->rows(), 3);
    QCOMPARE(stats->ohm().numbers.max(), 25.30);
    QCOMPARE(stats->ohm().overloads, 1);
    QCOMPARE(stats->volt().numbers.mean(), 3.710);
    QCOMPARE(stats->shown("Numbers", "Voltage"), QString("3"));
}

QTEST_MAIN(TestTableTools)
#include "tst_tabletools.moc"
