#include "plot/PlotMath.h"
#include "plot/PlotRangeWindow.h"
#include "plot/PlotWindow.h"
#include "printing/Printing.h"
#include "support/FakePanelRig.h"
#include "ui/GridModel.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

namespace {

// Settings as a Plot button leaves them for a list of `rows` data rows.
core::AppState settings(const QString &ohm, const QString &volt, int rows)
{
    core::AppState s;
    plot::setPlotFromList(s, false, ohm, volt, rows + 1);
    return s;
}

void fillGrid(ui::GridModel &grid, const QList<QStringList> &rows)
{
    grid.setHeader({"No.s", "Date", "Time", "40m Ohm", "4 Voltage"});
    int n = 0;
    for (const QStringList &row : rows)
        grid.addRow(QStringLiteral("%1\t2024/03/05\t%2\t%3\t%4").arg(++n).arg(row.at(0), row.at(1), row.at(2)));
}

QString timeOf(int n)
{
    return QStringLiteral("10:%1:%2").arg(n / 60 % 60, 2, 10, QLatin1Char('0')).arg(n % 60, 2, 10, QLatin1Char('0'));
}

bool isBlue(QRgb c)
{
    return qBlue(c) > 150 && qRed(c) < 120 && qGreen(c) < 120;
}
bool isGreen(QRgb c)
{
    return qGreen(c) > 150 && qRed(c) < 120 && qBlue(c) < 120;
}
bool isDark(QRgb c)
{
    return qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
}

// Whether some pixel of column x between y0 and y1 satisfies the test.
template <class Test>
bool columnHas(const QImage &image, int x, int y0, int y1, Test test)
{
    for (int y = y0; y <= y1; ++y)
        if (test(image.pixel(x, y)))
            return true;
    return false;
}

} // namespace

class TestPlot : public QObject
{
    Q_OBJECT
private slots:
    void heights_data();
    void heights();
    void scaleLabelsMirrorTheVoltage();
    void plotButtonsReadTheRangeTexts();
    void middleRow();
    void shortListsDrawNoCurves();
    void emptyScaleIsRefusedWithAReason();
    void rangeCheck_data();
    void rangeCheck();
    void renderedCurvesAndFrame();
    void reducedDrawingMatchesTheFull();
    void fileListPlotThroughTheToolBar();
};

void TestPlot::heights_data()
{
    QTest::addColumn<bool>("volt");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<double>("y");
    QTest::newRow("ohm overload above the top") << false << "OL" << 0.0 << 40.0 << 900.0;
    QTest::newRow("ohm no reading is 0") << false << "----" << 0.0 << 40.0 << 4000.0;
    QTest::newRow("ohm middle") << false << "20.00" << 0.0 << 40.0 << 2500.0;
    QTest::newRow("ohm full scale on the top line") << false << "40" << 0.0 << 40.0 << 1000.0;
    QTest::newRow("ohm over the scale") << false << "40.5" << 0.0 << 40.0 << 900.0;
    QTest::newRow("ohm under a raised minimum") << false << "5" << 10.0 << 40.0 << 4000.0;
    QTest::newRow("volt overload") << true << "OL" << 0.0 << 4.0 << 900.0;
    QTest::newRow("volt negative overload") << true << "-OL" << 0.0 << 4.0 << 7100.0;
    QTest::newRow("volt -2 on the lower grid line") << true << "-2.000" << 0.0 << 4.0 << 5500.0;
    QTest::newRow("volt -4 on the bottom line") << true << "-4.000" << 0.0 << 4.0 << 7000.0;
    QTest::newRow("volt beyond minus the max") << true << "-4.5" << 0.0 << 4.0 << 7100.0;
    QTest::newRow("volt negative inside the minimum") << true << "-0.5" << 1.0 << 4.0 << 4000.0;
    QTest::newRow("volt mirrored with a minimum") << true << "-2.5" << 1.0 << 4.0 << 5500.0;
    QTest::newRow("volt positive") << true << "3.000" << 0.0 << 4.0 << 1750.0;
}

void TestPlot::heights()
{
    QFETCH(bool, volt);
    QFETCH(QString, text);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(double, y);
    QCOMPARE(volt ? plot::voltHeight(text, min, max) : plot::ohmHeight(text, min, max), y);
}

