#include "realtime/RealTimeGraph.h"
#include "realtime/RealTimeRange.h"
#include "support/FakePanelRig.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QToolBar>
#include <QtTest>

using realtime::GraphKind;
using realtime::RealTimeGraph;
using Role = panel::Role;

namespace {

bool isRed(QRgb c)
{
    return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool isGrid(QRgb c)
{
    return qRed(c) == 192 && qGreen(c) == 192 && qBlue(c) == 192;
}
bool isInk(QRgb c)
{
    return qRed(c) < 128 && qGreen(c) < 128 && qBlue(c) < 128;
}

// How many pixels of the box (both corners included) pass the test.
template <class Test>
int count(const QImage &image, int x0, int y0, int x1, int y1, Test test)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += test(image.pixel(x, y)) ? 1 : 0;
    return n;
}

// Shared state as a start leaves it in the 40 Ohm and 4 V ranges.
void startedIn40Ohm(core::AppState &s)
{
    core::DecodeStatus(s.reading, 0);
    s.reading.OhmText = QStringLiteral("25.00");
    s.reading.VoltText = QStringLiteral("1.000");
    s.GraphOn = true;
    s.GraphOhmMax = 40;
    s.GraphOhmMin = 0;
    s.GraphVoltMax = 4;
    s.GraphVoltMin = -4;
    s.GraphStep = 1;
}

// One graph window on its own, with a clock that moves 150 ms a step.
struct GraphRig
{
    core::AppState state;
    ui::FakeClock clock;
    bool twinShown = false;
    std::unique_ptr<RealTimeGraph> graph;

    explicit GraphRig(GraphKind kind)
    {
        startedIn40Ohm(state);
        graph = std::make_unique<RealTimeGraph>(kind, state, clock, [this] { return twinShown; });
        graph->show();
    }
    // Whether a frame comes before each step, as from a meter that streams.
    bool meterSends = true;
    void ticks(int n)
    {
        for (int i = 0; i < n; ++i) {
            if (meterSends)
                state.ReadingAtMs = clock.mono;
            graph->tick();
            clock.advanceMs(150);
        }
    }
    QImage picture() const { return graph->picture(); }
};

// The main window with its graphs, shown, in the ranges of the given status.
struct PanelRig : FakePanelRig
{
    explicit PanelRig(uint8_t status = 0)
        : FakePanelRig(1, {})
    {
        panel->load();
        panel->show();
        core::DecodeStatus(state.reading, status);
    }
    RealTimeGraph *x() const { return panel->views().window<Role::RealTimeX>(); }
    RealTimeGraph *y() const { return panel->views().window<Role::RealTimeY>(); }
    realtime::RealTimeRange *range() const { return panel->views().window<Role::RealTimeRange>(); }
    void graphDisplay() { panel->commands().button(5)->trigger(); }
    void enter(const QStringList &boxes)
    {
        const QStringList names = {"TextXMax", "TextXMin", "TextYMax", "TextYMin", "TextCounts"};
        for (int i = 0; i < names.size(); ++i)
            range()->box(names[i]).setText(boxes[i]);
    }
    void ok() { range()->findChild<QPushButton *>(QStringLiteral("CmdOK"))->click(); }
};

} // namespace

class TestRealTimeGraph : public QObject
{
    Q_OBJECT
private slots:
    void opensAtTheDesignedSize_data();
    void opensAtTheDesignedSize();
    void sweepDrawsTraceStripGridAndMarks();
    void voltageGraphHasItsMiddleLineAndOutOfRangePoints();
    void heldReadingsLeaveAGap();
    void graphStartRedrawsOpenGraphsWithNewLimits();
    void pictureSurvivesHidingAndPaintsFromTheStore();
    void resizeRedrawsAndSharesTheWidth();
    void emptyClientAreaDrawsNothing();
    void graphDisplayOpensBothBesideTheMainWindow();
    void stopButtonsAndClosingFollowTheTwin();
    void printPrintsThePicture();
    void rangeWindowChecksAndRestartsBothGraphs();
};

void TestRealTimeGraph::opensAtTheDesignedSize_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("unit");
    QTest::newRow("resistance") << int(GraphKind::Ohm) << QSize(285, 279) << "Ohm";
    QTest::newRow("voltage") << int(GraphKind::Volt) << QSize(285, 364) << "Voltage";
}

