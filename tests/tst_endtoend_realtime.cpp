#include "panel/CommandBar.h"
#include "panel/PopupPanels.h"
#include "panel/Wiring.h"
#include "realtime/RealTimeGraph.h"
#include "realtime/RealTimeList.h"
#include "realtime/RealTimeRange.h"
#include "support/SimPanelRig.h"
#include "ui/GridModel.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

struct Rig : SimPanelRig
{
    // A steady 25.00 mOhm and 3.700 V rather than the drifting cell: what the tests wait
    // for does not depend on how long a slow machine takes to get there.
    Rig()
        : SimPanelRig({QStringLiteral("--cmd"), QStringLiteral("set 2500 3700")})
    {
    }
    // Ten sampling ticks a second: a one-second interval gives a row every 100 ms.
    bool start() { return SimPanelRig::start({}, 100); }
    QAction *button(int position) { return panel->commands().button(position); }
    realtime::RealTimeList *list() const { return panel->views().window<panel::Role::List>(); }
    int rows() const { return list() ? list()->grid().rows() - 1 : -1; }
    realtime::RealTimeGraph *ohmGraph() const { return panel->views().window<panel::Role::RealTimeX>(); }
    realtime::RealTimeGraph *voltGraph() const { return panel->views().window<panel::Role::RealTimeY>(); }
};

QStringList rowOf(const ui::GridModel &grid, int r)
{
    return {grid.text(r, 0), grid.text(r, 1), grid.text(r, 2), grid.text(r, 3), grid.text(r, 4)};
}

} // namespace

// The Real Time List against the simulated meter through the real serial port.
class TestEndToEndRealTime : public QObject
{
    Q_OBJECT
private slots:
    void listGrowsHaltsResumesAndRestarts();
    void listSavesUnderThePresentRanges();
    void graphsSweepAndReopenOnARangeChange();
    void graphStartAfterLimitDrawsUnderItsOwnLabels();
    void silentMeterLeavesGapsInListAndGraphs();
};

