// The Cell Sorting window on a fake link and clock: captures one per cell, manual capture
// and its refusal, undo, IDs from a scanner and duplicates, regrading, sessions reopened
// and refused, the CSV export read back.
#include "core/AppState.h"
#include "meter/LivePoll.h"
#include "sorting/SortingWindow.h"
#include "support/SortingFakes.h"
#include "ui/fakes/CountingTone.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QAbstractItemModel>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {

struct Rig : SortingFakes
{
    std::unique_ptr<sorting::SortingWindow> window;

    Rig() { open(); }
    void open()
    {
        window = std::make_unique<sorting::SortingWindow>(
            sorting::SortingContext{state, poll, dialogs, clock, tone, dir.path()});
    }

    void hold(int ohmCount, int voltCount, int polls = 6, uint8_t status = 0x03)
    {
        for (int i = 0; i < polls; ++i)
            reading(ohmCount, voltCount, status);
    }
    void lift() { reading(0, 0, 0x83); }
    const QList<sorting::Cell> &cells() { return window->station().cells(); }
    QString cellText(int row, int column)
    {
        auto *m = window->table().model();
        return m->data(m->index(row, column)).toString();
    }
    // Keys reach the window's shortcuts only while it is the active window.
    bool activate()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    QLineEdit *idField() { return window->findChild<QLineEdit *>(QStringLiteral("TxtCellId")); }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSortingWindow : public QObject
{
    Q_OBJECT
private slots:
    void capturesEachCellOnce();
    void manualCaptureAndRefusal_data();
    void manualCaptureAndRefusal();
    void undoRemovesFromTableStatisticsAndFile();
    void scannerIdsAndDuplicates();
    void regradingFollowsTheProfile();
    void reopenContinuesNumbering();
    void refusedAndDamagedSessions();
    void csvExport();
    void profileSavedAndOpened();
    void saveAsMovesTheSession();
    void placedBesideAndOnScreen();
};

void TestSortingWindow::capturesEachCellOnce()
{
    Rig rig;
    rig.hold(2519, 3702, 200); // 30 s on one cell
    QCOMPARE(rig.cells().size(), 1);
    QCOMPARE(rig.tone.played, 1);
    QCOMPARE(rig.cellText(0, 0), QStringLiteral("C0001"));
    QCOMPARE(rig.cellText(0, 1), QStringLiteral("2024/03/05"));
    QCOMPARE(rig.cellText(0, 3), QStringLiteral("25.19"));
    QCOMPARE(rig.cellText(0, 4), QStringLiteral("3.702"));
    QCOMPARE(rig.cellText(0, 5), QStringLiteral("A"));
    QCOMPARE(rig.cellText(0, 6), QStringLiteral("auto"));
    QCOMPARE(rig.window->findChild<QLabel *>(QStringLiteral("LblGrade"))->text(), QStringLiteral("A"));

    rig.lift();
    // 1.500 Ohm in the 4 Ohm range (code 1) is 1500 mOhm: above every limit.
    rig.hold(1500, 3600, 6, 0x01);
    rig.lift();
    rig.hold(9000, 4100, 6, 0x02); // 900.0 mOhm
    QCOMPARE(rig.cells().size(), 3);
    QCOMPARE(rig.cells()[1].milliOhm, 1500.0);
    QCOMPARE(rig.cells()[1].ohmText, QStringLiteral("1.500"));
    QCOMPARE(rig.cells()[1].grade, QStringLiteral("Reject R"));
    QCOMPARE(rig.cellText(2, 0), QStringLiteral("C0003"));
    QCOMPARE(rig.tone.played, 3);

    // The file has every cell, with its profile at the head.
    const QString path = rig.window->station().path();
    QVERIFY(path.startsWith(rig.dir.path() + QStringLiteral("/Dorvel sessions/2024-03-05 ")));
    QVERIFY(path.endsWith(QStringLiteral(".tsv")));
    const QStringList lines = QString::fromUtf8(readAll(path)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 7 + 3); // format, name, three grades, voltage, columns; the cells
    QCOMPARE(lines[1], QStringLiteral("Name\tLi-ion 18650 (used)"));
    QVERIFY(lines[8].startsWith(QStringLiteral("C0002\t2024/03/05\t")));
    QVERIFY(lines[8].endsWith(QStringLiteral("\t1500\t3.600\tReject R\tauto\t1.500\t4Ohm")));
}

void TestSortingWindow::manualCaptureAndRefusal_data()
{
    QTest::addColumn<int>("ohm");
    QTest::addColumn<int>("volt");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("linkLost");
    QTest::addColumn<QString>("why"); // empty: captured
    QTest::newRow("valid, not yet steady") << 2519 << 3702 << 0x03 << false << "";
    QTest::newRow("no reading") << 0 << 0 << 0x83 << false << "----";
    QTest::newRow("resistance OL") << 0 << 3702 << 0x13 << false << "(OL)";
    QTest::newRow("voltage -OL") << 2519 << 0 << 0x63 << false << "(-OL)";
    QTest::newRow("link lost") << 2519 << 3702 << 0x03 << true << "No COM";
}

void TestSortingWindow::manualCaptureAndRefusal()
{
    QFETCH(int, ohm);
    QFETCH(int, volt);
    QFETCH(int, status);
    QFETCH(bool, linkLost);
    QFETCH(QString, why);
    Rig rig;
    QVERIFY(rig.activate());
    rig.window->captureNow();
    QVERIFY(rig.window->statusText().contains(QStringLiteral("no reading from the meter yet")));
    rig.reading(ohm, volt, uint8_t(status));
    if (linkLost)
        emit rig.poll.linkLost();
    QTest::keyClick(rig.window.get(), Qt::Key_Space);
    if (why.isEmpty()) {
        QCOMPARE(rig.cells().size(), 1);
        QCOMPARE(rig.cellText(0, 6), QStringLiteral("manual"));
        // The cell is taken: holding it on does not take it again.
        rig.hold(ohm, volt, 10);
        QCOMPARE(rig.cells().size(), 1);
    } else {
        QCOMPARE(rig.cells().size(), 0);
        QVERIFY2(rig.window->statusText().startsWith(QStringLiteral("Not captured: ")),
                 qPrintable(rig.window->statusText()));
        QVERIFY2(rig.window->statusText().contains(why), qPrintable(rig.window->statusText()));
        QCOMPARE(rig.tone.played, 0);
    }
}

void TestSortingWindow::undoRemovesFromTableStatisticsAndFile()
{
    Rig rig;
    rig.hold(2000, 3700);
    rig.lift();
    rig.hold(3000, 3800);
    QCOMPARE(rig.cells().size(), 2);
    QVERIFY(rig.window->statisticsText().contains(QStringLiteral("25.00"))); // the mean
    QVERIFY(rig.activate());
    QTest::keyClick(rig.window.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(rig.cells().size(), 1);
    QCOMPARE(rig.window->table().model()->rowCount(), 1);
    QVERIFY(rig.window->statisticsText().contains(QStringLiteral("20.00")));
    QVERIFY(!rig.window->statisticsText().contains(QStringLiteral("25.00")));
    QVERIFY(!readAll(rig.window->station().path()).contains("C0002"));
    // The cell still on the probes may be taken again, under the freed number.
    rig.hold(3000, 3800);
    QCOMPARE(rig.cells().size(), 2);
    QCOMPARE(rig.cells().last().id, QStringLiteral("C0002"));
}

void TestSortingWindow::scannerIdsAndDuplicates()
{
    Rig rig;
    QVERIFY(rig.activate());
    rig.idField()->setFocus();
    QTest::keyClicks(rig.idField(), QStringLiteral("4711-A"));
    QTest::keyClick(rig.idField(), Qt::Key_Return);
    QCOMPARE(rig.idField()->text(), QStringLiteral("4711-A"));
    rig.hold(2000, 3700);
    QCOMPARE(rig.cells().last().id, QStringLiteral("4711-A"));
    QVERIFY(rig.idField()->text().isEmpty());
    rig.lift();
    rig.hold(2100, 3700);
    QCOMPARE(rig.cells().last().id, QStringLiteral("C0001")); // automatic numbering goes on apart
    rig.lift();
    rig.clock.advanceMs(60000);
    QTest::keyClicks(rig.idField(), QStringLiteral("4711-A\r"));
    rig.hold(2200, 3700);
    QCOMPARE(rig.cells().size(), 3);
    QCOMPARE(rig.cells().last().id, QStringLiteral("4711-A"));
    QVERIFY2(rig.window->statusText().contains(QStringLiteral("4711-A was measured before, at 2024/03/05 14:07:")),
             qPrintable(rig.window->statusText()));
    // Space in an empty ID field captures; in a typed one it is part of the name.
    QTest::keyClicks(rig.idField(), QStringLiteral("a b"));
    QCOMPARE(rig.idField()->text(), QStringLiteral("a b"));
    QCOMPARE(rig.cells().size(), 3);
}

void TestSortingWindow::regradingFollowsTheProfile()
{
    Rig rig;
    rig.hold(1200, 3300); // 12 mOhm
    rig.lift();
    rig.hold(1800, 3300); // 18 mOhm
    rig.lift();
    rig.hold(3000, 3900); // 30 mOhm, 3.9 V
    QCOMPARE(rig.cells()[2].grade, QStringLiteral("A"));
    const sorting::Profile lfp = sorting::builtinProfiles().at(1);
    QVERIFY(rig.window->applyProfile(lfp));
    QCOMPARE(rig.cells()[0].grade, QStringLiteral("B"));
    QCOMPARE(rig.cells()[1].grade, QStringLiteral("C"));
    QCOMPARE(rig.cells()[2].grade, QStringLiteral("Reject V")); // 3.9 V is over 3.65
    QCOMPARE(rig.cellText(1, 5), QStringLiteral("C"));
    QString error;
    const auto back = sorting::readSessionFile(rig.window->station().path(), &error);
    QVERIFY(back);
    QCOMPARE(back->profile, lfp);
    QCOMPARE(back->cells[2].grade, QStringLiteral("Reject V"));

    // An edited profile that is no profile is refused with its reason and changes nothing.
    auto *limit = rig.window->findChild<QLineEdit *>(QStringLiteral("Grade 2 limit"));
    limit->setText(QStringLiteral("5"));
    QTest::mouseClick(rig.window->findChild<QPushButton *>(QStringLiteral("CmdApplyProfile")), Qt::LeftButton);
    QVERIFY(rig.window->statusText().contains(QStringLiteral("rise")));
    QCOMPARE(rig.window->station().profile(), lfp);
    limit->setText(QStringLiteral("12,5"));
    QTest::mouseClick(rig.window->findChild<QPushButton *>(QStringLiteral("CmdApplyProfile")), Qt::LeftButton);
    QCOMPARE(rig.window->station().profile().grades[1].limitMilliOhm, 12.5);
    QCOMPARE(rig.cells()[0].grade, QStringLiteral("B"));
}

void TestSortingWindow::reopenContinuesNumbering()
{
    Rig rig;
    for (int i = 0; i < 3; ++i) {
        rig.hold(2000 + i * 100, 3700);
        rig.lift();
    }
    const QString path = rig.window->station().path();
    const QDateTime start = rig.cells().first().when;
    rig.open(); // a new window, as after a restart
    // A new session begun in the same second does not touch the other one's file: its fifth
    // reading, the capture, comes 750 ms on.
    rig.clock.wall = start.addMSecs(-750);
    rig.hold(2600, 3700);
    QVERIFY(rig.window->station().path().endsWith(QStringLiteral(" (2).tsv")));
    rig.open();
    rig.dialogs.openAnswers.enqueue(path);
    rig.window->openSession();
    QCOMPARE(rig.cells().size(), 3);
    QCOMPARE(rig.window->table().model()->rowCount(), 3);
    rig.hold(2500, 3700);
    QCOMPARE(rig.cells().last().id, QStringLiteral("C0004"));
    QCOMPARE(rig.window->station().path(), path);
    QString error;
    QCOMPARE(sorting::readSessionFile(path, &error)->cells.size(), 4);
}

void TestSortingWindow::refusedAndDamagedSessions()
{
    Rig rig;
    const QString notSession = rig.dir.filePath(QStringLiteral("cell.Dvm"));
    {
        QFile f(notSession);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("No.s\tDate\tTime\t40mOhm\t4Voltage\r\n1\t2024/03/05\t14:07:11\t25.00\t3.700\r\n");
    }
    rig.dialogs.openAnswers.enqueue(notSession);
    rig.window->openSession();
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages[0].text.contains(QStringLiteral("cell.Dvm")));
    QVERIFY(rig.dialogs.messages[0].text.contains(QStringLiteral("not a cell sorting session")));

    const QString damaged = rig.dir.filePath(QStringLiteral("damaged.tsv"));
    {
        QFile f(damaged);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(sorting::sessionHead(sorting::builtinProfiles().at(0)));
        f.write("C0001\t2024/03/05\t14:07:11\t25.19\t3.702\tA\tauto\t25.19\t40mOhm\r\n");
        f.write("C0002\t2024/03/05\t14:0\xff\xfe\r\n");
        f.write("C0003\t2024/03/05\t14:07:15\t26\t3.702\tA\tauto\t26.00\t40mOhm\r\n");
    }
    rig.dialogs.openAnswers.enqueue(damaged);
    rig.window->openSession();
    QCOMPARE(rig.cells().size(), 2);
    QCOMPARE(rig.dialogs.messages.size(), 2);
    QVERIFY(rig.dialogs.messages[1].text.contains(QStringLiteral("damaged.tsv\": 1 damaged line")));
}

void TestSortingWindow::csvExport()
{
    Rig rig;
    rig.hold(2519, 3702);
    rig.lift();
    rig.hold(1500, 3600, 6, 0x01);
    const QString path = rig.dir.filePath(QStringLiteral("cells.csv"));
    rig.dialogs.csvAnswers.enqueue(ui::Dialogs::CsvChoice{QLatin1Char(';'), QLatin1Char(','), false});
    rig.dialogs.saveAnswers.enqueue(path);
    rig.window->exportCsv();
    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("Cell;Date and time;Resistance (mOhm);Voltage (V);Grade;Capture;Display;Range"));
    QVERIFY(lines[1].startsWith(QStringLiteral("C0001;2024-03-05 14:07:")));
    QVERIFY(lines[1].endsWith(QStringLiteral(";25,19;3,702;A;auto;25.19;40mOhm")));
    QVERIFY(lines[2].endsWith(QStringLiteral(";1500;3,600;Reject R;auto;1.500;4Ohm")));
}