void TestRealTimeGraph::opensAtTheDesignedSize()
{
    QFETCH(int, kind);
    QFETCH(QSize, size);
    QFETCH(QString, unit);
    GraphRig rig{GraphKind(kind)};
    QCOMPARE(rig.graph->size(), size);
    QCOMPARE(rig.graph->unitText(), unit);
    // The tool bar: three keyed buttons, tips as given.
    const QList<QAction *> buttons = rig.graph->toolBar().actions();
    QCOMPARE(buttons.size(), 3);
    QCOMPARE(buttons[0]->data().toString(), QStringLiteral("Limit"));
    QCOMPARE(buttons[1]->toolTip(), QStringLiteral("Print"));
    QCOMPARE(buttons[2]->data().toString(), QStringLiteral("stop"));
    QCOMPARE(buttons[2]->toolTip(), QStringLiteral("Stop"));
    QVERIFY(rig.graph->toolBar().height() <= 28);

    // Axes and scale ink: the vertical axis at x 37..38, a label left of it, the unit above.
    const QImage image = rig.picture();
    const int baseY = int(rig.graph->frame().BaseY);
    QVERIFY(count(image, 37, 100, 38, 200, isInk) >= 150);
    QVERIFY(count(image, 0, baseY - 6, 30, baseY + 6, isInk) > 3);
    QVERIFY(count(image, 8, 48, 40, 60, isInk) > 5);
    // The plot is empty.
    QCOMPARE(count(image, 40, 74, 280, baseY, [](QRgb c) { return c != qRgb(255, 255, 255); }), 0);
}

void TestRealTimeGraph::sweepDrawsTraceStripGridAndMarks()
{
    GraphRig rig{GraphKind::Ohm};
    rig.graph->startSweep(150);
    QCOMPARE(rig.graph->sweepIntervalMs(), 150);
    // First step: the pen at the left edge, a time label under it.
    rig.ticks(1);
    QCOMPARE(rig.graph->sweep().SweepX, 0.f);
    QCOMPARE(rig.graph->timeText(), QStringLiteral("14:07:09"));
    QImage image = rig.picture();
    QVERIFY(count(image, 18, 262, 62, 275, isInk) > 20);
    QCOMPARE(count(image, 40, 64, 40, 252, isRed), 0); // no segment yet

    // 25.00 of 40 lies 111.875 px above the zero line at 252.
    rig.ticks(239);
    image = rig.picture();
    QCOMPARE(rig.graph->sweep().SweepX, 239.f);
    for (int x : {41, 100, 200, 279})
        QVERIFY2(count(image, x, 139, x, 141, isRed) >= 1, qPrintable(QString::number(x)));
    // Grid lines at the quarters, dotted in colour 7.
    QVERIFY(count(image, 40, 207, 280, 207, isGrid) > 60);
    QVERIFY(count(image, 40, 117, 280, 118, isGrid) > 60);
    // Time marks at 60 and 120 px (dotted, up to 10 px over the plot), short marks at 30 and 90.
    QVERIFY(count(image, 100, 63, 100, 252, isGrid) > 40);
    QVERIFY(count(image, 160, 63, 160, 72, isGrid) >= 2);
    QVERIFY(count(image, 70, 159, 70, 166, isGrid) >= 6);
    QCOMPARE(count(image, 70, 63, 70, 110, isGrid), 0);
    QVERIFY(count(image, 80, 262, 120, 275, isInk) > 20);        // "14:07:18" under 60 px
    QCOMPARE(rig.graph->timeText(), QStringLiteral("14:07:36")); // the last mark, at 180 px

    // The wrap: no joining segment; the strip ahead of the pen is wiped.
    rig.state.reading.OhmText = QStringLiteral("35.00"); // 156.625 px up
    rig.ticks(11);
    QCOMPARE(rig.graph->sweep().SweepX, 10.f);
    image = rig.picture();
    QCOMPARE(count(image, 60, 100, 260, 135, isRed), 0);
    QCOMPARE(count(image, 41, 94, 50, 96, isRed) >= 9, true);
    QCOMPARE(count(image, 51, 80, 51, 252, isRed), 0); // the wiped column ahead
    QCOMPARE(count(image, 51, 68, 51, 255, [](QRgb c) { return c != qRgb(255, 255, 255) && !isGrid(c); }), 0);
    QVERIFY(count(image, 52, 139, 52, 141, isRed) >= 1); // the old sweep beyond it

    // Over range 5 px above the plot, no reading 3 px below the zero line.
    rig.state.reading.OhmText = QStringLiteral("OL");
    rig.ticks(2);
    QVERIFY(count(image = rig.picture(), 52, 67, 52, 69, isRed) >= 1);
    rig.state.reading.OhmText = QStringLiteral("----");
    rig.ticks(2);
    QVERIFY(count(image = rig.picture(), 54, 254, 54, 256, isRed) >= 1);
    // The axis under it stays.
    QVERIFY(count(image, 54, 257, 54, 259, isInk) >= 2);
}

