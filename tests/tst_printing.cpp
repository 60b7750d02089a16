#include "meter/LivePoll.h"
#include "printing/GridLayout.h"
#include "printing/Printing.h"
#include "support/FakePanelRig.h"
#include "ui/GridModel.h"

#include <QPrinter>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

namespace {

// A4 less 5 mm margins, and Letter less the same, in twips.
constexpr int A4Width = 11622, A4Height = 16271;
constexpr int LetterWidth = 11673, LetterHeight = 15274;

void fillGrid(ui::GridModel &grid, int dataRows)
{
    grid.setHeader({"No.s", "Date", "Time", "Ohm", "Voltage"});
    for (int n = 1; n <= dataRows; ++n)
        grid.addRow(
            QStringLiteral("%1\t2024/03/05\t10:%2:00\t12.34\t3.700").arg(n).arg(n % 60, 2, 10, QLatin1Char('0')));
}

struct PrintRig
{
    ui::FakeSerialPort port;
    core::Reading reading;
    meter::LivePoll poll{port, reading, {15, 100, 50}};
    ui::ScriptedDialogs dialogs;
    ui::FakePrintService service;
    printing::Printing desk{dialogs, service, [this] { return std::make_shared<meter::PollPause>(poll.pause()); }};
    ui::GridModel grid{5};

    PrintRig()
    {
        port.openResults.insert(QStringLiteral("/dev/ttyS0"), ui::SerialPort::OpenResult::Opened);
        port.setPortName(QStringLiteral("/dev/ttyS0"));
        port.open();
        poll.setEnabled(true);
        desk.setSliceMs(0); // one row a slice: every path through the event loop is taken
    }
    bool print()
    {
        QSignalSpy finished(&desk, &printing::Printing::finished);
        desk.PrintGrid(nullptr, grid);
        if (finished.isEmpty() && !finished.wait(20000))
            return false;
        return finished.at(0).at(0).toBool();
    }
};

QString pdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {pdf});
    p.waitForFinished(30000);
    const QString info = QString::fromUtf8(p.readAllStandardOutput());
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
private slots:
    void pagesHoldTheirRows_data();
    void pagesHoldTheirRows();
    void shortPageIsScaledToFit();
    void threeRowGridInOrder();
    void everyPathGivesThePollBack_data();
    void everyPathGivesThePollBack();
    void secondPrintIsRefused();
    void recorderKeepsRunningDuringLongPrint();
    void picturePlacedAtTheTop();
    void fileListPrintsToPdf();
    void pdfCutOffByAFullDiskIsRemoved();
};

void TestPrinting::pagesHoldTheirRows_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("pages");
    QTest::addColumn<int>("lastRowY");
    QTest::newRow("header only") << 1 << 1 << 850;
    QTest::newRow("page 1 full") << 38 << 1 << 15650;
    QTest::newRow("39th row opens page 2") << 39 << 2 << 450;
    QTest::newRow("page 2 full") << 77 << 2 << 15650;
    QTest::newRow("page 3 opens") << 78 << 3 << 450;
    QTest::newRow("a recording's worth") << 70000 << 1795 << 0; // 38 + 1793 * 39 + 35
}

void TestPrinting::pagesHoldTheirRows()
{
    QFETCH(int, rows);
    QFETCH(int, pages);
    QFETCH(int, lastRowY);
    const auto l = printing::layoutGrid(rows, 5, A4Width, A4Height);
    QCOMPARE(l.scale, 1.0);
    QCOMPARE(l.pageCount(), pages);
    if (lastRowY)
        QCOMPARE(l.rowY(rows - 1), lastRowY);
    QCOMPARE(l.rowY(0), 850);
    for (int p = 0; p < l.pageCount(); ++p) {
        const int first = l.pageFirstRow[p];
        const int last = l.lastRowOf(p);
        QCOMPARE(l.rowY(first), p == 0 ? 850 : 450);
        QVERIFY(l.rowY(last) >= 15550 || last == rows - 1);
        QVERIFY(l.rowY(last) <= 15650);
    }
    const auto n = printing::pageNumber(l, pages - 1);
    QCOMPARE(n.text, QStringLiteral("P-%1").arg(pages));
    QCOMPARE(n.y, 15950);
    QCOMPARE(n.x, (A4Width - 500) / 2);
}

