#include "core/AppState.h"
#include "meter/PortWindow.h"
#include "panel/Startup.h"
#include "ui/fakes/FakePortEnumerator.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using Open = ui::SerialPort::OpenResult;

namespace {

struct Rig
{
    core::AppState state;
    ui::FakeSerialPort probe;
    ui::FakePortEnumerator ports;
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    meter::PortWindow window{state, probe, ports, dialogs, shell};

    QComboBox *field() const { return window.findChild<QComboBox *>(QStringLiteral("TxtCOM")); }
    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < field()->count(); ++i)
            out << field()->itemText(i);
        return out;
    }
    void click(const char *name)
    {
        QTest::mouseClick(window.findChild<QPushButton *>(QString::fromLatin1(name)), Qt::LeftButton);
    }
};

QStringList allSixteen()
{
    QStringList out;
    for (int n = 1; n <= 16; ++n)
        out << QStringLiteral("COM  %1").arg(n);
    return out;
}

} // namespace

class TestPortWindow : public QObject
{
    Q_OBJECT
private slots:
    void loadListsSixteenPorts();
    void okTakesTheTextAsTyped_data();
    void okTakesTheTextAsTyped();
    void okHandsOverAndCloses();
    void autoScanListsUsablePorts();
    void deviceManagerShowsThePortsPresent();
    void autoScanFindingNothingSaysSo();
    void commandLineFillsThePortField();
};

void TestPortWindow::loadListsSixteenPorts()
{
    Rig rig;
    QCOMPARE(rig.entries(), allSixteen());
    QCOMPARE(rig.field()->currentText(), QStringLiteral("COM  1"));
    QCOMPARE(int(rig.state.ComPortNumber), 0);
}

void TestPortWindow::okTakesTheTextAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("path");

    // The earlier choice is port 4. Nothing completes the text: it is compared as typed.
    QTest::newRow("Auto") << "Auto" << 1 << "";
    QTest::newRow("COM  1, a prefix of COM  10") << "COM  1" << 1 << "";
    QTest::newRow("COM  12") << "COM  12" << 12 << "";
    QTest::newRow("COM  16") << "COM  16" << 16 << "";
    QTest::newRow("device path") << "/dev/ttyUSB0" << 4 << "/dev/ttyUSB0";
    QTest::newRow("no blanks") << "COM1" << 4 << "";
    QTest::newRow("one blank") << "COM 5" << 4 << "";
    QTest::newRow("lower case") << "com  5" << 4 << "";
    QTest::newRow("lower case of a listed one") << "com  1" << 4 << "";
    QTest::newRow("out of list") << "COM  17" << 4 << "";
    QTest::newRow("auto lower case") << "auto" << 4 << "";
    QTest::newRow("empty") << "" << 4 << "";
}

void TestPortWindow::okTakesTheTextAsTyped()
{
    QFETCH(QString, typed);
    Rig rig;
    rig.state.ComPortNumber = 4;
    QSignalSpy chosen(&rig.window, &meter::PortWindow::portChosen);
    rig.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&rig.window));
    QLineEdit *edit = rig.field()->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(chosen.size(), 1);
    QTEST(int(rig.state.ComPortNumber), "number");
    QTEST(rig.state.ComPortPath, "path");
}

void TestPortWindow::okHandsOverAndCloses()
{
    Rig rig;
    rig.window.show();
    QSignalSpy chosen(&rig.window, &meter::PortWindow::portChosen);
    rig.field()->setCurrentIndex(4);
    rig.click("CmdOK");
    QCOMPARE(chosen.size(), 1);
    QCOMPARE(int(rig.state.ComPortNumber), 5);
    QVERIFY(!rig.window.isVisible());

    // A path chosen first, then a numbered port: the number wins again.
    Rig again;
    again.window.setChoiceText(QStringLiteral("/tmp/dorvel-meter"));
    again.window.ok();
    QCOMPARE(again.state.ComPortPath, QStringLiteral("/tmp/dorvel-meter"));
    again.field()->setEditText(QStringLiteral("COM  2"));
    again.window.ok();
    QCOMPARE(int(again.state.ComPortNumber), 2);
    QVERIFY(again.state.ComPortPath.isEmpty());
}