void TestRealTimeGraph::heldReadingsLeaveAGap()
{
    GraphRig rig{GraphKind::Ohm};
    rig.ticks(20); // 25.00 at x 40..59, 140 px down
    // The frames stop: ten more steps (1.5 s) still count the last one, then nothing is drawn.
    rig.meterSends = false;
    rig.ticks(10);
    rig.state.reading.OhmText = QStringLiteral("OL"); // not measured: no over-range mark either
    rig.ticks(10);
    // Back with 35.00 (96 px down): a fresh trace, not joined to the old one.
    rig.meterSends = true;
    rig.state.reading.OhmText = QStringLiteral("35.00");
    rig.ticks(20);
    QCOMPARE(rig.graph->sweep().SweepX, 59.f);
    const QImage image = rig.picture();
    for (int x = 41; x <= 69; ++x)
        QVERIFY2(count(image, x, 139, x, 141, isRed) >= 1, qPrintable(QString::number(x)));
    QCOMPARE(count(image, 71, 60, 79, 255, isRed), 0);
    for (int x = 82; x <= 99; ++x)
        QVERIFY2(count(image, x, 94, x, 97, isRed) >= 1, qPrintable(QString::number(x)));
    // The pen went on through the gap: the short mark at 30 px is there.
    QVERIFY(count(image, 70, 159, 70, 166, isGrid) >= 6);
}

void TestRealTimeGraph::voltageGraphHasItsMiddleLineAndOutOfRangePoints()
{
    GraphRig rig{GraphKind::Volt};
    rig.state.reading.VoltText = QStringLiteral("-2.500"); // 49.5 px above 337
    rig.ticks(50);
    QImage image = rig.picture();
    // The solid middle line at 337 - 132, across the axis.
    QVERIFY(count(image, 38, 205, 282, 205, isInk) >= 243);
    QVERIFY(count(image, 45, 286, 85, 289, isRed) >= 40);
    // Every eighth but the zero line and the middle carries a dotted grid line, the top included.
    for (int k : {1, 2, 3, 5, 6, 7, 8})
        QVERIFY2(count(image, 40, 337 - 33 * k, 280, 337 - 33 * k, isGrid) > 50, qPrintable(QString::number(k)));
    rig.state.reading.VoltText = QStringLiteral("OL");
    rig.ticks(2);
    QVERIFY(count(image = rig.picture(), 90, 67, 90, 69, isRed) >= 1);
    rig.state.reading.VoltText = QStringLiteral("-OL");
    rig.ticks(2);
    QVERIFY(count(image = rig.picture(), 92, 339, 92, 341, isRed) >= 1);
}

void TestRealTimeGraph::pictureSurvivesHidingAndPaintsFromTheStore()
{
    GraphRig rig{GraphKind::Ohm};
    rig.ticks(120);
    const QImage before = rig.picture();
    // What the window shows is its store, below the tool bar.
    const QRect plot(0, 40, 285, 239);
    QCOMPARE(rig.graph->grab().toImage().convertToFormat(before.format()).copy(plot), before.copy(plot));
    // Hidden (covered, minimised) and shown again: the picture is kept.
    rig.graph->hide();
    rig.graph->show();
    QCOMPARE(rig.picture(), before);
    QCOMPARE(rig.graph->grab().toImage().convertToFormat(before.format()).copy(plot), before.copy(plot));
    // The sweep goes on from where it was while hidden.
    rig.graph->hide();
    rig.ticks(5);
    QCOMPARE(rig.graph->sweep().SweepX, 124.f);
}