void TestEndToEndRealTime::listGrowsHaltsResumesAndRestarts()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.panel->show();
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);
    rig.state.SampleSeconds = 1;

    rig.button(4)->trigger(); // List Display
    realtime::RealTimeList *list = rig.list();
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->windowTitle(), QStringLiteral("Real Time List"));
    QVERIFY(rig.state.ListOpen && rig.state.ListOn);
    QCOMPARE(rowOf(list->grid(), 0), QStringList({"No.s", "   Date", "   Time", "Ohm", "Voltage"}));
    QCOMPARE(list->pos().x(), rig.panel->frameGeometry().right() + 1);

    QTRY_VERIFY_WITH_TIMEOUT(rig.rows() >= 3, 15000);
    QDateTime previous;
    for (int r = 1; r <= 3; ++r) {
        const QStringList row = rowOf(list->grid(), r);
        QCOMPARE(row[0], QString::number(r));
        // As the meter face shows them: two decimals in the 40 Ohm range, three on the 4 V one.
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d$")).match(row[3]).hasMatch(), qPrintable(row[3]));
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d\\.\\d\\d\\d$")).match(row[4]).hasMatch(), qPrintable(row[4]));
        const QDateTime stamp =
            QDateTime::fromString(row[1] + QLatin1Char(' ') + row[2], QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        QVERIFY(stamp.isValid());
        if (previous.isValid())
            QCOMPARE(previous.secsTo(stamp), 1);
        previous = stamp;
    }

    // Stop halts the rows; List Display resumes them without renumbering.
    list->buttonClick(QStringLiteral("stop"));
    QVERIFY(!rig.state.ListOn);
    const int halted = rig.rows();
    QTest::qWait(400);
    QCOMPARE(rig.rows(), halted);
    rig.button(4)->trigger();
    QCOMPARE(rig.list(), list);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rows() > halted, 10000);
    QCOMPARE(list->grid().text(halted + 1, 0), QString::number(halted + 1));

    // A new range starts a fresh table from row 1.
    const QPointer<realtime::RealTimeList> oldList(list);
    QVERIFY(rig.sim.command("range 2"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.list() && oldList.isNull(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rows() >= 1, 10000);
    QCOMPARE(rig.list()->grid().text(1, 0), QStringLiteral("1"));

    // Closed and opened again: empty, numbered from 1.
    rig.list()->close();
    QVERIFY(!rig.state.ListOpen && !rig.state.ListOn);
    QCOMPARE(rig.state.ListRowCount, 0);
    QTRY_VERIFY(!rig.list());
    rig.button(4)->trigger();
    QCOMPARE(rig.rows(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(rig.rows() >= 1, 10000);
    QCOMPARE(rig.list()->grid().text(1, 0), QStringLiteral("1"));
}

void TestEndToEndRealTime::listSavesUnderThePresentRanges()
{
    Rig rig;
    QVERIFY(rig.start());
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);
    QVERIFY(rig.sim.command("range 2")); // 400 mOhm
    QVERIFY(rig.sim.command("volt40 on"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.state.reading.OhmFullScale == 400 && rig.state.reading.VoltFullScale == 40, 10000);
    rig.state.SampleSeconds = 1;
    rig.button(4)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.rows() >= 2, 15000);
    realtime::RealTimeList *list = rig.list();

    // Refused while a recording runs, in the list's own words.
    const QString recording = rig.dir.filePath(QStringLiteral("rec.Dvm"));
    rig.dialogs.saveAnswers.enqueue(recording);
    rig.button(1)->trigger();
    QVERIFY(rig.state.Recording);
    list->buttonClick(QStringLiteral("Save"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages.at(0).text, QStringLiteral("Aready in recording mode, close it and try again !"));
    rig.button(1)->trigger();
    QVERIFY(!rig.state.Recording);

    list->buttonClick(QStringLiteral("stop"));
    const int rows = rig.rows();
    const QString path = rig.dir.filePath(QStringLiteral("list.Dvm"));
    rig.dialogs.saveAnswers.enqueue(path);
    list->buttonClick(QStringLiteral("Save"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), rows + 1);
    QCOMPARE(lines.at(0), QStringLiteral("No.s\t   Date\t   Time\t400mOhm\t40Voltage\t"));
    QCOMPARE(lines.at(1).section(QLatin1Char('\t'), 0, 0), QStringLiteral("1"));
    // The window keeps its own titles.
    QCOMPARE(list->grid().text(0, 3), QStringLiteral("Ohm"));
    QCOMPARE(list->grid().text(0, 4), QStringLiteral("Voltage"));
    // A cancelled dialog writes nothing and restores the titles all the same.
    list->buttonClick(QStringLiteral("Save"));
    QCOMPARE(list->grid().text(0, 3), QStringLiteral("Ohm"));
}

void TestEndToEndRealTime::graphsSweepAndReopenOnARangeChange()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.panel->show();
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);

    rig.button(5)->trigger(); // Graph Display
    realtime::RealTimeGraph *ohm = rig.ohmGraph();
    realtime::RealTimeGraph *volt = rig.voltGraph();
    QVERIFY(ohm && volt && ohm->isVisible() && volt->isVisible());
    QCOMPARE(ohm->windowTitle(), QStringLiteral("Real Time Graph - (m) Ohm "));
    QCOMPARE(volt->windowTitle(), QStringLiteral("Real Time Graph - Voltage "));
    QCOMPARE(QStringList(ohm->axisLabels()), (QStringList{" 0", " 10", " 20", " 30", " 40"}));
    QCOMPARE(ohm->unitText(), QStringLiteral("mOhm")); // the simulator starts at 40 mOhm
    QCOMPARE(QStringList(volt->axisLabels()), (QStringList{"-4", "-3", "-2", "-1", " 0", " 1", " 2", " 3", " 4"}));

    // The simulated cell reads 25.00 mOhm: the trace runs 111.875 px above the zero line.
    QTRY_VERIFY_WITH_TIMEOUT(ohm->sweep().SweepX >= 5, 10000);
    const QImage picture = ohm->picture();
    int red = 0;
    for (int y = 130; y <= 150; ++y)
        red += qRed(picture.pixel(43, y)) > 200 && qGreen(picture.pixel(43, y)) < 80 ? 1 : 0;
    QVERIFY(red >= 1);

    // The meter moves to 4 Ohm and 40 V: both graphs open afresh on the new scales. The old
    // window is watched through a guard: a later window may well be built at its address.
    const QPointer<realtime::RealTimeGraph> oldOhm(ohm);
    QVERIFY(rig.sim.command("range 1"));
    QVERIFY(rig.sim.command("volt40 on"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.state.reading.VoltFullScale == 40, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(oldOhm.isNull() && rig.ohmGraph(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.voltGraph() && rig.voltGraph()->axisLabels().value(0) == QStringLiteral("-40"), 10000);
    QCOMPARE(QStringList(rig.ohmGraph()->axisLabels()), (QStringList{" 0", " 1", " 2", " 3", " 4"}));
    QCOMPARE(rig.ohmGraph()->unitText(), QStringLiteral("Ohm"));
    QCOMPARE(QStringList(rig.voltGraph()->axisLabels()),
             (QStringList{"-40", "-30", "-20", "-10", " 0", " 10", " 20", " 30", " 40"}));
    QVERIFY(rig.state.GraphOn);
    QVERIFY(rig.ohmGraph()->isSweeping() && rig.voltGraph()->isSweeping());
    QCOMPARE(rig.ohmGraph()->sweepIntervalMs(), 150);

    // Start Real Time closes both.
    rig.button(3)->trigger();
    QVERIFY(!rig.state.GraphOn);
    QTRY_VERIFY(!rig.ohmGraph() && !rig.voltGraph());
}

void TestEndToEndRealTime::graphStartAfterLimitDrawsUnderItsOwnLabels()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.panel->show();
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);

    rig.button(5)->trigger(); // Graph Display
    rig.ohmGraph()->buttonClick(QStringLiteral("Limit"));
    auto *range = rig.panel->views().window<panel::Role::RealTimeRange>();
    QVERIFY(range);
    const QStringList boxes = {"TextXMax", "TextXMin", "TextYMax", "TextYMin", "TextCounts"};
    const QStringList entry = {"40", "20", "4", "3", "240"};
    for (int i = 0; i < boxes.size(); ++i)
        range->box(boxes[i]).setText(entry[i]);
    range->findChild<QPushButton *>(QStringLiteral("CmdOK"))->click();
    QTRY_VERIFY(rig.ohmGraph() && rig.voltGraph());
    QCOMPARE(QStringList(rig.ohmGraph()->axisLabels()), (QStringList{" 20", " 25", " 30", " 35", " 40"}));
    rig.voltGraph()->buttonClick(QStringLiteral("stop"));

    // "Start Real Time List or Graph", then Graph: the open windows start again on the
    // present range's limits, and 25.00 mOhm is drawn where the 25 label stands.
    realtime::RealTimeGraph *ohm = rig.ohmGraph();
    rig.button(3)->trigger();
    rig.panel->realTimeChooser().choose(1);
    QCOMPARE(rig.ohmGraph(), ohm);
    QCOMPARE(QStringList(ohm->axisLabels()), (QStringList{" 0", " 10", " 20", " 30", " 40"}));
    QVERIFY(ohm->isSweeping());
    QTRY_VERIFY_WITH_TIMEOUT(ohm->sweep().SweepX >= 5, 10000);
    // 25 of 40 over 179 px: 111.875 px above the zero line at 252.
    const QImage picture = ohm->picture();
    int red = 0;
    for (int y = 138; y <= 142; ++y)
        red += qRed(picture.pixel(43, y)) > 200 && qGreen(picture.pixel(43, y)) < 80 ? 1 : 0;
    QVERIFY(red >= 1);
}

void TestEndToEndRealTime::silentMeterLeavesGapsInListAndGraphs()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.panel->show();
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);
    rig.state.SampleSeconds = 1;
    rig.button(4)->trigger(); // List Display
    rig.button(5)->trigger(); // Graph Display
    realtime::RealTimeGraph *ohm = rig.ohmGraph();
    QTRY_VERIFY_WITH_TIMEOUT(rig.rows() >= 5, 10000);

    // The meter falls silent: within 1.5 s the rows stop; "No COM" a few seconds later,
    // the last value still on the face.
    QVERIFY(rig.sim.command("silent"));
    const int before = rig.rows();
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("No COM"), 15000);
    const int atNoCom = rig.rows();
    QVERIFY2(atNoCom - before <= 20, qPrintable(QStringLiteral("%1 -> %2").arg(before).arg(atNoCom)));
    QCOMPARE(rig.label("ValOhm"), QStringLiteral("25.00"));
    const float penAtNoCom = ohm->sweep().SweepX;
    QTest::qWait(1000);
    QCOMPARE(rig.rows(), atNoCom);
    // The pen sweeps on over an empty strip.
    QVERIFY(ohm->sweep().SweepX != penAtNoCom);
    QCOMPARE(ohm->sweep().LastX, 0.f);

    QVERIFY(rig.sim.command("resume"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.rows() >= atNoCom + 3, 15000);
    // The rows run on without a number missing; their stamps show the gap.
    const ui::GridModel &grid = rig.list()->grid();
    int gaps = 0;
    QDateTime previous;
    for (int r = 1; r < grid.rows(); ++r) {
        QCOMPARE(grid.text(r, 0), QString::number(r));
        const QDateTime stamp = QDateTime::fromString(grid.text(r, 1) + QLatin1Char(' ') + grid.text(r, 2),
                                                      QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        if (previous.isValid() && previous.secsTo(stamp) != 1) {
            QVERIFY(previous.secsTo(stamp) >= 20);
            ++gaps;
        }
        previous = stamp;
    }
    QCOMPARE(gaps, 1);
}

QTEST_MAIN(TestEndToEndRealTime)
#include "tst_endtoend_realtime.moc"