void TestPlot::scaleLabelsMirrorTheVoltage()
{
    const core::AppState s = settings("40m Ohm", "4 Voltage", 10);
    const plot::ScaleLabels l = plot::scaleLabels(s);
    QCOMPARE(QStringList({l.valTop, l.valMid, l.zero}), QStringList({"40", "20", "0"}));
    QCOMPARE(QStringList({l.upTop, l.upMid, l.up0, l.midUp, l.topUp}), QStringList({"4", "2", "0", "-2", "-4"}));
    const plot::ScaleLabels wide = plot::scaleLabels(settings("400m", "40", 3));
    QCOMPARE(QStringList({wide.valTop, wide.upTop, wide.topUp}), QStringList({"400", "40", "-40"}));

    core::AppState narrow = s;
    narrow.PlotOhmMin = 0.5f;
    narrow.PlotOhmMax = 3;
    narrow.PlotVoltMin = 0;
    narrow.PlotVoltMax = 0;
    const plot::ScaleLabels n = plot::scaleLabels(narrow);
    QCOMPARE(n.valMid, QStringLiteral("1.75"));
    // Zero has no sign.
    QCOMPARE(n.midUp, QStringLiteral("0"));
    QCOMPARE(n.topUp, QStringLiteral("0"));
}

void TestPlot::plotButtonsReadTheRangeTexts()
{
    // The Data List's range texts and the labels found in the file it saved give one scale.
    core::AppState logger;
    plot::setPlotFromList(logger, true, "40m Ohm", "4 Voltage", 11);
    core::AppState file = settings("40m", "4", 10);
    QVERIFY(logger.PlotFromLogger && !logger.PlotFromFile);
    QVERIFY(file.PlotFromFile && !file.PlotFromLogger);
    for (const core::AppState *s : {&logger, &file}) {
        // Limit and scale, each for resistance then voltage; the rows, all of them plotted.
        QCOMPARE((QList<float>{s->PlotOhmLimit, s->PlotOhmMax, s->PlotOhmMin, s->PlotVoltLimit, s->PlotVoltMax,
                               s->PlotVoltMin, s->PlotRowCount, s->PlotPoints, s->PlotFrom, s->PlotTo}),
                 (QList<float>{40, 40, 0, 4, 4, 0, 10, 10, 1, 10}));
    }
}

void TestPlot::middleRow()
{
    QCOMPARE(plot::middleRow(3, 10), 6);
    QCOMPARE(plot::middleRow(1, 10), 5);
    QCOMPARE(plot::middleRow(1, 2), 1);
    QCOMPARE(plot::middleRow(4, 10), 7);
}

void TestPlot::shortListsDrawNoCurves()
{
    ui::GridModel one(5);
    fillGrid(one, {{"10:00:00", "12.00", "3.700"}});
    core::AppState s = settings("40m", "4", 1);
    plot::PlotResult r = plot::drawListPlot(one, s);
    QVERIFY(!r.failure);
    QCOMPARE(r.plot.scale.valTop, QStringLiteral("40"));
    QVERIFY(!r.plot.hasCurves);
    QVERIFY(r.plot.time1.isEmpty() && r.plot.ohmName.isEmpty() && r.plot.ohmCurve.isEmpty());

    ui::GridModel two(5);
    fillGrid(two, {{"10:00:00", "OL", "-OL"}, {"10:00:02", "----", "2.000"}});
    s = settings("40m", "4", 2);
    r = plot::drawListPlot(two, s);
    QVERIFY(!r.failure);
    QVERIFY(r.plot.hasCurves);
    QCOMPARE(r.plot.ohmCurve, QVector<QPointF>({{1000, 900}, {5000, 4000}}));
    QCOMPARE(r.plot.voltCurve, QVector<QPointF>({{1000, 7100}, {5000, 2500}}));
    QCOMPARE(r.plot.time1, QStringLiteral("10:00:00"));
    QCOMPARE(r.plot.time2, QStringLiteral("10:00:00"));
    QCOMPARE(r.plot.time3, QStringLiteral("10:00:02"));
    QCOMPARE(r.plot.ohmName, QStringLiteral("40m Ohm"));
    QCOMPARE(r.plot.voltName, QStringLiteral("4 Voltage"));
}

