// The pack builder end to end: the simulator plays 40 cells through the real serial code into
// Cell Sorting, "Build Packs..." opens the Pack Builder on the session, a charger's capacity
// list is imported, 4S8P is built through the window's keys and the saved plan read back.
#include "packs/PackBuilderWindow.h"
#include "panel/CommandBar.h"
#include "sorting/SortingWindow.h"
#include "sorting/Station.h"
#include "support/SimPanelRig.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QtTest>
#include <map>
#include <set>

class TestEndToEndPacks : public QObject
{
    Q_OBJECT
private slots:
    void fortyCellsIntoFourGroupsOfEight();
};

void TestEndToEndPacks::fortyCellsIntoFourGroupsOfEight()
{
    SimPanelRig rig;
    QVERIFY(rig.start());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.label("ValOhm").isEmpty(), 10000);
    rig.panel->commands().button(11)->trigger();
    auto *sorting = rig.panel->views().window<panel::Role::Sorting>();
    QVERIFY(sorting);

    // Forty good used cells, 20 to 59 mOhm, all close to 3.65 V but cell 9 at 3.80 V.
    QFile cells(rig.dir.filePath("cells.txt"));
    QVERIFY(cells.open(QIODevice::WriteOnly));
    for (int k = 0; k < 40; ++k)
        cells.write(QStringLiteral("%1 %2\n").arg(20 + (k * 17) % 40).arg(k == 8 ? "3.800" : "3.650").toUtf8());
    cells.close();
    QVERIFY(rig.sim.command(("cells " + cells.fileName()).toUtf8()));
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.output().contains("cells done 40"), 180000);
    QTRY_COMPARE_WITH_TIMEOUT(sorting->station().cells().size(), 40, 5000);

    sorting->findChild<QAction *>("Build Packs...")->trigger();
    auto *builder = rig.panel->views().window<panel::Role::PackBuilder>();
    QVERIFY(builder);
    QCOMPARE(builder->windowTitle(), QString("Pack Builder"));
    QCOMPARE(builder->cellTable().cells().size(), size_t(40));

    // The charger's list: semicolons, decimal commas, one cell it never saw and one it did not know.
    QFile capacities(rig.dir.filePath("charger.csv"));
    QVERIFY(capacities.open(QIODevice::WriteOnly));
    capacities.write("Slot;Cell ID;Capacity (mAh)\r\n");
    for (int k = 1; k <= 40; ++k)
        capacities.write(
            QStringLiteral("%1;C%2;%3,0\r\n").arg(k).arg(k, 4, 10, QLatin1Char('0')).arg(2000 + k * 37 % 600).toUtf8());
    capacities.write("41;Z0001;2222\r\n");
    capacities.close();
    builder->show();
    QApplication::setActiveWindow(builder);
    QVERIFY(QTest::qWaitForWindowActive(builder));
    rig.dialogs.openAnswers.enqueue(capacities.fileName());
    QTest::keyClick(builder, Qt::Key_I, Qt::ControlModifier);
    QVERIFY(rig.dialogs.messages.last().text.contains("1 ID of the file is not in this session: Z0001."));

    builder->setPackLayout(4, 8);
    QTest::keyClick(builder, Qt::Key_B, Qt::ControlModifier);
    const packs::Plan &plan = builder->plan();
    QCOMPARE(plan.groups.size(), size_t(4));
    QVERIFY(plan.byCapacity);
    // 32 cells of whole mAh into four groups of about 18,000 mAh: within a tenth of a per cent.
    QVERIFY2(plan.capacitySpreadPercent <= 0.1, qPrintable(QString::number(plan.capacitySpread)));
    std::set<QString> used;
    for (const packs::Group &g : plan.groups) {
        QCOMPARE(g.cells.size(), size_t(8));
        for (int c : g.cells)
            used.insert(builder->planCells()[c].id);
    }
    QCOMPARE(used.size(), size_t(32));

    const QString planPath = rig.dir.filePath("plan.tsv");
    rig.dialogs.saveAnswers.enqueue(planPath);
    QTest::keyClick(builder, Qt::Key_S, Qt::ControlModifier);
    QFile saved(planPath);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(saved.readAll()).split("\r\n");
    QCOMPARE(lines[0], QString("Dorvel pack plan\t4S8P"));
    QCOMPARE(lines[1], "Session\t" + sorting->station().path());
    const int table = int(lines.indexOf("Group\tCell\tmOhm\tVoltage\tCapacity (mAh)"));
    QVERIFY(table > 0);
    std::map<QString, int> groupOf;
    for (int k = table + 1; k < lines.size() && !lines[k].isEmpty(); ++k) {
        const QStringList f = lines[k].split('\t');
        groupOf[f[1]] = f[0].toInt();
    }
    QCOMPARE(groupOf.size(), size_t(32));
    for (size_t g = 0; g < plan.groups.size(); ++g)
        for (int c : plan.groups[g].cells)
            QCOMPARE(groupOf[builder->planCells()[c].id], int(g + 1));
    // Printed to a PDF through the print dialog: the title, the summary and every group.
    const QString pdf = rig.dir.filePath("plan.pdf");
    rig.dialogs.printAnswers.enqueue(true);
    rig.dialogs.onPrintSetup = [pdf](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    QSignalSpy printed(&rig.panel->printing(), &printing::Printing::finished);
    QTest::keyClick(builder, Qt::Key_P, Qt::ControlModifier);
    QTRY_COMPARE(printed.size(), 1);
    QVERIFY(printed[0][0].toBool());
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished(30000));
    const QString content = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(content.contains("Pack plan 4S8P"));
    QVERIFY(content.contains("Capacity spread:"));
    for (const packs::Group &g : plan.groups)
        QVERIFY(content.contains(builder->planCells()[g.cells.front()].id));

    // Cell 9 at 3.80 V, if it is in the pack, is named in the warning of its group.
    if (used.count("C0009"))
        QVERIFY(std::any_of(lines.begin(), lines.end(),
                            [](const QString &l) { return l.startsWith("Warning: cells to be joined in parallel"); }));
}

QTEST_MAIN(TestEndToEndPacks)
#include "tst_endtoend_packs.moc"
