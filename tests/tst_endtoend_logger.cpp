// The logger download from the simulated meter through the real serial port and the main
// window's tool bar, a block listed, saved and opened back into the File List.
#include "core/Reading.h"
#include "files/FileListWindow.h"
#include "logger/DataListWindow.h"
#include "logger/MemoryWindow.h"
#include "panel/CommandBar.h"
#include "support/SimPanelRig.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

using panel::Role;

namespace {

struct Rig : SimPanelRig
{
    using SimPanelRig::SimPanelRig;
    logger::MemoryWindow *memory() const { return panel->views().window<Role::Memory>(); }
    logger::DataListWindow *dataList() const { return panel->views().window<Role::DataList>(); }
    QString memoryLabel(const char *name) const
    {
        auto *w = memory();
        return w ? w->findChild<QLabel *>(QString::fromLatin1(name))->text() : QString();
    }
    // "Data Logger" pressed with the mouse on the main window's tool bar.
    void pressDataLogger()
    {
        QToolBar *bar = panel->commands().toolBar();
        QWidget *button = bar->widgetForAction(panel->commands().button(7));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    bool downloaded() const
    {
        return QTest::qWaitFor([this] { return !state.DownloadBusy; }, 10000);
    }
    bool liveAgain()
    {
        state.reading.OhmText.clear();
        return QTest::qWaitFor([this] { return !state.reading.OhmText.isEmpty(); }, 10000);
    }
};

QStringList rowOf(const ui::GridModel &grid, int r)
{
    QStringList cells;
    for (int c = 0; c < grid.cols(); ++c)
        cells.append(grid.text(r, c));
    return cells;
}

// The simulator's default memory, as it would answer.
QByteArray defaultAnswer(const QString &dir)
{
    const QString path = dir + QStringLiteral("/answer.bin");
    QProcess sim;
    sim.start(QStringLiteral(DORVEL_SIM_PATH), {QStringLiteral("--once-dump-to"), path});
    if (!sim.waitForFinished(5000))
        return {};
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestEndToEndLogger : public QObject
{
    Q_OBJECT
private slots:
    void downloadListSaveAndOpenBack();
    void awkwardMeters();
    void switchedOnAroundTheRequest();
    void answerGivesWayToLiveFrames();
};

void TestEndToEndLogger::downloadListSaveAndOpenBack()
{
    Rig rig;
    QVERIFY(rig.start());
    rig.panel->show();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.label("ValOhm").isEmpty(), 10000);
    const QByteArray answer = defaultAnswer(rig.dir.path());
    QVERIFY(answer.size() > 100);

    // The progress caption, as the user would see it change.
    QStringList progress;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString text = rig.memoryLabel("LblMessage");
        if (!text.isEmpty() && (progress.isEmpty() || progress.last() != text))
            progress.append(text);
    });
    watch.start(5);
    rig.pressDataLogger();
    QVERIFY(rig.memory() && rig.memory()->isVisible());
    QVERIFY(rig.state.DownloadBusy);
    QVERIFY(rig.downloaded());
    watch.stop();
    QVERIFY2(progress.size() >= 3, qPrintable(progress.join(QLatin1String(" | "))));
    QCOMPARE(progress.last(), QStringLiteral("100.0 % Completed"));
    for (const QString &text : std::as_const(progress))
        QVERIFY2(text.endsWith(QLatin1String(" % Completed")), qPrintable(text));

    const ui::GridModel &blocks = rig.memory()->blocks();
    QCOMPARE(blocks.rows(), 4);
    QCOMPARE(rowOf(blocks, 1), QStringList({"1", "40m Ohm", "4 Voltage", "2", "120"}));
    QCOMPARE(rowOf(blocks, 2), QStringList({"2", "400m Ohm", "4 Voltage", "10", "40"}));
    QCOMPARE(rowOf(blocks, 3), QStringList({"3", "4 Ohm", "40 Voltage", "1", "15"}));
    const int P = 17152 + int(answer.size()) - 4;
    QCOMPARE(rig.memoryLabel("LblRemain"), QString::number((65285 - P) / 1024.0, 'f', 1) + QLatin1Char('K'));
    QVERIFY(rig.liveAgain());