void TestPlot::emptyScaleIsRefusedWithAReason()
{
    // A file whose header named no resistance range: a 0 to 0 scale.
    ui::GridModel grid(5);
    fillGrid(grid, {{"10:00:00", "12.00", "3.700"}, {"10:00:02", "12.10", "3.710"}});
    plot::PlotResult r = plot::drawListPlot(grid, settings("", "4", 2));
    QVERIFY(r.failure);
    QVERIFY(r.failure->contains(QStringLiteral("no resistance range")));
    r = plot::drawListPlot(grid, settings("40m", "", 2));
    QVERIFY(r.failure && r.failure->contains(QStringLiteral("no voltage range")));
    // The list shrank since its Plot: the rows asked for are no longer there.
    core::AppState s = settings("40m", "4", 5);
    r = plot::drawListPlot(grid, s);
    QVERIFY(r.failure && r.failure->contains(QStringLiteral("the list has 2 rows")));
    // One row cannot fail: only its labels are drawn.
    ui::GridModel one(5);
    fillGrid(one, {{"10:00:00", "12.00", "3.700"}});
    QVERIFY(!plot::drawListPlot(one, settings("", "", 1)).failure);
}

void TestPlot::rangeCheck_data()
{
    QTest::addColumn<QStringList>("boxes"); // from, to, ohm min, ohm max, volt min, volt max
    QTest::addColumn<bool>("ok");
    QTest::newRow("whole list") << QStringList{"1", "10", "0", "40", "0", "4"} << true;
    QTest::newRow("narrowed") << QStringList{"3", "7", "5", "20", "1", "3.5"} << true;
    QTest::newRow("blanks and units") << QStringList{" 2", "9 rows", "0", "40", "0", "4V"} << true;
    QTest::newRow("to past the end") << QStringList{"1", "11", "0", "40", "0", "4"} << false;
    QTest::newRow("from 0") << QStringList{"0", "10", "0", "40", "0", "4"} << false;
    QTest::newRow("to equals from") << QStringList{"4", "4", "0", "40", "0", "4"} << false;
    QTest::newRow("short range past the end") << QStringList{"5", "14", "0", "40", "0", "4"} << false;
    QTest::newRow("fractional row") << QStringList{"1.5", "10", "0", "40", "0", "4"} << false;
    QTest::newRow("ohm max over the limit") << QStringList{"1", "10", "0", "41", "0", "4"} << false;
    QTest::newRow("ohm min under the floor") << QStringList{"1", "10", "-1", "40", "0", "4"} << false;
    QTest::newRow("ohm max equals min") << QStringList{"1", "10", "20", "20", "0", "4"} << false;
    QTest::newRow("ohm upside down") << QStringList{"1", "10", "30", "20", "0", "4"} << false;
    QTest::newRow("volt max equals min") << QStringList{"1", "10", "0", "40", "2", "2"} << false;
    QTest::newRow("volt max over the limit") << QStringList{"1", "10", "0", "40", "0", "4.5"} << false;
    QTest::newRow("volt min under the floor") << QStringList{"1", "10", "0", "40", "-1", "4"} << false;
    QTest::newRow("words") << QStringList{"one", "ten", "0", "40", "0", "4"} << false;
}

void TestPlot::rangeCheck()
{
    QFETCH(QStringList, boxes);
    QFETCH(bool, ok);
    core::AppState s = settings("40m", "4", 10);
    const plot::RangeEntry e = plot::readRangeEntry(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5]);
    QCOMPARE(plot::rangeAcceptable(e, s), ok);
    if (ok) {
        plot::applyRange(s, e);
        QCOMPARE(double(s.PlotPoints), e.to - e.from + 1);
        QCOMPARE(double(s.PlotFrom), e.from);
        QCOMPARE(double(s.PlotVoltMax), e.voltMax);
    }
}