void TestRealTimeGraph::resizeRedrawsAndSharesTheWidth()
{
    core::AppState state;
    startedIn40Ohm(state);
    ui::FakeClock clock;
    RealTimeGraph x(GraphKind::Ohm, state, clock, [] { return true; });
    RealTimeGraph y(GraphKind::Volt, state, clock, [] { return true; });
    x.show();
    y.show();
    for (int i = 0; i < 50; ++i)
        x.tick();
    // Widening the voltage graph widens the shared plot width: the resistance graph wraps
    // there from its next step, its axes stay until it is resized itself.
    y.resize(415, 364);
    QCOMPARE(state.GraphWidth, 360.f);
    for (int i = 0; i < 300; ++i)
        x.tick();
    QCOMPARE(x.sweep().SweepX, 349.f - 0); // 50 + 300 - 1, past the old 240
    x.resize(300, 400);
    QCOMPARE(state.GraphWidth, 240.f);
    QCOMPARE(x.sweep().SweepX, -1.f);
    QCOMPARE(x.frame().BaseY, 373.0);
    QCOMPARE(count(x.picture(), 40, 74, 280, 373, [](QRgb c) { return c != qRgb(255, 255, 255); }), 0);
    // Neither shrinks below its smallest size; the voltage graph's is its designed size.
    x.resize(20, 20);
    y.resize(20, 20);
    QVERIFY(x.width() >= 112 && x.height() >= 173);
    QCOMPARE(y.size(), QSize(285, 364));
}

void TestRealTimeGraph::emptyClientAreaDrawsNothing()
{
    core::AppState state;
    startedIn40Ohm(state);
    state.GraphWidth = 240;
    ui::FakeClock clock;
    RealTimeGraph graph(GraphKind::Volt, state, clock, [] { return false; });
    // Before it is shown there is no picture: a step draws and moves nothing.
    graph.tick();
    QVERIFY(graph.backingStore().isNull());
    QCOMPARE(graph.sweep().SweepX, -1.f);
    // Shown without a client area, as when minimised while it resizes: still nothing, and
    // the width the twin uses is left alone.
    graph.setMinimumSize(0, 0);
    graph.resize(0, 0);
    graph.show();
    QCOMPARE(graph.size(), QSize(0, 0));
    graph.tick();
    QVERIFY(graph.backingStore().isNull());
    QCOMPARE(state.GraphWidth, 240.f);
    QCOMPARE(graph.sweep().SweepX, -1.f);
    // Given room again, it draws.
    graph.resize(400, 364);
    QVERIFY(!graph.backingStore().isNull());
    QCOMPARE(state.GraphWidth, 360.f);
    graph.tick();
    QCOMPARE(graph.sweep().SweepX, 0.f);
}

void TestRealTimeGraph::graphDisplayOpensBothBesideTheMainWindow()
{
    PanelRig rig;
    rig.graphDisplay();
    QVERIFY(rig.x() && rig.y());
    QVERIFY(rig.x()->isVisible() && rig.y()->isVisible());
    QCOMPARE(rig.x()->pos(), QPoint(rig.panel->frameGeometry().left(), 0));
    QCOMPARE(rig.y()->pos(), QPoint(rig.panel->frameGeometry().left() + rig.panel->frameGeometry().width(), 0));
    // Graph Display again brings up the same windows.
    RealTimeGraph *x = rig.x();
    rig.graphDisplay();
    QCOMPARE(rig.x(), x);
}

