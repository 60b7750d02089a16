// Cell sorting end to end: the simulator plays a batch of 50 cells through the real serial
// code into the real window, opened from the tool bar; the rows are compared with the values
// the simulator announced, the export is read back and the report printed to a PDF. A
// session written by a process killed with SIGKILL keeps every captured cell.
#include "panel/CommandBar.h"
#include "sorting/SortingWindow.h"
#include "sorting/Station.h"
#include "support/SimPanelRig.h"

#include <QAction>
#include <QApplication>
#include <QPrinter>
#include <QProcess>
#include <QTableView>
#include <QtTest>
#include <csignal>
#include <unistd.h>

namespace {

struct Announced
{
    double milliOhm;
    double volts;
};

// "cell 3/50 25.19 3.702" lines of the simulator's output, in order.
QList<Announced> announcedCells(const QByteArray &output)
{
    QList<Announced> out;
    for (const QByteArray &line : output.split('\n')) {
        const QList<QByteArray> w = line.trimmed().split(' ');
        if (w.size() == 4 && w[0] == "cell" && w[1].contains('/'))
            out.append({w[2].toDouble(), w[3].toDouble()});
    }
    return out;
}

// What Li-ion 18650 (used) gives, written out here again: A <= 50, B <= 100, C <= 150 mOhm,
// 2.50 to 4.25 V.
QString expectedGrade(double mOhm, double volts)
{
    if (volts < 2.5 || volts > 4.25)
        return QStringLiteral("Reject V");
    if (mOhm <= 50)
        return QStringLiteral("A");
    if (mOhm <= 100)
        return QStringLiteral("B");
    if (mOhm <= 150)
        return QStringLiteral("C");
    return QStringLiteral("Reject R");
}

bool nearLimit(double mOhm)
{
    for (double limit : {50.0, 100.0, 150.0})
        if (std::abs(mOhm - limit) <= limit * 0.01)
            return true;
    return false;
}

QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> rows;
    for (const QString &line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char(',')); // the sorting export has no quoted field
    return rows;
}

} // namespace

class TestEndToEndSorting : public QObject
{
    Q_OBJECT
private slots:
    void batchOfFiftyCells();
    void killedAfterCaptureKeepsEveryCell();
};

void TestEndToEndSorting::batchOfFiftyCells()
{
    SimPanelRig rig;
    QVERIFY(rig.start());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.label("ValOhm").isEmpty(), 10000);

    QAction *sort = rig.panel->commands().button(11);
    QCOMPARE(sort->toolTip(), QStringLiteral("Cell Sorting (Ctrl+T)"));
    sort->trigger();
    auto *window = rig.panel->views().window<panel::Role::Sorting>();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Cell Sorting"));
    sort->trigger(); // one instance
    QCOMPARE(rig.panel->views().window<panel::Role::Sorting>(), window);

    QVERIFY(rig.sim.command("cells 50"));
    // 50 cells of 1.5 s with lifts of 0.7 s: about 110 s.
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.output().contains("cells done 50"), 180000);
    QTRY_COMPARE_WITH_TIMEOUT(window->station().cells().size(), 50, 5000);

    const QList<Announced> sim = announcedCells(rig.sim.output());
    QCOMPARE(sim.size(), 50);
    const QList<sorting::Cell> &cells = window->station().cells();
    for (int i = 0; i < 50; ++i) {
        const sorting::Cell &c = cells[i];
        const QString where = QStringLiteral("cell %1: %2 mOhm %3 V, simulated %4 %5")
                                  .arg(i + 1)
                                  .arg(c.milliOhm)
                                  .arg(c.volts)
                                  .arg(sim[i].milliOhm)
                                  .arg(sim[i].volts);
        QCOMPARE(c.id, QStringLiteral("C%1").arg(i + 1, 4, 10, QLatin1Char('0')));
        QVERIFY2(!c.manual, qPrintable(where));
        // Within the noise: a few tenths of a per cent, and a couple of the last digits.
        QVERIFY2(std::abs(c.milliOhm - sim[i].milliOhm) <= sim[i].milliOhm * 0.006 + 0.02, qPrintable(where));
        QVERIFY2(std::abs(c.volts - sim[i].volts) <= 0.002 + 0.0006 * std::abs(sim[i].volts), qPrintable(where));
        QCOMPARE(c.grade, expectedGrade(c.milliOhm, c.volts));
        if (!nearLimit(sim[i].milliOhm))
            QVERIFY2(c.grade == expectedGrade(sim[i].milliOhm, sim[i].volts), qPrintable(where));
    }
    QCOMPARE(window->table().model()->rowCount(), 50);
    QCOMPARE(rig.tone.played, 50);

    // The export, read back.
    const QString csv = rig.dir.filePath(QStringLiteral("cells.csv"));
    rig.dialogs.csvAnswers.enqueue(ui::Dialogs::CsvChoice{QLatin1Char(','), QLatin1Char('.'), false});
    rig.dialogs.saveAnswers.enqueue(csv);
    window->exportCsv();
    QFile csvFile(csv);
    QVERIFY(csvFile.open(QIODevice::ReadOnly));
    const QByteArray bytes = csvFile.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
    QCOMPARE(rows.size(), 51);
    QCOMPARE(rows[0].mid(0, 4), (QStringList{"Cell", "Date and time", "Resistance (mOhm)", "Voltage (V)"}));
    for (int i = 0; i < 50; ++i) {
        QCOMPARE(rows[i + 1][0], cells[i].id);
        QCOMPARE(rows[i + 1][2].toDouble(), cells[i].milliOhm);
        QCOMPARE(rows[i + 1][3].toDouble(), cells[i].volts);
        QCOMPARE(rows[i + 1][4], cells[i].grade);
    }

    // The report, printed to a PDF through the print dialog, read back as text.
    const QString pdf = rig.dir.filePath(QStringLiteral("report.pdf"));
    rig.dialogs.printAnswers.enqueue(true);
    rig.dialogs.onPrintSetup = [pdf](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    QSignalSpy printed(&rig.panel->printing(), &printing::Printing::finished);
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    if (printed.isEmpty())
        window->findChild<QAction *>(QStringLiteral("Print Report..."))->trigger();
    QTRY_COMPARE(printed.size(), 1);
    QCOMPARE(printed[0][0].toBool(), true);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    // A developer who wants to look at the pages keeps the document.
    if (const QString keep = qEnvironmentVariable("DORVEL_KEEP_REPORT"); !keep.isEmpty())
        QFile::copy(pdf, keep);
    const QString content = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY(content.contains(QStringLiteral("Cell Sorting Report")));
    QVERIFY(content.contains(QStringLiteral("Li-ion 18650 (used)")));
    QVERIFY(content.contains(QStringLiteral("Std. deviation")));
    QVERIFY(content.contains(QStringLiteral("C0001")));
    QVERIFY(content.contains(QStringLiteral("C0050")));
    const int pages = int(content.count(QLatin1Char('\f')));
    QVERIFY(pages >= 2);
    QVERIFY2(content.contains(QStringLiteral("Page 1 of %1").arg(pages)), qPrintable(content.right(400)));
    QVERIFY(content.contains(QStringLiteral("Page %1 of %1").arg(pages)));
    // The header on every page.
    QCOMPARE(int(content.count(QStringLiteral("Capture"))), pages);
}

