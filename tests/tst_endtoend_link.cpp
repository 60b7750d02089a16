// The simulator on a pseudo-terminal, the real serial code and the main window together.
#include "support/SimPanelRig.h"

#include "panel/Startup.h"
#include "ui/fakes/FakePortEnumerator.h"

#include <QApplication>
#include <QPushButton>

#include <QtTest>
#include <sys/resource.h>

namespace {

// Process CPU time in milliseconds, user and system.
qint64 cpuMs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000;
}

struct Rig : SimPanelRig
{
    // Shorter attempts than the meter program's second, so a lost link shows in about 2 s.
    bool start() { return SimPanelRig::start(meter::PollTimings{150, 400, 300}); }
    bool milliShown() const { return !labelWidget("LblMOhm")->isHidden(); }
};

const QRegularExpression TwoDecimals(QStringLiteral("^\\d{1,2}\\.\\d\\d$"));
const QRegularExpression ThreeDecimals(QStringLiteral("^\\d\\.\\d\\d\\d$"));

} // namespace

class TestEndToEndLink : public QObject
{
    Q_OBJECT
private slots:
    void liveReadingAndRanges();
    void switchedOffMeterAndBadFrames();
    void pulledAdapterRecoversWithoutFlood();
    void programFromPortWindowToLiveReading();
    void portThatCannotOpenExitsWithStatus1();
};

void TestEndToEndLink::liveReadingAndRanges()
{
    Rig rig;
    QVERIFY(rig.start());
    QCOMPARE(rig.label("LblCom"), QStringLiteral("Com meter"));
    QTRY_VERIFY_WITH_TIMEOUT(TwoDecimals.match(rig.label("ValOhm")).hasMatch(), 10000);
    QVERIFY2(ThreeDecimals.match(rig.label("ValVoltage")).hasMatch(), qPrintable(rig.label("ValVoltage")));
    QVERIFY(rig.milliShown());

    QVERIFY(rig.sim.command("set 1234 3700"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("12.34"), 10000);
    QCOMPARE(rig.label("ValVoltage"), QStringLiteral("3.700"));

    QVERIFY(rig.sim.command("range 1")); // 4 Ohm: no milli prefix
    QTRY_VERIFY_WITH_TIMEOUT(!rig.milliShown(), 10000);
    QVERIFY(ThreeDecimals.match(rig.label("ValOhm")).hasMatch());

    QVERIFY(rig.sim.command("negative on"));
    QVERIFY(rig.sim.command("volt-ol on"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValVoltage"), QStringLiteral("-OL"), 10000);
    QVERIFY(rig.sim.command("noreading on"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("----"), 10000);
    QCOMPARE(rig.label("LblCom"), QStringLiteral("Com meter"));
}

void TestEndToEndLink::switchedOffMeterAndBadFrames()
{
    Rig rig;
    QVERIFY(rig.start());
    QVERIFY(rig.sim.command("set 2500 3700"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("25.00"), 10000);

    QVERIFY(rig.sim.command("silent"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("No COM"), 15000);
    QCOMPARE(rig.label("ValOhm"), QStringLiteral("25.00")); // the last reading stays
    QVERIFY(rig.sim.command("set 2600 3700"));
    QVERIFY(rig.sim.command("resume"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("COM meter"), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("26.00"), 10000);

    // Corrupt and doubled frames and garbage: dropped, and the stream is taken up again.
    QVERIFY(rig.sim.command("set 2700 3700"));
    QVERIFY(rig.sim.command("corrupt 10"));
    QVERIFY(rig.sim.command("double 10"));
    QVERIFY(rig.sim.command("garbage 300"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("27.00"), 8000);
}

void TestEndToEndLink::pulledAdapterRecoversWithoutFlood()
{
    Rig rig;
    QVERIFY(rig.start());
    QTRY_VERIFY_WITH_TIMEOUT(!rig.label("ValOhm").isEmpty(), 10000);

    QVERIFY(rig.sim.command("vanish"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("No COM"), 15000);
    // While the device is gone the program waits on a timer: no error flood.
    const qint64 before = cpuMs();
    QTest::qWait(1500);
    const qint64 spent = cpuMs() - before;
    QVERIFY2(spent < 300, qPrintable(QStringLiteral("%1 ms of CPU in 1.5 s").arg(spent)));
    QCOMPARE(rig.label("LblCom"), QStringLiteral("No COM"));

    QVERIFY(rig.sim.command("set 3300 3700"));
    QVERIFY(rig.sim.command("return"));
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("LblCom"), QStringLiteral("COM meter"), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(rig.label("ValOhm"), QStringLiteral("33.00"), 15000);
}

namespace {

// The program as main() runs it, with the real serial port: a device path given on the
// command line, OK pressed in the Port window, then `then` once the main window is up.
int runProgram(const QString &device, ui::Dialogs &dialogs, std::function<void(QWidget *panel)> then)
{
    ui::QtSerialPort comm1, probe;
    ui::FakePortEnumerator ports;
    ui::RecordingShell shell;
    ui::SystemClock clock;
    QTimer::singleShot(0, [&] {
        QWidget *port = nullptr;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Port") && w->isVisible())
                port = w;
        if (!port)
            return QApplication::exit(99);
        port->findChild<QPushButton *>(QStringLiteral("CmdOK"))->click();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("Panel") && w->isVisible())
                then(w);
    });
    return panel::RunDorvel({QStringLiteral("dorvel"), device}, {comm1, probe, ports, dialogs, shell, clock});
}

} // namespace

void TestEndToEndLink::programFromPortWindowToLiveReading()
{
    QTemporaryDir dir;
    MeterSimProcess sim(dir.filePath(QStringLiteral("meter")));
    QVERIFY(sim.start());
    ui::ScriptedDialogs dialogs;
    QString link, ohm;
    const int status = runProgram(sim.linkPath(), dialogs, [&](QWidget *panel) {
        auto *lblCom = panel->findChild<QLabel *>(QStringLiteral("LblCom"));
        auto *valOhm = panel->findChild<QLabel *>(QStringLiteral("ValOhm"));
        link = lblCom->text();
        // The first readings arrive from the event loop; then the user closes the window.
        auto *poll = new QTimer(panel);
        QObject::connect(poll, &QTimer::timeout, panel, [=, &ohm] {
            if (TwoDecimals.match(valOhm->text()).hasMatch()) {
                ohm = valOhm->text();
                panel->close();
            }
        });
        poll->start(50);
        QTimer::singleShot(5000, panel, [panel] { panel->close(); });
    });
    QCOMPARE(status, 0);
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(link, QStringLiteral("Com meter"));
    QVERIFY2(!ohm.isEmpty(), "no live reading within 5 s");
}

void TestEndToEndLink::portThatCannotOpenExitsWithStatus1()
{
    ui::ScriptedDialogs dialogs;
    const int status = runProgram(QStringLiteral("/dev/dorvel-no-such-device"), dialogs, [](QWidget *) {});
    QCOMPARE(status, 1);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("COM Port Open Error !!!"));
    QCOMPARE(dialogs.messages[0].icon, ui::Dialogs::Icon::Critical);
    QVERIFY2(dialogs.messages[0].details.contains(QStringLiteral("/dev/dorvel-no-such-device is not present")),
             qPrintable(dialogs.messages[0].details));
}

QTEST_MAIN(TestEndToEndLink)
#include "tst_endtoend_link.moc"