void TestRealTimeGraph::stopButtonsAndClosingFollowTheTwin()
{
    PanelRig rig;
    rig.graphDisplay();
    // The resistance graph's Stop stops only itself; the voltage graph's both.
    rig.x()->toolBar().actions().at(2)->trigger();
    QVERIFY(!rig.x()->isSweeping());
    QVERIFY(rig.y()->isSweeping());
    rig.graphDisplay();
    QVERIFY(rig.x()->isSweeping());
    rig.y()->buttonClick(QStringLiteral("stop"));
    QVERIFY(!rig.x()->isSweeping() && !rig.y()->isSweeping());
    QVERIFY(rig.state.GraphOn);

    // Closing one leaves GraphOn set while the other is shown; the last one clears it.
    rig.graphDisplay();
    rig.x()->close();
    QVERIFY(rig.state.GraphOn);
    QTRY_VERIFY(!rig.x());
    rig.y()->close();
    QVERIFY(!rig.state.GraphOn);
    QTRY_VERIFY(!rig.y());

    // The same the other way round.
    rig.graphDisplay();
    rig.y()->close();
    QVERIFY(rig.state.GraphOn);
    QVERIFY(rig.x()->isSweeping());
    rig.x()->close();
    QVERIFY(!rig.state.GraphOn);
}

void TestRealTimeGraph::printPrintsThePicture()
{
    PanelRig rig;
    rig.graphDisplay();
    rig.y()->buttonClick(QStringLiteral("Print"));
    QCOMPARE(rig.printers.asked, QStringList{"default"});
    // The picture without the tool bar, across the printable width, at the top.
    const QString picture = rig.printers.log.filter(QStringLiteral("picture")).value(0);
    QVERIFY2(picture.startsWith(QStringLiteral("picture 0 0 11622 ")), qPrintable(picture));
    QVERIFY2(picture.endsWith(QStringLiteral("of 285x364")), qPrintable(picture));
    QVERIFY(rig.printers.log.contains(QStringLiteral("end")));
    QVERIFY(rig.x()->isSweeping());
}

void TestRealTimeGraph::rangeWindowChecksAndRestartsBothGraphs()
{
    PanelRig rig(1); // 4 Ohm, 4 V
    rig.graphDisplay();
    RealTimeGraph *x = rig.x();
    x->buttonClick(QStringLiteral("Limit"));
    QVERIFY(rig.range() && rig.range()->isVisible());
    QCOMPARE(rig.range()->windowTitle(), QStringLiteral("Real Time Range"));
    QStringList shown;
    for (const char *name : {"TextXMax", "TextXMin", "TextYMax", "TextYMin", "TextCounts"})
        shown << rig.range()->box(QString::fromLatin1(name)).text();
    QCOMPARE(shown, (QStringList{"4", "0", "4", "-4", "240"}));
    // Laid out in twips, 15 to the pixel: a client area of 2850 x 2355, boxes of 735 x 285
    // in their frames, Counts and OK at the right.
    QCOMPARE(rig.range()->size(), QSize(190, 157));
    const auto placed = [&](const QWidget &w) { return QRect(w.mapTo(rig.range(), QPoint(0, 0)), w.size()); };
    QCOMPARE(placed(rig.range()->box(QStringLiteral("TextXMax"))), QRect(16, 48, 49, 19));
    QCOMPARE(placed(rig.range()->box(QStringLiteral("TextXMin"))), QRect(72, 48, 49, 19));
    QCOMPARE(placed(rig.range()->box(QStringLiteral("TextYMax"))), QRect(16, 128, 49, 19));
    QCOMPARE(placed(rig.range()->box(QStringLiteral("TextCounts"))), QRect(136, 48, 49, 21));
    QCOMPARE(placed(*rig.range()->findChild<QPushButton *>(QStringLiteral("CmdOK"))), QRect(136, 112, 49, 33));

    // A failed check is said against the ranges in use (every check and its text is in
    // tst_graphgeometry); nothing changes and the window stays.
    const QList<QPair<QStringList, QString>> failing = {
        {{"4.4", "0", "4", "-4", "240"}, "0 <= (m)Ohm <= 4, try again!"},
        {{"4", "0", "4", "-4", "9.99"}, "10 <= Counts <= 864000, try again!"},
    };
    for (const auto &[boxes, message] : failing) {
        rig.dialogs.messages.clear();
        rig.enter(boxes);
        rig.ok();
        QCOMPARE(rig.dialogs.messages.size(), 1);
        QCOMPARE(rig.dialogs.messages.at(0).text, message);
        QCOMPARE(rig.dialogs.messages.at(0).icon, ui::Dialogs::Icon::Critical);
        QCOMPARE(rig.dialogs.messages.at(0).title, QStringLiteral("Dorvel"));
        QVERIFY(rig.range()->isVisible());
        QCOMPARE(rig.x(), x);
        QCOMPARE(int(rig.state.GraphOhmMax), 4);
    }

    // Opened again while open: the entries stay as typed.
    rig.y()->buttonClick(QStringLiteral("Limit"));
    QCOMPARE(rig.range()->box(QStringLiteral("TextCounts")).text(), QStringLiteral("9.99"));

    // Passing, even after Stop: both graphs start afresh with the rounded limits.
    rig.y()->buttonClick(QStringLiteral("stop"));
    rig.dialogs.messages.clear();
    rig.enter({"2.6", "2.4", "3", "-1", "480"});
    rig.ok();
    QVERIFY(rig.dialogs.messages.isEmpty());
    QTRY_VERIFY(!rig.range());
    QVERIFY(rig.x() && rig.x() != x);
    QVERIFY(rig.x()->isVisible() && rig.y()->isVisible());
    QVERIFY(rig.x()->isSweeping() && rig.y()->isSweeping());
    QCOMPARE(rig.y()->sweepIntervalMs(), 150);
    QCOMPARE(QStringList(rig.x()->axisLabels()), (QStringList{" 2", " 2.25", " 2.5", " 2.75", " 3"}));
    QCOMPARE(QStringList(rig.y()->axisLabels()),
             (QStringList{"-1", "-0.5", " 0", " 0.5", " 1", " 1.5", " 2", " 2.5", " 3"}));
    // The graphs now keep these limits: GraphOn is off, so a range change leaves them be
    // (tst_livepoll: rangeChangeRestartsRunningViews).
    QVERIFY(!rig.state.GraphOn);
    x = rig.x();

    // Closing the range window by its title bar changes nothing.
    x->buttonClick(QStringLiteral("Limit"));
    rig.range()->box(QStringLiteral("TextXMax")).setText(QStringLiteral("1"));
    rig.range()->close();
    QCOMPARE(int(rig.state.GraphOhmMax), 3);
    QCOMPARE(rig.x(), x);
}