void TestEndToEndSorting::killedAfterCaptureKeepsEveryCell()
{
    // A child run of this program captures N cells into a session and waits to be killed.
    QTemporaryDir dir;
    for (int n : {1, 7}) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DORVEL_SORTING_CHILD"), dir.path() + QStringLiteral("/%1.tsv|%1").arg(n));
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {});
        QVERIFY(child.waitForStarted());
        QByteArray said;
        QTRY_VERIFY2_WITH_TIMEOUT((said += child.readAllStandardOutput()).contains("captured"),
                                  qPrintable(QString::fromLocal8Bit(said + child.readAllStandardError())), 15000);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished());
        QString error;
        const auto back = sorting::readSessionFile(dir.path() + QStringLiteral("/%1.tsv").arg(n), &error);
        QVERIFY2(back, qPrintable(error));
        QCOMPARE(back->cells.size(), n);
        QCOMPARE(back->damagedLines, 0);
        QCOMPARE(back->cells.last().id, QStringLiteral("C%1").arg(n, 4, 10, QLatin1Char('0')));
    }
}

// The child: capture, say so, and wait for the kill without closing anything.
static int sortingChild(const QString &spec)
{
    const QString path = spec.section(QLatin1Char('|'), 0, 0);
    const int n = spec.section(QLatin1Char('|'), 1).toInt();
    sorting::Station station(QFileInfo(path).absolutePath());
    QString error;
    if (!station.saveAs(path, &error))
        return 1;
    for (int i = 0; i < n; ++i) {
        sorting::Measurement m{QStringLiteral("25.19"), QStringLiteral("3.702"), QStringLiteral("40mOhm"), 25.19,
                               3.702};
        if (!station.capture(m, QDateTime::currentDateTime(), false, {}).ok)
            return 1;
    }
    if (::write(STDOUT_FILENO, "captured\n", 9) != 9)
        return 1;
    for (;;)
        ::pause();
}

int main(int argc, char **argv)
{
    const QByteArray child = qgetenv("DORVEL_SORTING_CHILD");
    if (!child.isEmpty())
        return sortingChild(QString::fromLocal8Bit(child));
    QApplication app(argc, argv);
    TestEndToEndSorting test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_endtoend_sorting.moc"