void TestPrinting::shortPageIsScaledToFit()
{
    const auto l = printing::layoutGrid(100, 5, LetterWidth, LetterHeight);
    QVERIFY(l.scale < 1.0);
    // The page number's line of text, scaled, still lies on the printable page; so does
    // the right edge of the table.
    QVERIFY((printing::pageNumber(l, 0).y + 300) * l.scale <= LetterHeight);
    QVERIFY(l.rightEdge() * l.scale <= LetterWidth);
    // The layout's own numbers do not change.
    QCOMPARE(l.rowY(38), 450);
}

void TestPrinting::threeRowGridInOrder()
{
    PrintRig rig;
    rig.grid.setHeader({"No.s", "Date", "Ohm"});
    rig.grid.setCols(3);
    rig.grid.addRow(QStringLiteral("1\t2024/03/05\t"));
    rig.grid.addRow(QStringLiteral("2\t2024/03/05\tOL"));
    QVERIFY(rig.print());
    const int r = A4Width - 850;
    QStringList expected{"scale 1", "font 11", QStringLiteral("text %1 15950 [P-1]").arg((A4Width - 500) / 2)};
    const QStringList cells[] = {{"No.s", "Date", "Ohm"}, {"1", "2024/03/05", ""}, {"2", "2024/03/05", "OL"}};
    for (int row = 0; row < 3; ++row) {
        const int y = 850 + 400 * row;
        expected << QStringLiteral("line 500 %1 %2 %1").arg(y - 100).arg(r);
        for (int c = 0; c < 3; ++c) {
            expected << QStringLiteral("text %1 %2 [      %3]").arg(400 + 2125 * c).arg(y).arg(cells[row][c]);
            expected << QStringLiteral("line %1 %2 %1 %3").arg(500 + 2125 * c).arg(y - 100).arg(y + 300);
        }
        expected << QStringLiteral("line %1 %2 %1 %3").arg(r).arg(y - 100).arg(y + 300);
        expected << QStringLiteral("line 500 %1 %2 %1").arg(y + 300).arg(r);
    }
    expected << "end";
    QCOMPARE(rig.service.log, expected);
    QCOMPARE(rig.service.asked, QStringList{"choose"});
}

void TestPrinting::everyPathGivesThePollBack_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("failPage");
    QTest::addColumn<bool>("failEnd");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("messages");
    QTest::newRow("printed") << int(ui::FakePrintService::Answer::Print) << false << false << true << 0;
    QTest::newRow("cancel") << int(ui::FakePrintService::Answer::Cancel) << false << false << false << 0;
    QTest::newRow("printer cannot start") << int(ui::FakePrintService::Answer::Fail) << false << false << false << 1;
    QTest::newRow("new page refused") << int(ui::FakePrintService::Answer::Print) << true << false << false << 1;
    QTest::newRow("document not finished") << int(ui::FakePrintService::Answer::Print) << false << true << false << 1;
}

void TestPrinting::everyPathGivesThePollBack()
{
    QFETCH(int, answer);
    QFETCH(bool, failPage);
    QFETCH(bool, failEnd);
    QFETCH(bool, ok);
    QFETCH(int, messages);
    PrintRig rig;
    fillGrid(rig.grid, 60); // two pages
    rig.service.answer = ui::FakePrintService::Answer(answer);
    bool pausedWhilePrinting = false;
    rig.service.configure = [&](ui::RecordingPrinter &p) {
        p.failNewPage = failPage;
        p.failEnd = failEnd;
        pausedWhilePrinting = rig.poll.isPaused() && !rig.poll.isEnabled();
    };
    QCOMPARE(rig.print(), ok);
    QCOMPARE(rig.dialogs.messages.size(), messages);
    if (messages)
        QCOMPARE(rig.dialogs.messages[0].icon, ui::Dialogs::Icon::Critical);
    if (answer == int(ui::FakePrintService::Answer::Print))
        QVERIFY(pausedWhilePrinting);
    else
        QVERIFY(rig.service.log.isEmpty());
    QVERIFY(!rig.poll.isPaused());
    QVERIFY(rig.poll.isEnabled());
    QVERIFY(!rig.desk.isBusy());
    if (failPage) // the first page already went out
        QCOMPARE(rig.service.log.count("end"), 1);
}

