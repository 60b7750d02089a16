#include "packs/PackBuilderWindow.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <set>

// The Pack Builder window on scripted dialogs: cells in, capacities imported or pasted, a
// plan built through its keys, saved and read back.
namespace {

packs::SessionCells fortyCells()
{
    packs::SessionCells s;
    for (int k = 0; k < 40; ++k) {
        packs::Cell c;
        c.id = QStringLiteral("C%1").arg(k + 1, 4, 10, QLatin1Char('0'));
        c.mOhm = 20 + (k * 37 % 40);
        c.volts = 3.60 + (k % 5) * 0.01;
        c.gradeRank = c.mOhm <= 50 ? 0 : 1;
        s.cells.push_back(c);
        s.grades.push_back(c.gradeRank == 0 ? QStringLiteral("A") : QStringLiteral("B"));
    }
    return s;
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestPackBuilder : public QObject
{
    Q_OBJECT
private slots:
    void importBuildSaveReadBack();
    void tooFewCellsBuildsNothing();
    void partialCapacitiesAreNamed();
    void pastedCapacities();
    void sessionThatCannotBeRead();
};

void TestPackBuilder::importBuildSaveReadBack()
{
    QTemporaryDir dir;
    ui::ScriptedDialogs dialogs;
    packs::PackBuilderWindow window(dialogs, {});
    window.setSession(dir.filePath("s.tsv"), fortyCells());
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // Semicolons and decimal commas, as a charger exports them; one ID that is not a cell of
    // the session, every cell of it named once.
    QByteArray csv("Cell ID;Capacity (mAh)\r\n");
    for (int k = 1; k <= 40; ++k)
        csv += QStringLiteral("C%1;%2,5\r\n").arg(k, 4, 10, QLatin1Char('0')).arg(2000 + k * 13 % 500).toUtf8();
    csv += "X9999;2100\r\n";
    write(dir.filePath("caps.csv"), csv);
    dialogs.openAnswers.enqueue(dir.filePath("caps.csv"));
    QTest::keyClick(&window, Qt::Key_I, Qt::ControlModifier);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY2(dialogs.messages[0].text.contains("1 ID of the file is not in this session: X9999."),
             qPrintable(dialogs.messages[0].text));
    QVERIFY(!dialogs.messages[0].text.contains("no capacity"));
    QCOMPARE(*window.cellTable().cells()[2].capacity, 2000 + 3 * 13 % 500 + 0.5);

    window.findChild<QSpinBox *>("S")->setValue(4);
    window.findChild<QSpinBox *>("P")->setValue(8);
    QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier);
    const packs::Plan &plan = window.plan();
    QCOMPARE(int(plan.groups.size()), 4);
    QVERIFY(plan.byCapacity);
    std::set<QString> used;
    for (const packs::Group &g : plan.groups) {
        QCOMPARE(int(g.cells.size()), 8);
        for (int c : g.cells)
            used.insert(window.planCells()[c].id);
    }
    QCOMPARE(int(used.size()), 32);
    // The 32 chosen are the best: every grade A cell (resistance up to 50) before any B.
    for (const packs::Cell &c : window.planCells())
        QVERIFY(c.mOhm <= 52);
    QCOMPARE(window.findChild<QTableView *>("Groups")->model()->rowCount(), 4);

    dialogs.saveAnswers.enqueue(dir.filePath("plan.tsv"));
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QFile saved(dir.filePath("plan.tsv"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).split("\r\n");
    QCOMPARE(lines[0], QString("Dorvel pack plan\t4S8P"));
    QVERIFY(lines[1].endsWith("s.tsv"));
    const int cellTable = int(lines.indexOf("Group\tCell\tmOhm\tVoltage\tCapacity (mAh)"));
    QVERIFY(cellTable > 0);
    std::map<int, double> groupCapacity;
    int cellLines = 0;
    for (int k = cellTable + 1; k < lines.size() && !lines[k].isEmpty(); ++k) {
        const QStringList f = lines[k].split('\t');
        QCOMPARE(f.size(), 5);
        QVERIFY(used.count(f[1]));
        groupCapacity[f[0].toInt()] += f[4].toDouble();
        ++cellLines;
    }
    QCOMPARE(cellLines, 32);
    for (int g = 0; g < 4; ++g)
        QCOMPARE(groupCapacity[g + 1], plan.groups[g].capacity);
    const int groupTable = int(lines.indexOf("Group\tCells\tCapacity (mAh)\tmOhm\tVoltage spread (V)"));
    QVERIFY(groupTable > 0 && groupTable < cellTable);
    QCOMPARE(lines[groupTable + 1].split('\t')[1].split(' ').size(), 8);
}

void TestPackBuilder::tooFewCellsBuildsNothing()
{
    ui::ScriptedDialogs dialogs;
    packs::PackBuilderWindow window(dialogs, {});
    window.setSession("s.tsv", fortyCells());
    window.cellTable().setData(window.cellTable().index(0, packs::CellTable::Use), Qt::Unchecked, Qt::CheckStateRole);
    window.setPackLayout(5, 8);
    QVERIFY(!window.build());
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text,
             QString("5S8P needs 40 cells, but only 39 are ticked: 1 missing. Nothing was built."));
    QVERIFY(window.plan().groups.empty());

    // Without capacities the match evens resistance alone.
    window.setPackLayout(3, 13);
    QVERIFY(window.build());
    QVERIFY(!window.plan().byCapacity);
    for (const packs::Cell &c : window.planCells())
        QVERIFY(c.id != "C0001");
}

void TestPackBuilder::partialCapacitiesAreNamed()
{
    QTemporaryDir dir;
    ui::ScriptedDialogs dialogs;
    packs::PackBuilderWindow window(dialogs, {});
    window.setSession("s.tsv", fortyCells());
    // A comma file with a decimal point that leaves out two cells and has a line without a number.
    QByteArray csv("id,mAh\n");
    for (int k = 1; k <= 38; ++k)
        csv += QStringLiteral("C%1,%2.0\n").arg(k, 4, 10, QLatin1Char('0')).arg(2100 + k).toUtf8();
    csv += "C0039,--\n";
    write(dir.filePath("caps.csv"), csv);
    QVERIFY(window.importCapacities(dir.filePath("caps.csv")));
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.contains("1 line holds no capacity: C0039,--."));
    QVERIFY(dialogs.messages[0].text.contains("2 cells still have no capacity: C0039, C0040."));

