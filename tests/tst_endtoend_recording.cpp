// A recording made through the real tool bar from the simulator's stream, checked line by
// line on disk and opened back into the File List.
#include "files/FileListWindow.h"
#include "panel/CommandBar.h"
#include "support/SimPanelRig.h"
#include "ui/GridModel.h"

#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QtTest>

namespace {

struct Rig : SimPanelRig
{
    Rig()
        : SimPanelRig({QStringLiteral("--cmd"), QStringLiteral("set 2500 3700")})
    {
    }
    // Ten sampling ticks a second, so a recording of several lines takes a second.
    bool start() { return SimPanelRig::start({}, 100); }
    QAction *button(int position) { return panel->commands().button(position); }
    QStringList lines(const QString &path) const
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        const QByteArray all = f.readAll();
        if (!all.endsWith("\r\n"))
            return {QStringLiteral("<no CR LF at the end>")};
        QStringList out = QString::fromLatin1(all).split(QStringLiteral("\r\n"));
        out.removeLast();
        return out;
    }
};

} // namespace

class TestEndToEndRecording : public QObject
{
    Q_OBJECT
private slots:
    void recordStopAndOpenBack();
    void rangeChangeEndsTheRecording();
    void pulledCableAndSilentMeterWriteNoLines();
};

void TestEndToEndRecording::recordStopAndOpenBack()
{
    Rig rig;
    QVERIFY(rig.start());
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);

    rig.dialogs.inputAnswers.enqueue(QStringLiteral("1"));
    rig.button(6)->trigger(); // PC Sampling
    QCOMPARE(rig.state.SampleSeconds, 1);

    const QString path = rig.dir.filePath(QStringLiteral("cell.Dvm"));
    rig.dialogs.saveAnswers.enqueue(path);
    rig.button(1)->trigger(); // Save As
    QCOMPARE(rig.button(1)->text(), QStringLiteral("Stop Recording"));
    QCOMPARE(rig.label("LblFileName"), QStringLiteral("cell.Dvm"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.label("LblCount").toInt() >= 6, 15000);
    // What the label counts is already on disk.
    const int shown = rig.label("LblCount").toInt();
    QVERIFY(rig.lines(path).size() >= 1 + shown);

    rig.button(1)->trigger(); // Stop Recording
    QCOMPARE(rig.button(1)->text(), QStringLiteral("Save As"));
    QVERIFY(!rig.state.Recording);

    const QStringList lines = rig.lines(path);
    QVERIFY(lines.size() >= 7);
    QCOMPARE(lines[0], QStringLiteral("No.s\tDate\tTime\t40mOhm\t4Voltage"));
    QDateTime previous;
    for (int n = 1; n < lines.size(); ++n) {
        const QStringList f = lines[n].split(QLatin1Char('\t'));
        QCOMPARE(f.size(), 5);
        QCOMPARE(f[0], QString::number(n));
        const QDateTime stamp =
            QDateTime::fromString(f[1] + QLatin1Char(' ') + f[2], QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        QVERIFY(stamp.isValid());
        if (previous.isValid())
            QCOMPARE(previous.secsTo(stamp), 1);
        previous = stamp;
        QCOMPARE(f[3], QStringLiteral("25.00"));
        QCOMPARE(f[4], QStringLiteral("3.700"));
    }

    rig.dialogs.openAnswers.enqueue(path);
    rig.button(2)->trigger(); // Open File
    auto *list =
        qobject_cast<files::FileListWindow *>(rig.panel->views().window(panel::WindowRegistry::Role::FileList));
    QVERIFY(list);
    QTRY_VERIFY(!list->isLoading());
    QCOMPARE(list->windowTitle(), QStringLiteral("cell.Dvm"));
    const ui::GridModel &grid = list->grid();
    QCOMPARE(grid.rows(), lines.size());
    QCOMPARE(grid.text(0, 3), QStringLiteral("Ohm"));
    for (int r = 1; r < grid.rows(); ++r)
        QCOMPARE(QStringList({grid.text(r, 0), grid.text(r, 1), grid.text(r, 2), grid.text(r, 3), grid.text(r, 4)})
                     .join(QLatin1Char('\t')),
                 lines[r]);
    QCOMPARE(rig.state.FileOhmRange, QStringLiteral("40m"));
    QCOMPARE(rig.state.FileVoltRange, QStringLiteral("4"));
}

void TestEndToEndRecording::rangeChangeEndsTheRecording()
{
    Rig rig;
    QVERIFY(rig.start());
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);
    rig.state.SampleSeconds = 1;
    const QString path = rig.dir.filePath(QStringLiteral("range.Dvm"));
    rig.dialogs.saveAnswers.enqueue(path);
    rig.button(1)->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(rig.label("LblCount").toInt() >= 2, 15000);

    QVERIFY(rig.sim.command("range 2"));
    QTRY_VERIFY_WITH_TIMEOUT(!rig.state.Recording, 15000);
    QCOMPARE(rig.button(1)->text(), QStringLiteral("Save As"));
    const QStringList lines = rig.lines(path);
    QVERIFY(lines.size() >= 3);
    // Every data line is of the range the recording started in.
    for (int n = 1; n < lines.size(); ++n)
        QVERIFY2(lines[n].endsWith(QStringLiteral("\t25.00\t3.700")), qPrintable(lines[n]));
}