void TestSortingWindow::profileSavedAndOpened()
{
    Rig rig;
    auto *name = rig.window->findChild<QLineEdit *>(QStringLiteral("Profile name"));
    name->setText(QStringLiteral("Bench 21700"));
    rig.window->findChild<QLineEdit *>(QStringLiteral("Grade 4 name"))->setText(QStringLiteral("D"));
    rig.window->findChild<QLineEdit *>(QStringLiteral("Grade 4 limit"))->setText(QStringLiteral("300"));
    QTest::mouseClick(rig.window->findChild<QPushButton *>(QStringLiteral("CmdApplyProfile")), Qt::LeftButton);
    QCOMPARE(rig.window->station().profile().grades.size(), 4);
    const QString path = rig.dir.filePath(QStringLiteral("bench.dsp"));
    rig.dialogs.saveAnswers.enqueue(path);
    rig.window->saveProfile();
    QVERIFY(readAll(path).startsWith("Dorvel sorting profile\r\nName\tBench 21700\r\n"));

    // A fresh window: opening the file makes it the profile, and a choice of the list.
    rig.open();
    QCOMPARE(rig.window->station().profile().name, QStringLiteral("Li-ion 18650 (used)"));
    rig.dialogs.openAnswers.enqueue(path);
    rig.window->openProfile();
    QCOMPARE(rig.window->station().profile().name, QStringLiteral("Bench 21700"));
    QCOMPARE(rig.window->station().profile().grades.last().limitMilliOhm, 300.0);
    auto *choice = rig.window->findChild<QComboBox *>(QStringLiteral("CboProfile"));
    QCOMPARE(choice->count(), 4);
    QCOMPARE(choice->currentText(), QStringLiteral("Bench 21700"));
    rig.hold(2000, 3700);
    rig.lift();
    rig.hold(2500, 3700, 6, 0x02); // 250.0 mOhm: D
    QCOMPARE(rig.cells().last().grade, QStringLiteral("D"));

    // A file that is no profile is refused, naming it.
    rig.dialogs.openAnswers.enqueue(rig.window->station().path());
    rig.window->openProfile();
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages[0].text.contains(QStringLiteral("not a Dorvel sorting profile")));
    QCOMPARE(rig.window->station().profile().name, QStringLiteral("Bench 21700"));
}

