#include "core/AppState.h"
#include "plot/PlotView.h"
#include "plot/PlotWindow.h"
#include "ui/GridModel.h"

#include <QApplication>
#include <QWheelEvent>
#include <QtTest>

// The list plot as an analysis tool: wheel, pan, band and keys change the rows and values in
// view, Home gives back the plot as it opened, and the crosshair names the nearest row.
namespace {

constexpr double Left = 1000, Right = 5000, TopLine = 1000, Zero = 4000;

// 100 rows, one a second from 10:00:01; resistance 20 + row/10 mOhm, voltage 3.900 and,
// from row 60 on, a charged cell's 4.200 over the 4 V range.
void fill(ui::GridModel &grid, int rows = 100)
{
    grid.setCols(5);
    grid.setHeader({"No.s", "Date", "Time", "40mOhm", "4Voltage"});
    for (int n = 1; n <= rows; ++n)
        grid.addRow(QStringLiteral("%1\t2024/03/05\t10:%2:%3\t%4\t%5")
                        .arg(n)
                        .arg(n / 60, 2, 10, QLatin1Char('0'))
                        .arg(n % 60, 2, 10, QLatin1Char('0'))
                        .arg(20 + n / 10.0, 0, 'f', 2)
                        .arg(n >= 60 ? "4.200" : "3.900"));
}

plot::PlotResult opened(const ui::GridModel &grid)
{
    core::AppState s;
    plot::setPlotFromList(s, false, "40m", "4", grid.rows());
    return plot::drawListPlot(grid, s);
}

QPointF pixel(double xTwips, double yTwips)
{
    return QPointF(xTwips / 15, yTwips / 15);
}

void wheel(QWidget *w, QPointF at, int notches, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, mods, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(w, &e);
}

// The pointer moving over the canvas with no button down.
void hover(QWidget *w, QPointF at)
{
    QMouseEvent e(QEvent::MouseMove, at, w->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestPlotZoom : public QObject
{
    Q_OBJECT
private slots:
    void viewArithmetic();
    void zoomedPlotShowsItsRows();
    void wheelPanBandAndHome();
    void keyboardAlone();
    void crosshairNamesTheNearestRow();
    void valuesOverTheRangeComeIntoView();
};

void TestPlotZoom::viewArithmetic()
{
    const plot::PlotView all{1, 101, 0, 40, 0, 4};
    // Zooming in twice about row 51 (the middle) halves... 0.8 squared of the span, row 51 stays mid.
    plot::PlotView v = plot::zoomTime(all, 51, 0.64, 101);
    QCOMPARE(v.from, 19.0);
    QCOMPARE(v.to, 83.0);
    // About row 1 at the left edge: the left edge stays.
    v = plot::zoomTime(all, 1, 0.5, 101);
    QCOMPARE(v.from, 1.0);
    QCOMPARE(v.to, 51.0);
    // Never narrower than two rows, never wider than the list, never past its ends.
    QCOMPARE(plot::zoomTime(all, 30, 0.0001, 101).to - plot::zoomTime(all, 30, 0.0001, 101).from, 1.0);
    QCOMPARE(plot::zoomTime(all, 30, 5, 101), all);
    QCOMPARE(plot::panTime({1, 11, 0, 40, 0, 4}, -5, 101).from, 1.0);
    QCOMPARE(plot::panTime({1, 11, 0, 40, 0, 4}, 500, 101).to, 101.0);
    QCOMPARE(plot::panTime({1, 11, 0, 40, 0, 4}, 2.5, 101).from, 3.5);

    // Values zoom about the value under the pointer: 30 mOhm (and 3 V) at three quarters up.
    const double y = Zero - 0.75 * (Zero - TopLine);
    v = plot::zoomValues(all, y, 0.5);
    QCOMPARE(v.ohmMin, 15.0);
    QCOMPARE(v.ohmMax, 35.0);
    QCOMPARE(v.voltMin, 1.5);
    QCOMPARE(v.voltMax, 3.5);
    // Zooming out from the middle would go below zero: the scale starts at zero instead.
    v = plot::zoomValues(all, (Zero + TopLine) / 2, 2);
    QCOMPARE(v.ohmMin, 0.0);
    QCOMPARE(v.ohmMax, 80.0);
    // The lower half mirrors the voltage: a pointer as far below the zero line zooms the same.
    QCOMPARE(plot::zoomValues(all, Zero + 0.75 * (Zero - TopLine), 0.5), plot::zoomValues(all, y, 0.5));

    // A band over rows 26 to 76 and the middle half of the values.
    const QRectF band(QPointF(Left + 1000, Zero - 2250), QPointF(Left + 3000, Zero - 750));
    v = plot::zoomToBand(all, band, 101, 45);
    QCOMPARE(v.from, 26.0);
    QCOMPARE(v.to, 76.0);
    QCOMPARE(v.ohmMin, 10.0);
    QCOMPARE(v.ohmMax, 30.0);
    QCOMPARE(v.voltMin, 1.0);
    QCOMPARE(v.voltMax, 3.0);
    // A flat band zooms the time alone.
    v = plot::zoomToBand(all, QRectF(Left + 1000, 2000, 2000, 20), 101, 45);
    QCOMPARE(v.ohmMax, 40.0);
    QCOMPARE(v.from, 26.0);
}

void TestPlotZoom::zoomedPlotShowsItsRows()
{
    ui::GridModel grid;
    fill(grid);
    const plot::PlotResult r = opened(grid);
    // Rows 20.5 to 30.5: rows 21 to 30 inside, the segments 20-21 and 30-31 cut at the axes.
    const plot::ListPlot p = plot::plotOfView(r.rows, {20.5, 30.5, 0, 40, 0, 4});
    QCOMPARE(p.ohmCurve.size(), 12);
    QCOMPARE(p.ohmCurve.first().x(), Left);
    QCOMPARE(p.ohmCurve.last().x(), Right);
    QCOMPARE(p.ohmCurve[1].x(), Left + 0.5 * 400);
    // Row 21 reads 22.10 mOhm: 22.1 / 40 of the way up.
    QCOMPARE(p.ohmCurve[1].y(), Zero - 22.1 / 40 * 3000);
    // The cut point lies halfway between rows 20 (22.00) and 21 (22.10).
    QVERIFY(std::abs(p.ohmCurve[0].y() - (Zero - 22.05 / 40 * 3000)) < 1e-9);
    // The time labels follow: row 20.5 rounds to 20 (halves to even), the middle is 25, the end 30.
    QCOMPARE(p.time1, QString("10:00:20"));
    QCOMPARE(p.time2, QString("10:00:25"));
    QCOMPARE(p.time3, QString("10:00:30"));
    QCOMPARE(p.ohmName, QString("40mOhm"));
}

void TestPlotZoom::wheelPanBandAndHome()
{
    ui::GridModel grid;
    fill(grid);
    plot::PlotCanvas canvas;
    canvas.setPlot(opened(grid));
    canvas.show();
    const QImage asOpened = canvas.picture(1);
    QCOMPARE(canvas.view(), (plot::PlotView{1, 100, 0, 40, 0, 4}));

    // One notch forward with the pointer over row 34: the span shrinks to 4/5, row 34 stays put.
    const double x34 = Left + 33 * 4000.0 / 99;
    wheel(&canvas, pixel(x34, 2000), 1);
    QVERIFY(std::abs(plot::rowAt(canvas.view(), x34) - 34) < 1e-9);
    QVERIFY(std::abs(canvas.view().to - canvas.view().from - 99 * 0.8) < 1e-9);
    QCOMPARE(canvas.plot()->ohmCurve.first().x(), Left);
    QVERIFY(canvas.picture(1) != asOpened);

    // Dragging left by 40 pixels (600 twips) brings later rows in.
    const plot::PlotView before = canvas.view();
    const double rowsPerTwip = (before.to - before.from) / 4000;
    QTest::mousePress(&canvas, Qt::LeftButton, {}, QPoint(240, 150));
    QTest::mouseMove(&canvas, QPoint(200, 150));
    QTest::mouseRelease(&canvas, Qt::LeftButton, {}, QPoint(200, 150));
    QVERIFY(std::abs(canvas.view().from - (before.from + 600 * rowsPerTwip)) < 1e-9);
    QVERIFY(std::abs(canvas.view().to - (before.to + 600 * rowsPerTwip)) < 1e-9);

    // A right-drag band from row x 1400 to 2600 twips.
    const plot::PlotView panned = canvas.view();
    QTest::mousePress(&canvas, Qt::RightButton, {}, QPoint(1400 / 15, 100));
    QTest::mouseMove(&canvas, QPoint(2600 / 15, 200));
    QTest::mouseRelease(&canvas, Qt::RightButton, {}, QPoint(2600 / 15, 200));
    QVERIFY(std::abs(canvas.view().from - plot::rowAt(panned, 1400 / 15 * 15)) < 1e-9);
    QVERIFY(std::abs(canvas.view().to - plot::rowAt(panned, 2600 / 15 * 15)) < 1e-9);
    QVERIFY(canvas.view().ohmMax < 40);

    // Home: the plot as it opened, pixel for pixel.
    QTest::keyClick(&canvas, Qt::Key_Home);
    QCOMPARE(canvas.view(), canvas.homeView());
    QCOMPARE(canvas.picture(1), asOpened);

    // A double click does the same.
    wheel(&canvas, pixel(3000, 2000), 3);
    QTest::mouseDClick(&canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QCOMPARE(canvas.picture(1), asOpened);
}

void TestPlotZoom::keyboardAlone()
{
    ui::GridModel grid;
    fill(grid);
    plot::PlotCanvas canvas;
    canvas.setPlot(opened(grid));
    QTest::keyClick(&canvas, Qt::Key_Plus);
    QCOMPARE(canvas.view().from, 50.5 - 0.8 * 49.5);
    QTest::keyClick(&canvas, Qt::Key_Right);
    QVERIFY(canvas.view().from > 50.5 - 0.8 * 49.5);
    QTest::keyClick(&canvas, Qt::Key_Plus, Qt::ControlModifier);
    // About the middle of the scales: 20 mOhm +- 16, 2 V +- 1.6.
    QCOMPARE(canvas.view().ohmMin, 4.0);
    QCOMPARE(canvas.view().ohmMax, 36.0);
    QCOMPARE(canvas.view().voltMax, 3.6);
    QTest::keyClick(&canvas, Qt::Key_Home);
    QCOMPARE(canvas.view(), canvas.homeView());
}

void TestPlotZoom::crosshairNamesTheNearestRow()
{
    ui::GridModel grid;
    fill(grid);
    plot::PlotCanvas canvas;
    canvas.setPlot(opened(grid));
    canvas.show();
    QVERIFY(QTest::qWaitForWindowExposed(&canvas));
    // A little right of row 37's x: row 37 is the nearest.
    const double x37 = Left + 36 * 4000.0 / 99;
    hover(&canvas, pixel(x37, 2500) + QPointF(0.6, 0));
    QCOMPARE(canvas.crosshairRow(), 37);
    QCOMPARE(canvas.crosshairLabel(), QString("Row 37   2024/03/05 10:00:37\nR 23.70 mOhm   V 3.900"));
    // The label sits beside the row's vertical, so it covers neither of the row's points.
    const QRectF label = canvas.crosshairLabelRect();
    QVERIFY(!label.contains(pixel(x37, Zero - 23.7 / 40 * 3000)));
    QVERIFY(!label.contains(pixel(x37, Zero - 3.9 / 4 * 3000)));
    QVERIFY(label.left() > x37 / 15 || label.right() < x37 / 15);
    // Near the right edge it moves to the left of the row.
    const double x99 = Left + 98 * 4000.0 / 99;
    hover(&canvas, pixel(x99, 2500));
    QCOMPARE(canvas.crosshairRow(), 99);
    QVERIFY(canvas.crosshairLabelRect().right() < x99 / 15);
    QVERIFY(canvas.crosshairLabelRect().left() >= 0);
    // Outside the frame there is no crosshair.
    hover(&canvas, QPointF(5, 5));
    QCOMPARE(canvas.crosshairRow(), 0);
}

void TestPlotZoom::valuesOverTheRangeComeIntoView()
{
    ui::GridModel grid;
    fill(grid);
    plot::PlotCanvas canvas;
    canvas.setPlot(opened(grid));
    // As it opens, 4.200 V in the 4 V range is pinned just above the top line.
    QCOMPARE(canvas.plot()->voltCurve[70].y(), 900.0);
    // Ctrl and the wheel back, about the zero line: the voltage scale grows and 4.2 V shows.
    wheel(&canvas, pixel(3000, Zero), -1, Qt::ControlModifier);
    QCOMPARE(canvas.view().voltMax, 5.0);
    QCOMPARE(canvas.plot()->voltCurve[70].y(), Zero - 4.2 / 5 * 3000);
    QCOMPARE(canvas.plot()->scale.upTop, QString("5"));
    QCOMPARE(canvas.view().from, 1.0); // the time axis stays
}

QTEST_MAIN(TestPlotZoom)
#include "tst_plotzoom.moc"