    window.setPackLayout(5, 8);
    QVERIFY(!window.build());
    QVERIFY2(dialogs.messages[1].text.startsWith("2 of the 40 cells chosen for 5S8P have no capacity: C0039, C0040."),
             qPrintable(dialogs.messages[1].text));
}

void TestPackBuilder::pastedCapacities()
{
    ui::ScriptedDialogs dialogs;
    packs::PackBuilderWindow window(dialogs, {});
    window.setSession("s.tsv", fortyCells());
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *view = window.findChild<QTableView *>("Cells");
    view->setFocus();
    view->setCurrentIndex(window.cellTable().index(2, packs::CellTable::Capacity));
    QApplication::clipboard()->setText("2450\r\n2391,5\tx\r\nnone\r\n2300\r\n");
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    const std::vector<packs::Cell> &cells = window.cellTable().cells();
    QVERIFY(!cells[1].capacity);
    QCOMPARE(*cells[2].capacity, 2450.0);
    QCOMPARE(*cells[3].capacity, 2391.5);
    QVERIFY(!cells[4].capacity);
    QCOMPARE(*cells[5].capacity, 2300.0);
    QVERIFY(!cells[6].capacity);
    QCOMPARE(window.status(), QString("1 pasted line held no capacity and was left out."));

    // A capacity typed into the cell: a word is refused and the old value stays.
    QVERIFY(!window.cellTable().setData(window.cellTable().index(2, packs::CellTable::Capacity), "abc"));
    QCOMPARE(*cells[2].capacity, 2450.0);
    QVERIFY(window.cellTable().setData(window.cellTable().index(2, packs::CellTable::Capacity), ""));
    QVERIFY(!cells[2].capacity);
}

void TestPackBuilder::sessionThatCannotBeRead()
{
    ui::ScriptedDialogs dialogs;
    packs::PackBuilderWindow window(dialogs, [](const QString &path, QString &error) {
        error = QStringLiteral("%1 is not a sorting session.").arg(path);
        return std::optional<packs::SessionCells>();
    });
    window.setSession("s.tsv", fortyCells());
    dialogs.openAnswers.enqueue("/tmp/other.Dvm");
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QString("/tmp/other.Dvm is not a sorting session."));
    QCOMPARE(window.cellTable().cells().size(), size_t(40));
}

QTEST_MAIN(TestPackBuilder)
#include "tst_packbuilder.moc"