void TestEndToEndRecording::pulledCableAndSilentMeterWriteNoLines()
{
    Rig rig;
    QVERIFY(rig.start());
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);
    rig.state.SampleSeconds = 1;
    const QString path = rig.dir.filePath(QStringLiteral("gaps.Dvm"));
    rig.dialogs.saveAnswers.enqueue(path);
    rig.button(1)->trigger(); // Save As
    QTRY_VERIFY_WITH_TIMEOUT(rig.label("LblCount").toInt() >= 3, 15000);

    // The cable pulled for 3 s: the count stops within 1.5 s (15 steps) and stays while
    // the face shows the lost link.
    int count = rig.label("LblCount").toInt();
    QVERIFY(rig.sim.command("vanish 3"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("No COM"), 10000);
    const int lost = rig.label("LblCount").toInt();
    QVERIFY2(lost - count <= 20, qPrintable(QStringLiteral("%1 -> %2").arg(count).arg(lost)));
    // Lines stop within 1.5 s of the last frame and start again once the meter is back.
    QTRY_VERIFY_WITH_TIMEOUT(rig.label("LblCom") != QLatin1String("No COM"), 15000);
    const int back = rig.label("LblCount").toInt();
    QVERIFY2(back - lost <= 20, qPrintable(QStringLiteral("%1 -> %2").arg(lost).arg(back)));
    QTRY_VERIFY_WITH_TIMEOUT(rig.label("LblCount").toInt() >= back + 3, 15000);

    // The meter silent until "No COM" shows: the same.
    count = rig.label("LblCount").toInt();
    QVERIFY(rig.sim.command("silent"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("No COM"), 15000);
    const int silent = rig.label("LblCount").toInt();
    QVERIFY2(silent - count <= 20, qPrintable(QStringLiteral("%1 -> %2").arg(count).arg(silent)));
    QTest::qWait(500);
    QCOMPARE(rig.label("LblCount").toInt(), silent);
    QVERIFY(rig.sim.command("resume"));
    QTRY_VERIFY_WITH_TIMEOUT(rig.label("LblCount").toInt() >= silent + 3, 15000);
    rig.button(1)->trigger(); // Stop Recording

    // Numbered without a hole; two jumps in the stamps, each as long as a gap.
    const QStringList lines = rig.lines(path);
    QVERIFY(lines.size() > silent);
    int gaps = 0;
    QDateTime previous;
    for (int n = 1; n < lines.size(); ++n) {
        const QStringList f = lines[n].split(QLatin1Char('\t'));
        QCOMPARE(f[0], QString::number(n));
        QCOMPARE(f[3], QStringLiteral("25.00"));
        const QDateTime stamp =
            QDateTime::fromString(f[1] + QLatin1Char(' ') + f[2], QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        if (previous.isValid() && previous.secsTo(stamp) != 1) {
            QVERIFY2(previous.secsTo(stamp) >= 10, qPrintable(lines[n]));
            ++gaps;
        }
        previous = stamp;
    }
    QCOMPARE(gaps, 2);
}

QTEST_MAIN(TestEndToEndRecording)
#include "tst_endtoend_recording.moc"