void TestRealTimeGraph::graphStartRedrawsOpenGraphsWithNewLimits()
{
    PanelRig rig; // default limits 0..40 and -4..4
    rig.graphDisplay();
    rig.x()->buttonClick(QStringLiteral("Limit"));
    rig.enter({"20", "0", "4", "3", "240"});
    rig.ok();
    QTRY_VERIFY(!rig.range());
    RealTimeGraph *x = rig.x();
    RealTimeGraph *y = rig.y();
    QCOMPARE(QStringList(x->axisLabels()), (QStringList{" 0", " 5", " 10", " 15", " 20"}));
    rig.state.reading.OhmText = QStringLiteral("10.00");
    rig.state.ReadingAtMs = rig.clock.mono;
    for (int i = 0; i < 30; ++i) {
        x->tick();
        y->tick();
    }
    y->buttonClick(QStringLiteral("stop"));
    QVERIFY(!x->isSweeping() && !y->isSweeping());

    // Graph Display with both still open: the same windows, in place, start again from
    // their load state on the default limits: labels, pen at the left, trace cleared.
    const QPoint xAt = x->pos();
    rig.graphDisplay();
    QCOMPARE(rig.x(), x);
    QCOMPARE(rig.y(), y);
    QCOMPARE(x->pos(), xAt);
    QCOMPARE(QStringList(x->axisLabels()), (QStringList{" 0", " 10", " 20", " 30", " 40"}));
    QCOMPARE(QStringList(y->axisLabels()), (QStringList{"-4", "-3", "-2", "-1", " 0", " 1", " 2", " 3", " 4"}));
    QCOMPARE(x->sweep().SweepX, -1.f);
    QCOMPARE(y->sweep().SweepX, -1.f);
    QCOMPARE(count(x->picture(), 40, 74, 279, 251, isRed), 0);
    QVERIFY(x->isSweeping() && y->isSweeping());

    // Shown again under the same settings: the sweep goes on where it is.
    for (int i = 0; i < 12; ++i)
        x->tick();
    rig.graphDisplay();
    QCOMPARE(x->sweep().SweepX, 11.f);
    QVERIFY(count(x->picture(), 41, 74, 51, 251, isRed) > 0);
}

QTEST_MAIN(TestRealTimeGraph)
#include "tst_realtimegraph.moc"