    // Block 1 from a start the user types: each record decoded from the meter's own bytes.
    rig.dialogs.inputAnswers.enqueue(QStringLiteral("2024/02/28 23:58:30"));
    emit rig.memory()->blockView().cellClicked(1, 0);
    logger::DataListWindow *list = rig.dataList();
    QVERIFY(list);
    const ui::GridModel &grid = list->grid();
    QCOMPARE(grid.rows(), 121);
    const QDateTime start(QDate(2024, 2, 28), QTime(23, 58, 30), Qt::UTC);
    core::Reading reading;
    for (int k = 1; k <= 120; ++k) {
        const auto *record = reinterpret_cast<const uint8_t *>(answer.constData()) + 3 + 5 + 5 * (k - 1);
        core::DecodeRecord(reading, record);
        const QDateTime at = start.addSecs(2 * (k - 1));
        const QStringList expected{QString::number(k), at.toString(QStringLiteral("yyyy/MM/dd")),
                                   at.toString(QStringLiteral("HH:mm:ss")), reading.OhmText, reading.VoltText};
        QCOMPARE(rowOf(grid, k), expected);
    }
    QCOMPARE(grid.text(120, 1), QStringLiteral("2024/02/29"));
    QVERIFY(rig.panel->poll().isEnabled());
    QVERIFY(rig.liveAgain());

    const QString path = rig.dir.filePath(QStringLiteral("logged.Dvm"));
    rig.dialogs.saveAnswers.enqueue(path);
    list->buttonClick(QStringLiteral("Save"));
    QCOMPARE(grid.text(0, 3), QStringLiteral(" Ohm"));
    rig.dialogs.openAnswers.enqueue(path);
    rig.panel->commands().button(2)->trigger(); // Open File
    auto *opened = rig.panel->views().window<Role::FileList>();
    QVERIFY(opened);
    QTRY_VERIFY(!opened->isLoading());
    QCOMPARE(opened->grid().rows(), 121);
    for (int k = 1; k <= 120; ++k)
        QCOMPARE(rowOf(opened->grid(), k), rowOf(grid, k));
    QCOMPARE(rig.state.FileOhmRange, QStringLiteral("40m"));
    QCOMPARE(rig.state.FileVoltRange, QStringLiteral("4"));
}

void TestEndToEndLogger::awkwardMeters()
{
    Rig rig({QStringLiteral("--fast-dump")});
    QVERIFY(rig.start());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.label("ValOhm").isEmpty(), 10000);

    // 513 blocks: the first 512 are listed, then the download ends.
    QVERIFY(rig.sim.command("memory-blocks 513 1"));
    rig.pressDataLogger();
    QVERIFY(rig.downloaded());
    QCOMPARE(rig.memory()->blocks().rows(), 513);
    QCOMPARE(rig.memory()->blocks().text(512, 0), QStringLiteral("512"));
    QVERIFY(rig.liveAgain());

    // An empty memory.
    QVERIFY(rig.sim.command("memory-empty"));
    rig.pressDataLogger();
    QVERIFY(rig.downloaded());
    QCOMPARE(rig.memory()->blocks().rows(), 1);
    QVERIFY(rig.liveAgain());

    // A live frame instead of the answer: asked again.
    QVERIFY(rig.sim.command("memory-blocks 2 3"));
    QVERIFY(rig.sim.command("answer-frame 1"));
    rig.pressDataLogger();
    QVERIFY(rig.downloaded());
    QVERIFY(rig.sim.output().contains("answered download request with a live frame"));
    QCOMPARE(rig.memory()->blocks().rows(), 3);
    QCOMPARE(rowOf(rig.memory()->blocks(), 2), QStringList({"2", "4 Ohm", "4 Voltage", "2", "3"}));
    QVERIFY(rig.liveAgain());

    // An answer cut short: given up after a silence, saying how much came; the poll waits
    // for the meter again. 2 blocks of 3 records: 40 bytes, 44 with head and end.
    QVERIFY(rig.sim.command("answer-cut 10"));
    rig.pressDataLogger();
    QVERIFY(rig.downloaded());
    QCOMPARE(rig.memoryLabel("LblMessage"), QStringLiteral("The meter stopped answering after 10 of 44 bytes."));
    QCOMPARE(rig.memory()->blocks().rows(), 1);
    QVERIFY(rig.sim.command("resume"));
    QVERIFY(rig.liveAgain());

    // A silent meter: asked again and again until the window is closed.
    QVERIFY(rig.sim.command("silent"));
    rig.pressDataLogger();
    QTRY_COMPARE_WITH_TIMEOUT(rig.memoryLabel("LblMessage"), QStringLiteral("Waiting for the meter to answer..."),
                              10000);
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.output().count("ignored download request") >= 3, 10000);
    rig.memory()->close();
    QVERIFY(!rig.state.DownloadBusy);
    QVERIFY(rig.sim.command("resume"));
    QVERIFY(rig.liveAgain());
}

