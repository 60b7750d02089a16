#include "panel/CommandBar.h"
#include "panel/PopupPanels.h"
#include "support/FakePanelRig.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QScreen>
#include <QToolBar>
#include <QtTest>

using Icon = ui::Dialogs::Icon;

namespace {

struct Rig : FakePanelRig
{
    Rig() { panel->load(); }
    panel::CommandBar &bar() { return panel->commands(); }
    // Writes a file under the rig's folder, making the folders it needs.
    bool write(const char *name, const QByteArray &bytes = {})
    {
        QFile f(path(name));
        return QDir().mkpath(QFileInfo(f).path()) && f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }
};

} // namespace

class TestCommandBar : public QObject
{
    Q_OBJECT
private slots:
    void elevenButtonsInOrder();
    void shortcutsPressTheButtons();
    void ctrlSStartsButNeverStopsARecording();
    void samplingInterval_data();
    void samplingInterval();
    void saveStartsAndStopsARecording();
    void cancelledDialogsAndKeysWithoutActionChangeNothing();
    void openIsRefusedWhileRecording();
    void openReadsTheFileIntoTheFileList();
    void dataLoggerWaitsForARunningDownload();
    void realTimeChooserStartsTheViews();
    void helpOpensTheManualOrSaysItIsMissing();
};

void TestCommandBar::elevenButtonsInOrder()
{
    Rig rig;
    const QList<QAction *> actions = rig.bar().toolBar()->actions();
    const QStringList keys = {"Save",   "Open", "StartRealTime", "List", "Graph", "Sample",
                              "Memory", "Stop", "ReSave",        "Help", "Sort"};
    const QStringList texts = {"Save As",      "Open File",      "Start Real Time List or Graph",
                               "List Display", "Graph Display",  "PC Sampling",
                               "Data Logger",  "Stop Recording", "ReSave",
                               "Help...",      "Cell Sorting"};
    // The shortcut follows the tip, as desktop tool bars show it.
    const QStringList tips = {"Save As (Ctrl+S)",
                              "Open File (Ctrl+O)",
                              "Start Real Time List or Graph",
                              "List Display",
                              "Graph Display",
                              "PC Sampling",
                              "Data Logger",
                              "",
                              "",
                              "Help... (F1)",
                              "Cell Sorting (Ctrl+T)"};
    QCOMPARE(actions.size(), 11);
    for (int i = 0; i < 11; ++i) {
        QCOMPARE(actions[i]->data().toString(), keys[i]);
        // Named for keyboard and screen-reader users.
        QCOMPARE(actions[i]->text(), texts[i]);
        // 8 and 9 do nothing: kept in the bar's order, not shown.
        QCOMPARE(actions[i]->isVisible(), i != 7 && i != 8);
        if (actions[i]->isVisible())
            QCOMPARE(actions[i]->toolTip(), tips[i]);
    }
}