void TestPrinting::secondPrintIsRefused()
{
    PrintRig rig;
    fillGrid(rig.grid, 200);
    QSignalSpy finished(&rig.desk, &printing::Printing::finished);
    rig.desk.PrintGrid(nullptr, rig.grid);
    QVERIFY(rig.desk.isBusy());
    ui::GridModel other(5);
    rig.desk.PrintGrid(nullptr, other);
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.service.asked.size(), 1);
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.size(), 1);

    // A grid closed while it prints ends the print; the pages so far are sent.
    auto *doomed = new ui::GridModel(5);
    fillGrid(*doomed, 200);
    rig.service.log.clear();
    rig.desk.PrintGrid(nullptr, *doomed);
    QTimer::singleShot(0, doomed, [doomed] { delete doomed; });
    QVERIFY(finished.wait(20000));
    QCOMPARE(finished.last().at(0).toBool(), false);
    QCOMPARE(rig.service.log.last(), QStringLiteral("end"));
    QVERIFY(rig.poll.isEnabled());
}

void TestPrinting::recorderKeepsRunningDuringLongPrint()
{
    // Another timer (the recorder's, say) gets its turn between the slices of a print, not
    // only at its end: counted by how far the print had come each time it fired.
    PrintRig rig;
    fillGrid(rig.grid, 300);
    QSet<qsizetype> printedWhenFired;
    QTimer other;
    QObject::connect(&other, &QTimer::timeout, [&] {
        if (rig.desk.isBusy())
            printedWhenFired.insert(rig.service.log.size());
    });
    other.start(0);
    QVERIFY(rig.print());
    // One row a slice: the other timer fired between (nearly) all of the 301 rows.
    QVERIFY2(printedWhenFired.size() >= 150, qPrintable(QString::number(printedWhenFired.size())));

    // With the program's own slice of 20 ms, a long print still yields along the way.
    PrintRig longRig;
    longRig.desk.setSliceMs(20);
    fillGrid(longRig.grid, 20000);
    QSet<qsizetype> longPrintedWhenFired;
    QObject::connect(&other, &QTimer::timeout, [&] {
        if (longRig.desk.isBusy())
            longPrintedWhenFired.insert(longRig.service.log.size());
    });
    QVERIFY(longRig.print());
    QVERIFY(!longPrintedWhenFired.isEmpty());
    QVERIFY(!longPrintedWhenFired.contains(longRig.service.log.size()));
}

void TestPrinting::picturePlacedAtTheTop()
{
    QCOMPARE(printing::picturePlacement(QSize(400, 300), 12000, 16000), QRect(0, 0, 12000, 9000));
    // Taller than the page once scaled to its width: fitted to the height, centred.
    QCOMPARE(printing::picturePlacement(QSize(100, 400), 12000, 16000), QRect(4000, 0, 4000, 16000));
    QCOMPARE(printing::picturePlacement(QSize(0, 0), 12000, 16000), QRect());
    // Printed from a graph's tool bar, to the default printer: tst_realtimegraph.
}