void TestEndToEndLogger::switchedOnAroundTheRequest()
{
    Rig rig({QStringLiteral("--fast-dump")});
    QVERIFY(rig.start());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.label("ValOhm").isEmpty(), 10000);
    QVERIFY(rig.sim.command("memory-blocks 2 3"));
    // The same moments on every run; spread over the 0.3 s between two requests and more.
    QRandomGenerator random(18);
    for (int attempt = 0; attempt < 50; ++attempt) {
        QVERIFY(rig.sim.command("silent"));
        rig.pressDataLogger();
        // The second request has just gone out.
        QTRY_COMPARE_WITH_TIMEOUT(rig.memoryLabel("LblMessage"), QStringLiteral("Waiting for the meter to answer..."),
                                  10000);
        const int delayMs = int(random.bounded(700));
        QTest::qWait(delayMs);
        QVERIFY(rig.sim.command("resume"));
        QVERIFY2(rig.downloaded(), qPrintable(QStringLiteral("attempt %1, on after %2 ms: %3")
                                                  .arg(attempt)
                                                  .arg(delayMs)
                                                  .arg(rig.memoryLabel("LblMessage"))));
        QVERIFY2(rig.memory()->blocks().rows() == 3,
                 qPrintable(QStringLiteral("attempt %1, on after %2 ms: %3 rows, %4")
                                .arg(attempt)
                                .arg(delayMs)
                                .arg(rig.memory()->blocks().rows())
                                .arg(rig.memoryLabel("LblMessage"))));
        QCOMPARE(rowOf(rig.memory()->blocks(), 2), QStringList({"2", "4 Ohm", "4 Voltage", "2", "3"}));
        // "100 % Completed" when live frames came on the heels of the answer.
        QVERIFY(rig.memoryLabel("LblMessage") == QLatin1String("100.0 % Completed")
                || rig.memoryLabel("LblMessage") == QLatin1String("100 % Completed"));
        QVERIFY(rig.liveAgain());
    }
}

void TestEndToEndLogger::answerGivesWayToLiveFrames()
{
    Rig rig;
    QVERIFY(rig.start());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.label("ValOhm").isEmpty(), 10000);
    // The simulator's full memory announces 48,134 bytes; 300 come, then the meter streams again.
    QVERIFY(rig.sim.command("memory-full"));
    QVERIFY(rig.sim.command("answer-cut 300"));
    rig.pressDataLogger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.sim.output().contains("dump cut after 300 bytes"), 10000);
    QVERIFY(rig.sim.command("resume"));
    QElapsedTimer sinceFrames;
    sinceFrames.start();
    QVERIFY(rig.downloaded());
    QVERIFY2(sinceFrames.elapsed() < 5000, qPrintable(QString::number(sinceFrames.elapsed())));
    QCOMPARE(rig.memoryLabel("LblMessage"), QStringLiteral("The meter stopped answering after 300 of 48,134 bytes."));
    QCOMPARE(rig.memory()->blocks().rows(), 1);
    QVERIFY(rig.liveAgain());
}

QTEST_MAIN(TestEndToEndLogger)
#include "tst_endtoend_logger.moc"