void TestCommandBar::shortcutsPressTheButtons()
{
    Rig rig;
    rig.panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.panel.get()));
    rig.panel->activateWindow();
    QTest::keyClick(rig.panel.get(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(rig.dialogs.filters.size(), 1); // the open dialog was asked, and cancelled
    QTest::keyClick(rig.panel.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(rig.dialogs.filters.size(), 2);
    QTest::keyClick(rig.panel.get(), Qt::Key_F1);
    QVERIFY(rig.panel->helpChooser().isVisible());
    // F1 again hides it; Esc puts either panel away, as the chooser's Exit does.
    QTest::keyClick(rig.panel.get(), Qt::Key_F1);
    QVERIFY(!rig.panel->helpChooser().isVisible());
    QTest::keyClick(rig.panel.get(), Qt::Key_F1);
    QTest::keyClick(rig.panel.get(), Qt::Key_Escape);
    QVERIFY(!rig.panel->helpChooser().isVisible());
    rig.bar().click(QStringLiteral("StartRealTime"));
    QVERIFY(rig.panel->realTimeChooser().isVisible());
    QTest::keyClick(rig.panel.get(), Qt::Key_Escape);
    QVERIFY(!rig.panel->realTimeChooser().isVisible());
    QVERIFY(!rig.state.ListOn && !rig.state.GraphOn); // nothing chosen
    QTest::keyClick(rig.panel.get(), Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!rig.panel->isVisible());
    QVERIFY(!rig.panel->poll().isEnabled());
}

void TestCommandBar::ctrlSStartsButNeverStopsARecording()
{
    Rig rig;
    rig.panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.panel.get()));
    rig.panel->activateWindow();
    const QString path = rig.path("night.Dvm");
    rig.dialogs.saveAnswers.enqueue(path);
    QTest::keyClick(rig.panel.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(rig.state.Recording);
    QCOMPARE(rig.bar().button(1)->toolTip(), QStringLiteral("Stop Recording"));

    // Pressed again out of habit: the recording goes on, and the user is told how to stop it.
    QTest::keyClick(rig.panel.get(), Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(rig.panel.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(rig.state.Recording);
    QCOMPARE(rig.dialogs.filters.size(), 1); // no second save dialog
    const QString notice =
        QStringLiteral("Recording into %1. Press Stop Recording (the first tool-bar button) to stop.")
            .arg(QDir::toNativeSeparators(path));
    QCOMPARE(rig.dialogs.notices, QStringList({notice, notice}));
    QVERIFY(rig.dialogs.messages.isEmpty());

    // The button itself still stops it.
    rig.bar().button(1)->trigger();
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.bar().button(1)->toolTip(), QStringLiteral("Save As (Ctrl+S)"));
}

void TestCommandBar::samplingInterval_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("tick");

    // Before each row: SampleSeconds 2 and SampleTick 1.
    QTest::newRow("0") << std::optional<QString>("0") << 1 << 0;
    QTest::newRow("-5") << std::optional<QString>("-5") << 1 << 0;
    QTest::newRow("100000") << std::optional<QString>("100000") << 86400 << 0;
    QTest::newRow("2.5 to even") << std::optional<QString>("2.5") << 2 << 0;
    QTest::newRow("3.5 to even") << std::optional<QString>("3.5") << 4 << 0;
    QTest::newRow("0.5 is below 1") << std::optional<QString>("0.5") << 1 << 0;
    QTest::newRow("86400") << std::optional<QString>("86400") << 86400 << 0;
    QTest::newRow("blanks") << std::optional<QString>(" 7 ") << 7 << 0;
    QTest::newRow("huge") << std::optional<QString>("1e300") << 86400 << 0;
    QTest::newRow("not a number") << std::optional<QString>("abc") << 2 << 1;
    QTest::newRow("number then text") << std::optional<QString>("5s") << 2 << 1;
    QTest::newRow("empty") << std::optional<QString>("") << 2 << 1;
    QTest::newRow("cancel") << std::optional<QString>() << 2 << 1;
}

void TestCommandBar::samplingInterval()
{
    QFETCH(std::optional<QString>, answer);
    Rig rig;
    rig.state.SampleTick = 1;
    rig.dialogs.inputAnswers.enqueue(answer);
    rig.bar().click(QStringLiteral("Sample"));
    QCOMPARE(rig.dialogs.inputPrompts, QStringList({"Enter the SAMPLING TIME in seconds\r\n(1 <= t <= 86400 ) "}));
    QTEST(int(rig.state.SampleSeconds), "seconds");
    QTEST(int(rig.state.SampleTick), "tick");
    QVERIFY(rig.panel->poll().isEnabled());
}

void TestCommandBar::saveStartsAndStopsARecording()
{
    Rig rig;
    DecodeStatus(rig.state.reading, 2);
    rig.dialogs.saveAnswers.enqueue(rig.path("cell.Dvm"));
    rig.bar().click(QStringLiteral("Save"));
    QCOMPARE(rig.dialogs.filters, QStringList({"Dorvel (*.Dvm)|*.Dvm|All Files (*.*)|*.*|"}));
    QVERIFY(rig.state.Recording);
    QCOMPARE(int(rig.state.RecordRangeCode), 2);
    QVERIFY(!rig.labelWidget("LblRec")->isHidden());
    QCOMPARE(rig.bar().button(1)->toolTip(), QStringLiteral("Stop Recording"));

    rig.state.SampleSeconds = 1;
    rig.state.ReadingAtMs = rig.clock.mono; // a frame just came
    rig.panel->recorder().tick();           // header
    rig.panel->recorder().tick();           // line 1
    QCOMPARE(rig.label("LblCount"), QStringLiteral("1"));

    rig.bar().click(QStringLiteral("Save"));
    QVERIFY(!rig.state.Recording);
    QVERIFY(!rig.state.SaveChosen);
    QCOMPARE(rig.state.RecordCount, 0);
    QVERIFY(rig.labelWidget("LblRec")->isHidden());
    QVERIFY(rig.label("LblCount").isEmpty());
    QCOMPARE(rig.bar().button(1)->toolTip(), QStringLiteral("Save As (Ctrl+S)"));
    QFile f(rig.path("cell.Dvm"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().count("\r\n"), 2);

    // A file that cannot be created: said, and nothing starts.
    rig.dialogs.saveAnswers.enqueue(rig.path("missing/dir/x.Dvm"));
    rig.bar().click(QStringLiteral("Save"));
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages[0].icon, Icon::Critical);
    QVERIFY(rig.dialogs.messages[0].text.contains(QStringLiteral("x.Dvm")));
    QCOMPARE(rig.bar().button(1)->toolTip(), QStringLiteral("Save As (Ctrl+S)"));
}

void TestCommandBar::cancelledDialogsAndKeysWithoutActionChangeNothing()
{
    Rig rig;
    const core::AppState before = rig.state;
    rig.bar().click(QStringLiteral("Save")); // cancel: no answer queued
    QVERIFY(!rig.state.SaveChosen);
    QVERIFY(rig.label("LblFileName").isEmpty());
    rig.bar().click(QStringLiteral("Open"));
    QVERIFY(!rig.panel->views().window(panel::WindowRegistry::Role::FileList));
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::Files).size(), 0);
    // Keys without an action only switch the poll on again.
    for (const char *key : {"Stop", "ReSave", "save", ""}) {
        rig.panel->poll().setEnabled(false);
        rig.bar().click(QString::fromLatin1(key));
        QVERIFY(rig.panel->poll().isEnabled());
    }
    QVERIFY(!rig.state.Recording);
    QCOMPARE(rig.state.SampleSeconds, before.SampleSeconds);
    QVERIFY(rig.dialogs.messages.isEmpty());
    QCOMPARE(rig.dialogs.filters.size(), 2); // the two dialogs cancelled, no other
}