void TestPlot::renderedCurvesAndFrame()
{
    ui::GridModel grid(5);
    // Resistance 30 of 40 at y = 1750 twips, voltage 1 of 4 at y = 3250: flat lines.
    fillGrid(grid, {{"10:00:00", "30.00", "1.000"}, {"10:00:02", "30.00", "1.000"}, {"10:00:04", "30.00", "1.000"}});
    const plot::PlotResult r = plot::drawListPlot(grid, settings("40m", "4", 3));
    QVERIFY(!r.failure);
    plot::PlotCanvas canvas;
    canvas.setPlot(r.plot);
    const QImage image = canvas.picture(1).convertToFormat(QImage::Format_RGB32);
    const auto px = [](double twips) { return int(twips / 15); };
    // Along the curves, away from the grid lines.
    for (double x : {1500.0, 2000.0, 4000.0, 4700.0}) {
        QVERIFY2(columnHas(image, px(x), px(1750) - 1, px(1750) + 1, isBlue), qPrintable(QString::number(x)));
        QVERIFY2(columnHas(image, px(x), px(3250) - 1, px(3250) + 1, isGreen), qPrintable(QString::number(x)));
        QVERIFY(!columnHas(image, px(x), px(4500), px(6800), isBlue));
    }
    // The two-pixel left axis and zero line.
    QVERIFY(isDark(image.pixel(px(1000), px(6000))));
    QVERIFY(isDark(image.pixel(px(5000), px(6000))));
    QVERIFY(columnHas(image, px(2200), px(4000) - 1, px(4000) + 1, isDark));
    // The red limit lines are dashed: some of the top line is red, some is white.
    int red = 0;
    for (int x = px(1100); x < px(4900); ++x) {
        const QRgb c = image.pixel(x, px(1000));
        red += qRed(c) > 180 && qGreen(c) < 100;
    }
    QVERIFY(red > 50 && red < px(3800) - 20);
}