void TestPortWindow::autoScanListsUsablePorts()
{
    Rig rig;
    rig.probe.openResults.insert(QStringLiteral("/dev/ttyS2"), Open::Opened);       // COM 3
    rig.probe.openResults.insert(QStringLiteral("/dev/ttyS4"), Open::Opened);       // COM 5
    rig.probe.openResults.insert(QStringLiteral("/dev/ttyS8"), Open::AlreadyInUse); // COM 9
    rig.probe.openResults.insert(QStringLiteral("/dev/ttyS9"), Open::NoPermission); // COM 10
    rig.probe.openResults.insert(QStringLiteral("/dev/ttyS10"), Open::NotFound);    // COM 11
    rig.ports.present = {{QStringLiteral("/dev/ttyS0"), {}, {}, {}, {}},
                         {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("FT232R"), {}, {}, {}},
                         {QStringLiteral("/dev/ttyACM1"), {}, {}, {}, {}}};
    rig.click("BtnAutoScan");
    QCOMPARE(rig.entries(), QStringList({"COM  3", "COM  5", "COM  9", "/dev/ttyUSB0", "/dev/ttyACM1"}));
    QCOMPARE(rig.field()->currentText(), QStringLiteral("COM  3"));
    QCOMPARE(rig.probe.openCalls, 16);
    QVERIFY(!rig.probe.isOpen());
    QCOMPARE(rig.window.findChild<QProgressBar *>(QStringLiteral("ProgressBar1"))->value(), 16);
    QVERIFY(rig.dialogs.messages.isEmpty());

    rig.window.ok();
    QCOMPARE(int(rig.state.ComPortNumber), 3);

    rig.click("BtnReset");
    QCOMPARE(rig.entries(), allSixteen());
}

void TestPortWindow::autoScanFindingNothingSaysSo()
{
    Rig rig;
    rig.state.ComPortNumber = 6;
    rig.window.autoScan();
    QVERIFY(rig.entries().isEmpty());
    QCOMPARE(rig.field()->currentIndex(), -1);
    QVERIFY(rig.field()->currentText().isEmpty());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("No serial port was found."));
    rig.window.ok();
    QCOMPARE(int(rig.state.ComPortNumber), 6);
}

void TestPortWindow::deviceManagerShowsThePortsPresent()
{
    Rig rig;
    ui::SerialPortDescription adapter;
    adapter.path = QStringLiteral("/dev/ttyUSB0");
    adapter.description = QStringLiteral("FT232R USB UART");
    rig.ports.present = {adapter};
    rig.window.show();
    rig.click("BtnDeviceManager");
#ifdef Q_OS_WIN
    QCOMPARE(rig.shell.opened.size(), 1);
#else
    // The table of ports goes through the dialogs, so nothing here waits on a real dialog.
    QCOMPARE(rig.dialogs.portTables.size(), 1);
    QCOMPARE(rig.dialogs.portTables.at(0).size(), 1);
    QCOMPARE(rig.dialogs.portTables.at(0).at(0).path, QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(rig.shell.opened.isEmpty());
#endif
}

void TestPortWindow::commandLineFillsThePortField()
{
    ui::FakePortEnumerator none, oneAdapter, twoAdapters;
    oneAdapter.present = {{"/dev/ttyS0", {}, {}, {}, {}}, {"/dev/ttyUSB0", "FT232R", {}, {}, {}}};
    twoAdapters.present = {{"/dev/ttyUSB0", {}, {}, {}, {}}, {"/dev/ttyACM0", {}, {}, {}, {}}};

    auto line = panel::parseCommandLine({"dorvel", "/dev/ttyACM3"}, "10.05", oneAdapter);
    QCOMPARE(line.device, QStringLiteral("/dev/ttyACM3"));
    QVERIFY(!line.exitNow);
    // A list entry with its two blanks is one argument, as the shell passes it.
    QCOMPARE(panel::parseCommandLine({"dorvel", "COM  3"}, "10.05", none).device, QStringLiteral("COM  3"));

    // Started from the desktop menu: the one adapter present is the meter's.
    QCOMPARE(panel::parseCommandLine({"dorvel"}, "10.05", oneAdapter).device, QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(panel::parseCommandLine({"dorvel"}, "10.05", twoAdapters).device.isEmpty());
    QVERIFY(panel::parseCommandLine({"dorvel"}, "10.05", none).device.isEmpty());

    line = panel::parseCommandLine({"dorvel", "--help"}, "10.05", none);
    // What --help and --version print is checked on the program itself, without a display.
    QCOMPARE(line.exitNow, std::optional<int>(0));
    QVERIFY2(line.output.startsWith("Usage: dorvel [options] [DEVICE]\n"), qPrintable(line.output));
    QVERIFY(line.device.isEmpty()); // not taken for a port name
    QCOMPARE(panel::parseCommandLine({"dorvel", "--version"}, "10.05", none).exitNow, std::optional<int>(0));

    line = panel::parseCommandLine({"dorvel", "--bogus"}, "10.05", none);
    QCOMPARE(line.exitNow, std::optional<int>(2));
    QVERIFY(line.errors.contains("bogus"));
    QCOMPARE(panel::parseCommandLine({"dorvel", "/dev/a", "/dev/b"}, "10.05", none).exitNow, std::optional<int>(2));
}

QTEST_MAIN(TestPortWindow)
#include "tst_portwindow.moc"