void TestCommandBar::openIsRefusedWhileRecording()
{
    Rig rig;
    rig.dialogs.saveAnswers.enqueue(rig.path("rec.Dvm"));
    rig.bar().click(QStringLiteral("Save"));
    rig.dialogs.filters.clear();
    rig.bar().click(QStringLiteral("Open"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages[0].icon, Icon::Critical);
    QCOMPARE(rig.dialogs.messages[0].text, QStringLiteral("Recording Mode!\n\rPlease stop recording!"));
    QVERIFY(rig.dialogs.filters.isEmpty());
}

void TestCommandBar::openReadsTheFileIntoTheFileList()
{
    Rig rig;
    QVERIFY(rig.write("old.Dvm", "No.s\tDate\tTime\t400mOhm\t40Voltage\r\n1\t2024/03/05\t14:07:11\t25.0\t13.70\r\n"
                                 "2\t2024/03/05\t14:07:13\t25.1\t13.69\r\n"));
    rig.dialogs.openAnswers.enqueue(rig.path("old.Dvm"));
    rig.bar().click(QStringLiteral("Open"));
    QWidget *list = rig.panel->views().window(panel::WindowRegistry::Role::FileList);
    QVERIFY(list);
    QTRY_COMPARE(rig.state.FileOhmRange, QStringLiteral("400m"));
    QTRY_COMPARE(list->windowTitle(), QStringLiteral("old.Dvm"));
    QCOMPARE(rig.state.FileVoltRange, QStringLiteral("40"));
    // The list opens to the right of the main window, or as far right as the screen allows.
    const QRect area = list->screen()->availableGeometry();
    QVERIFY(list->x() >= rig.panel->x() + rig.panel->width() || list->frameGeometry().right() == area.right());
    QVERIFY(list->frameGeometry().right() <= area.right());

    // Opening again replaces the window with a fresh one.
    rig.dialogs.openAnswers.enqueue(rig.path("old.Dvm"));
    rig.bar().click(QStringLiteral("Open"));
    QWidget *again = rig.panel->views().window(panel::WindowRegistry::Role::FileList);
    QVERIFY(again);
    QTRY_COMPARE(again->windowTitle(), QStringLiteral("old.Dvm"));
}

void TestCommandBar::dataLoggerWaitsForARunningDownload()
{
    Rig rig;
    rig.state.DownloadBusy = true;
    rig.bar().click(QStringLiteral("Memory"));
    QVERIFY(!rig.panel->poll().isEnabled());
    QVERIFY(rig.port.written.isEmpty());
    rig.state.DownloadBusy = false;
    rig.bar().click(QStringLiteral("Memory"));
    QCOMPARE(rig.port.written, QByteArray("U"));
    QVERIFY(rig.state.DownloadBusy && rig.state.MemoryOpen);
    QVERIFY(!rig.panel->poll().isEnabled());
    // The download switches the poll on again when it ends, here with its window.
    rig.panel->views().close(panel::Role::Memory);
    QVERIFY(!rig.state.DownloadBusy);
    QVERIFY(rig.panel->poll().isEnabled());
}

void TestCommandBar::realTimeChooserStartsTheViews()
{
    Rig rig;
    DecodeStatus(rig.state.reading, 3);
    auto &chooser = rig.panel->realTimeChooser();
    rig.bar().click(QStringLiteral("StartRealTime"));
    QVERIFY(chooser.isVisibleTo(rig.panel.get()));
    chooser.findChild<QRadioButton *>(QStringLiteral("OptItem1"))->click();
    QVERIFY(!chooser.isVisibleTo(rig.panel.get()));
    QVERIFY(rig.state.GraphOn);
    QCOMPARE(int(rig.state.GraphOhmMax), 40);
    QCOMPARE(int(rig.state.GraphVoltMin), -4);
    QVERIFY(!chooser.findChild<QRadioButton *>(QStringLiteral("OptItem1"))->isChecked());

    rig.bar().click(QStringLiteral("StartRealTime"));
    chooser.findChild<QRadioButton *>(QStringLiteral("OptItem0"))->click();
    QVERIFY(rig.state.ListOn);
    QCOMPARE(int(rig.state.ListRangeCode), 3);
    QVERIFY(!chooser.findChild<QRadioButton *>(QStringLiteral("OptItem0"))->isChecked());
}

void TestCommandBar::helpOpensTheManualOrSaysItIsMissing()
{
    Rig rig;
    auto &help = rig.panel->helpChooser();
    rig.bar().click(QStringLiteral("Help"));
    QVERIFY(help.isVisibleTo(rig.panel.get()));
    help.choose(1);
    QVERIFY(!help.isVisibleTo(rig.panel.get()));
    QVERIFY(rig.shell.opened.isEmpty());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QVERIFY(rig.dialogs.messages[0].text.contains(QStringLiteral("help/Dorvel-SW-HELP-FR_V1.1.pdf")));

    QVERIFY(rig.write("help/Dorvel-SW-HELP-BPT_V1.1.pdf"));
    help.choose(4);
    QCOMPARE(rig.shell.opened, QStringList({rig.path("help/Dorvel-SW-HELP-BPT_V1.1.pdf")}));
    QCOMPARE(rig.dialogs.messages.size(), 1);

    // Installed: the manuals live in the data folder, not beside the program.
    QVERIFY(rig.write("share/help/Dorvel-SW-HELP-EN_V1.1.pdf"));
    help.choose(0);
    QCOMPARE(rig.shell.opened.last(), rig.path("share/help/Dorvel-SW-HELP-EN_V1.1.pdf"));
    // One beside the program comes first.
    QVERIFY(rig.write("help/Dorvel-SW-HELP-EN_V1.1.pdf"));
    help.choose(0);
    QCOMPARE(rig.shell.opened.last(), rig.path("help/Dorvel-SW-HELP-EN_V1.1.pdf"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
}

QTEST_MAIN(TestCommandBar)
#include "tst_commandbar.moc"