void TestPlot::reducedDrawingMatchesTheFull()
{
    // Many rows a pixel column, with spikes, overloads and negative voltages among them.
    ui::GridModel grid(5);
    grid.setHeader({"No.s", "Date", "Time", "40m Ohm", "4 Voltage"});
    const int rows = 20000;
    QList<QString> lines;
    for (int n = 1; n <= rows; ++n) {
        const double ohm = 20 + 12 * std::sin(n / 700.0) + ((n * 7919) % 13) - 6;
        QString volt = QString::number(3.2 * std::sin(n / 1100.0) + ((n * 104729) % 7) * 0.05, 'f', 3);
        if (n % 4999 == 0)
            volt = QStringLiteral("-OL");
        lines.append(QStringLiteral("%1\t2024/03/05\t%2\t%3\t%4")
                         .arg(n)
                         .arg(timeOf(n), n % 3333 == 0 ? QStringLiteral("OL") : QString::number(ohm, 'f', 2), volt));
    }
    grid.addRows(lines);
    const plot::PlotResult r = plot::drawListPlot(grid, settings("40m", "4", rows));
    QVERIFY(!r.failure);
    plot::PlotCanvas canvas;
    canvas.setPlot(r.plot);
    for (qreal scale : {1.0, 2.0}) {
        const QImage reduced = canvas.picture(scale).convertToFormat(QImage::Format_RGB32);
        const QImage full = canvas.fullPicture(scale).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(reduced.size(), full.size());
        int inked = 0, differing = 0;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x) {
                const QRgb a = full.pixel(x, y), b = reduced.pixel(x, y);
                inked += a != qRgb(255, 255, 255);
                const int d = std::max(
                    {std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
                differing += d > 96;
            }
        qInfo("scale %g: %d of %d inked pixels differ visibly", scale, differing, inked);
        QVERIFY(inked > 2000);
        QVERIFY2(differing * 1000 < inked, "the reduced curves look different");
    }
}

void TestPlot::fileListPlotThroughTheToolBar()
{
    QByteArray dvm("No.s\tDate\tTime\t400mOhm\t40Voltage\r\n");
    for (int n = 1; n <= 12; ++n)
        dvm += QStringLiteral("%1\t2024/03/05\t%2\t%3\t12.50\r\n")
                   .arg(n)
                   .arg(timeOf(n), QString::number(100 + n))
                   .toLatin1();
    FakePanelRig rig(1, {}, FakePanelRig::Printers::QtToPdf);
    QVERIFY(rig.panel->load());
    files::FileListWindow *list = rig.openInFileList(QStringLiteral("cells.Dvm"), dvm);
    QVERIFY(list);
    list->buttonClick(QStringLiteral("Plot"));

    auto *window = rig.panel->views().window<panel::Role::ListPlot2>();
    QVERIFY(window && window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Plot Data/File"));
    const plot::ListPlot *drawn = window->canvas().plot();
    QVERIFY(drawn);
    QCOMPARE(drawn->scale.valTop, QStringLiteral("400"));
    QCOMPARE(drawn->scale.topUp, QStringLiteral("-40"));
    QCOMPARE(drawn->time1, timeOf(1));
    QCOMPARE(drawn->time2, timeOf(6));
    QCOMPARE(drawn->time3, timeOf(12));
    QCOMPARE(drawn->ohmName, QStringLiteral("Ohm"));

    // Limit: the boxes show the settings; a To past the end is refused and nothing changes.
    window->buttonClick(QStringLiteral("Limit"));
    auto *range = rig.panel->views().window<panel::Role::Plot2Range>();
    QVERIFY(range && range->isVisible());
    QCOMPARE(range->box("TxtT2").text(), QStringLiteral("12"));
    QCOMPARE(range->box("TxtR2").text(), QStringLiteral("400"));
    // Every resize fills the boxes from the settings again, over what was typed.
    const QString voltMin = range->box("UpTxtR1").text();
    range->box("TxtT1").setText("7");
    range->box("UpTxtR1").setText("x");
    range->resize(range->width() + 40, range->height() + 20);
    QTRY_COMPARE(range->box("TxtT1").text(), QStringLiteral("1"));
    QCOMPARE(range->box("UpTxtR1").text(), voltMin);
    range->box("TxtT1").setText("5");
    range->box("TxtT2").setText("14");
    range->findChild<QPushButton *>("CmdOk")->click();
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages.at(0).text, QStringLiteral("Invalid, Try again!"));
    QVERIFY(!rig.panel->views().isVisible(panel::Role::ListPlot2));
    QVERIFY(range->isVisible());
    QCOMPARE(rig.state.PlotFrom, 1.0f);

    // A valid range draws a fresh plot over rows 3 to 10 and closes the range window.
    range->box("TxtT1").setText("3");
    range->box("TxtT2").setText("10");
    range->box("TxtR2").setText("200");
    range->findChild<QPushButton *>("CmdOk")->click();
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(!rig.panel->views().isVisible(panel::Role::Plot2Range));
    window = rig.panel->views().window<panel::Role::ListPlot2>();
    QVERIFY(window && window->isVisible());
    drawn = window->canvas().plot();
    QVERIFY(drawn);
    QCOMPARE(drawn->time1, timeOf(3));
    QCOMPARE(drawn->time2, timeOf(6));
    QCOMPARE(drawn->time3, timeOf(10));
    QCOMPARE(drawn->scale.valTop, QStringLiteral("200"));
    QCOMPARE(drawn->ohmCurve.size(), 8);
    QCOMPARE(drawn->ohmCurve.first(), QPointF(1000, 4000 - 103 * 3000.0 / 200));

    // Print: the document is named for the window, but without the "/" of its title,
    // which the print dialog would take for a folder of the PDF it offers to write.
    const QString pdf = rig.dir.filePath(QStringLiteral("plot.pdf"));
    QString documentName;
    rig.dialogs.printAnswers.enqueue(true);
    rig.dialogs.onPrintSetup = [&](QPrinter &printer) {
        documentName = printer.docName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    QSignalSpy printed(&rig.panel->printing(), &printing::Printing::finished);
    window->buttonClick(QStringLiteral("Print"));
    QVERIFY(printed.count() == 1 || printed.wait(15000));
    QVERIFY(printed.at(0).at(0).toBool());
    QCOMPARE(documentName, QStringLiteral("Plot Data-File"));
    QVERIFY(QFileInfo(pdf).size() > 1000);
    QCOMPARE(rig.dialogs.messages.size(), 1);

    // With the File List closed there is nothing to redraw: said, not a blank window.
    window->buttonClick(QStringLiteral("Limit"));
    rig.panel->views().close(panel::Role::FileList);
    range = rig.panel->views().window<panel::Role::Plot2Range>();
    range->findChild<QPushButton *>("CmdOk")->click();
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QVERIFY(rig.dialogs.messages.at(1).text.contains(QStringLiteral("closed")));
}

QTEST_MAIN(TestPlot)
#include "tst_plot.moc"