void TestPrinting::fileListPrintsToPdf()
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext (poppler-utils) is not installed");
    QByteArray dvm("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n");
    for (int n = 1; n <= 300; ++n)
        dvm += QStringLiteral("%1\t2024/03/05\t10:00:%2\t%3\t3.700\r\n")
                   .arg(n)
                   .arg(n % 60, 2, 10, QLatin1Char('0'))
                   .arg(10 + n * 0.01, 0, 'f', 2)
                   .toLatin1();
    FakePanelRig rig(1, {}, FakePanelRig::Printers::QtToPdf);
    QVERIFY(rig.panel->load());

    // The tool bar's Open File, then the File List's own Print.
    files::FileListWindow *list = rig.openInFileList(QStringLiteral("cells.Dvm"), dvm);
    QVERIFY(list);
    QCOMPARE(list->grid().rows(), 301);

    const QString pdf = rig.dir.filePath(QStringLiteral("list.pdf"));
    rig.dialogs.printAnswers.enqueue(true);
    rig.dialogs.onPrintSetup = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
    };
    QSignalSpy finished(&rig.panel->printing(), &printing::Printing::finished);
    list->buttonClick(QStringLiteral("Print"));
    QVERIFY(!rig.panel->poll().isEnabled());
    QVERIFY(finished.wait(30000));
    QVERIFY(finished.at(0).at(0).toBool());
    QVERIFY(rig.panel->poll().isEnabled());
    QVERIFY(rig.dialogs.messages.isEmpty());

    // The header and 37 rows on page 1, 39 rows on each page after: 8 pages for 301 rows.
    constexpr int Pages = 8;
    QCOMPARE(pdfPages(pdf), Pages);
    const QString text = pdfText(pdf);
    // The header as the list shows it, then every row in order, then each page's number.
    QVERIFY(text.contains(QRegularExpression(QStringLiteral("No\\.s\\s+Date\\s+Time\\s+Ohm\\s+Voltage"))));
    qsizetype at = 0;
    for (int n = 1; n <= 300; ++n) {
        const QString row = QStringLiteral("%1\\s+2024/03/05\\s+10:00:%2\\s+%3\\s+3\\.700")
                                .arg(n)
                                .arg(n % 60, 2, 10, QLatin1Char('0'))
                                .arg(10 + n * 0.01, 0, 'f', 2);
        const auto m = QRegularExpression(row).match(text, at);
        QVERIFY2(m.hasMatch(), qPrintable(QStringLiteral("row %1 missing or out of order").arg(n)));
        at = m.capturedEnd();
    }
    for (int p = 1; p <= Pages; ++p)
        QVERIFY(text.contains(QStringLiteral("P-%1").arg(p)));
    QVERIFY(!text.contains(QStringLiteral("P-%1").arg(Pages + 1)));
}

void TestPrinting::pdfCutOffByAFullDiskIsRemoved()
{
    QByteArray dvm("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n");
    for (int n = 1; n <= 3000; ++n)
        dvm +=
            QStringLiteral("%1\t2024/03/05\t10:00:00\t%2\t3.700\r\n").arg(n).arg(10 + n * 0.01, 0, 'f', 2).toLatin1();
    FakePanelRig rig(1, {}, FakePanelRig::Printers::QtToPdf);
    QVERIFY(rig.panel->load());
    files::FileListWindow *list = rig.openInFileList(QStringLiteral("cells.Dvm"), dvm);
    QVERIFY(list);

    const QString pdf = rig.dir.filePath(QStringLiteral("list.pdf"));
    rig.dialogs.printAnswers.enqueue(true);
    rig.dialogs.onPrintSetup = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
    };
    // The disk fills up after 16 kB: no file of this process may grow past it meanwhile.
    rlimit before{};
    QVERIFY(getrlimit(RLIMIT_FSIZE, &before) == 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = before;
    full.rlim_cur = 16 * 1024;
    QVERIFY(setrlimit(RLIMIT_FSIZE, &full) == 0);
    QSignalSpy finished(&rig.panel->printing(), &printing::Printing::finished);
    list->buttonClick(QStringLiteral("Print"));
    const bool ended = finished.wait(30000);
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, oldHandler);
    QVERIFY(ended);
    QVERIFY(!finished.at(0).at(0).toBool());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages.at(0).text,
             QStringLiteral("The list could not be printed.\nThe file \"%1\" could not be written.").arg(pdf));
    QVERIFY2(!QFile::exists(pdf), qPrintable(QString::number(QFileInfo(pdf).size())));
    QVERIFY(rig.panel->poll().isEnabled());
}

QTEST_MAIN(TestPrinting)
#include "tst_printing.moc"