void TestSortingWindow::saveAsMovesTheSession()
{
    Rig rig;
    const QString chosen = rig.dir.filePath(QStringLiteral("bench/Monday.tsv"));
    QVERIFY(QDir().mkpath(rig.dir.filePath(QStringLiteral("bench"))));
    // Before the first capture: the session will start there.
    rig.dialogs.saveAnswers.enqueue(chosen);
    rig.window->saveSessionAs();
    rig.hold(2000, 3700);
    QCOMPARE(rig.window->station().path(), chosen);
    QString unused;
    QCOMPARE(sorting::readSessionFile(chosen, &unused)->cells.size(), 1);
    // After it: the file moves, and appends follow it.
    const QString moved = rig.dir.filePath(QStringLiteral("Tuesday.tsv"));
    rig.dialogs.saveAnswers.enqueue(moved);
    rig.window->saveSessionAs();
    QVERIFY(!QFile::exists(chosen));
    rig.lift();
    rig.hold(2100, 3700);
    QString error;
    QCOMPARE(sorting::readSessionFile(moved, &error)->cells.size(), 2);
}

void TestSortingWindow::placedBesideAndOnScreen()
{
    Rig rig;
    QWidget main;
    main.resize(380, 640);
    main.move(0, 0);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    rig.window->placeBeside(main);
    rig.window->show();
    const QRect screen = rig.window->screen()->availableGeometry();
    // On the screen as far as it fits (the test screen may be smaller than the window).
    const auto onScreen = [&] {
        const QRect frame = rig.window->frameGeometry();
        return screen.contains(frame.topLeft()) && (frame.width() > screen.width() || frame.right() <= screen.right())
               && (frame.height() > screen.height() || frame.bottom() <= screen.bottom());
    };
    QVERIFY(onScreen());
    QCOMPARE(rig.window->frameGeometry().top(), main.frameGeometry().top());
    // A main window at the right edge: the window is pulled back onto the screen.
    main.move(screen.right() - main.width() / 2, 0);
    rig.window->placeBeside(main);
    QVERIFY(onScreen());
}

QTEST_MAIN(TestSortingWindow)
#include "tst_sortingwindow.moc"
