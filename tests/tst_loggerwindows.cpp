#include "logger/DataListWindow.h"
#include "logger/MemoryWindow.h"
#include "panel/CommandBar.h"
#include "plot/PlotWindow.h"
#include "support/FakePanelRig.h"
#include "support/LoggerImages.h"
#include "ui/GridModel.h"
#include "ui/GridView.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using Icon = ui::Dialogs::Icon;
using panel::Role;

namespace {

struct Rig : FakePanelRig
{
    Rig()
    {
        panel->load();
        panel->show();
    }
    void press() { panel->commands().button(7)->trigger(); }
    logger::MemoryWindow *memory() const { return panel->views().window<Role::Memory>(); }
    logger::DataListWindow *dataList() const { return panel->views().window<Role::DataList>(); }
    QString memoryLabel(const char *name) const
    {
        return memory()->findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
    // Presses "Data Logger" and serves the answer.
    bool download(const QByteArray &memory)
    {
        press();
        if (!this->memory())
            return false;
        port.feed(images::answer(memory));
        return QTest::qWaitFor([this] { return !state.DownloadBusy; }, 3000);
    }
    // Clicks a row of the block grid and answers the start time with `start`.
    void listBlock(int row, const std::optional<QString> &start = QStringLiteral("2010/05/06 12:34:56"))
    {
        dialogs.inputAnswers.enqueue(start);
        emit memory()->blockView().cellClicked(row, 0);
    }
};

QStringList rowOf(const ui::GridModel &grid, int r)
{
    QStringList cells;
    for (int c = 0; c < grid.cols(); ++c)
        cells.append(grid.text(r, c));
    return cells;
}

// Block 1: 99 records, 500 bytes with its header: P = 17652. Block 2 has no records,
// block 3 two in the 400 mOhm / 40 V ranges.
QByteArray twoBlocksAndAnEmptyOne()
{
    return images::block(60, 0x03, 99) + images::block(5, 0x03, 0) + images::block(255, 0x06, 2);
}

} // namespace

// The Data Logger and Data List windows behind the main window's "Data Logger" button.
class TestLoggerWindows : public QObject
{
    Q_OBJECT
private slots:
    void dataLoggerOpensBesideAndFillsTheBlockGrid();
    void pressWhileBusyAndCloseWhileRunning();
    void blockListingAsksTheStartTime();
    void blockListingEndsQuietly();
    void dataListSavesUnderTheBlockRanges();
    void dataListPlots();
};

void TestLoggerWindows::dataLoggerOpensBesideAndFillsTheBlockGrid()
{
    Rig rig;
    rig.press();
    logger::MemoryWindow *memory = rig.memory();
    QVERIFY(memory && memory->isVisible());
    QCOMPARE(memory->windowTitle(), QStringLiteral("Data Logger"));
    // Beside the main window, or as far right as the screen allows.
    const QRect area = memory->screen()->availableGeometry();
    QCOMPARE(memory->pos().y(), rig.panel->frameGeometry().top());
    QVERIFY(memory->pos().x() == rig.panel->frameGeometry().right() + 1
            || memory->frameGeometry().right() == area.right());
    QVERIFY(memory->frameGeometry().right() <= area.right());
    QVERIFY(rig.state.MemoryOpen);
    QCOMPARE(rig.memoryLabel("LblSize"), QStringLiteral("48.0 K"));
    QCOMPARE(rig.memoryLabel("LblRemain"), QStringLiteral("48.0 K"));
    QCOMPARE(rowOf(memory->blocks(), 0), QStringList({"No.s", "Ohm Range", "V Range", "Sampling", "Records"}));
    QCOMPARE(memory->blocks().rows(), 1);
    QCOMPARE(rowOf(memory->limits(), 0), QStringList({"No", "(m)Ohm High", "(m)Ohm Low", "m/Ohm", "Voltage"}));
    QCOMPARE(memory->limits().rows(), 1);
    auto *compare = memory->findChild<QPushButton *>(QStringLiteral("CmdCompare"));
    QVERIFY(compare && compare->isVisible() && !compare->isEnabled());

    rig.port.feed(images::answer(twoBlocksAndAnEmptyOne()));
    QTRY_VERIFY(!rig.state.DownloadBusy);
    QVERIFY(rig.panel->poll().isEnabled());
    const ui::GridModel &blocks = rig.memory()->blocks();
    QCOMPARE(blocks.rows(), 4);
    QCOMPARE(rowOf(blocks, 1), QStringList({"1", "40m Ohm", "4 Voltage", "60", "99"}));
    QCOMPARE(rowOf(blocks, 2), QStringList({"2", "", "", "5", "0"}));
    QCOMPARE(rowOf(blocks, 3), QStringList({"3", "400m Ohm", "40 Voltage", "255", "2"}));
    QCOMPARE(rig.memoryLabel("LblMessage"), QStringLiteral("100.0 % Completed"));
    QCOMPARE(rig.memoryLabel("LblRemain"), QStringLiteral("46.5K")); // 520 bytes stored

    // A second download starts from a fresh window and an empty grid.
    const QPointer<logger::MemoryWindow> first(rig.memory());
    QVERIFY(rig.download(images::block(60, 0x03, 9000)));
    QTRY_VERIFY(rig.memory() && first.isNull());
    QCOMPARE(rig.memory()->blocks().rows(), 2);
    QCOMPARE(rig.memoryLabel("LblRemain"), QStringLiteral("3.1K"));
    QVERIFY(rig.state.MemoryOpen);

    // An empty memory leaves the grid at its header and the free memory as it was loaded.
    QVERIFY(rig.download({}));
    QCOMPARE(rig.memory()->blocks().rows(), 1);
    QCOMPARE(rig.memoryLabel("LblRemain"), QStringLiteral("48.0 K"));
    QVERIFY(rig.panel->poll().isEnabled());
    rig.memory()->close();
    QVERIFY(!rig.state.MemoryOpen);
}

void TestLoggerWindows::pressWhileBusyAndCloseWhileRunning()
{
    Rig rig;
    rig.press();
    logger::MemoryWindow *memory = rig.memory();
    rig.press();
    QCOMPARE(rig.memory(), memory);
    QCOMPARE(rig.port.written, QByteArray("U"));
    QVERIFY(rig.state.DownloadBusy && rig.panel->poll().isPaused());

    // A meter that never answers: closing the window gives up the download.
    QTRY_VERIFY_WITH_TIMEOUT(rig.port.written.size() >= 2, 2000);
    QTRY_COMPARE(rig.memoryLabel("LblMessage"), QStringLiteral("Waiting for the meter to answer..."));
    memory->close();
    QVERIFY(!rig.state.DownloadBusy);
    QVERIFY(!rig.state.MemoryOpen);
    QVERIFY(!rig.panel->poll().isPaused() && rig.panel->poll().isEnabled());
    const qsizetype sent = rig.port.written.size();
    QTest::qWait(700);
    QCOMPARE(rig.port.written.size(), sent);
}

void TestLoggerWindows::blockListingAsksTheStartTime()
{
    Rig rig;
    QVERIFY(rig.download(twoBlocksAndAnEmptyOne()));
    rig.dialogs.inputAnswers.enqueue(QStringLiteral("2010-05-06 12:34:56"));
    rig.dialogs.inputAnswers.enqueue(QStringLiteral("2010/05/06 12:34:56"));
    emit rig.memory()->blockView().cellClicked(1, 2); // any column of the row

    QCOMPARE(rig.dialogs.inputPrompts.size(), 2);
    QCOMPARE(rig.dialogs.inputPrompts.at(0),
             QStringLiteral("Enter the STARTING TIME of recording\r\n (yyyy/mm/dd hh:nn:ss) "));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages.at(0).text, QStringLiteral("Invalid, comply with the data format properly\r\n"));
    logger::DataListWindow *list = rig.dataList();
    QVERIFY(list && list->isVisible());
    QCOMPARE(list->windowTitle(), QStringLiteral("Data List"));
    QCOMPARE(list->pos().x(), rig.panel->frameGeometry().right() + 1);
    const ui::GridModel &grid = list->grid();
    QCOMPARE(rowOf(grid, 0), QStringList({"No.s", "   Date", "   Time", "Ohm", "Voltage"}));
    QCOMPARE(grid.rows(), 100);
    QCOMPARE(rowOf(grid, 1), QStringList({"1", "2010/05/06", "12:34:56", "12.34", "3.700"}));
    QCOMPARE(rowOf(grid, 99), QStringList({"99", "2010/05/06", "14:12:56", "13.32", "3.602"}));
    QVERIFY(rig.panel->poll().isEnabled());
    QCOMPARE(rig.label("LblCom"), QStringLiteral("COM1"));
    // The live reading was not touched by the records.
    QVERIFY(rig.state.reading.OhmText.isEmpty());

    // The next block replaces the list; the block without records lists nothing.
    const QPointer<logger::DataListWindow> oldList(list);
    rig.listBlock(2);
    QTRY_VERIFY(rig.dataList() && oldList.isNull());
    QCOMPARE(rig.dataList()->grid().rows(), 1);

    rig.listBlock(3, QStringLiteral("9/5/1 8:07:06"));
    QCOMPARE(rowOf(rig.dataList()->grid(), 2), QStringList({"2", "2009/05/01", "08:11:21", "123.5", "36.99"}));

    // A start the calendar does not have: the list goes, nothing is listed, and it is said.
    rig.dialogs.messages.clear();
    const QPointer<logger::DataListWindow> listed(rig.dataList());
    rig.listBlock(1, QStringLiteral("2024/02/30 10:00:00"));
    QTRY_VERIFY(listed.isNull());
    QVERIFY(!rig.dataList());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages.at(0).text,
             QStringLiteral("2024/02/30 10:00:00 is not a date and time of the calendar."));
    QVERIFY(rig.panel->poll().isEnabled());
}

void TestLoggerWindows::blockListingEndsQuietly()
{
    Rig rig;
    QVERIFY(rig.download(twoBlocksAndAnEmptyOne()));
    rig.listBlock(1);
    QVERIFY(rig.dataList());

    // Cancel: the open list is closed first, nothing is listed, the poll runs.
    rig.listBlock(1, std::nullopt);
    QVERIFY(!rig.dataList());
    QVERIFY(rig.panel->poll().isEnabled());
    // An empty answer likewise, without a word; a date the calendar does not have says so.
    rig.listBlock(1, QString());
    QVERIFY(rig.dialogs.messages.isEmpty());
    rig.listBlock(1, QStringLiteral("2010/02/30 12:00:00"));
    QVERIFY(!rig.dataList());
    QCOMPARE(rig.dialogs.messages.size(), 1);
    rig.dialogs.messages.clear();
    // The header row names no block: no dialog at all.
    const int asked = int(rig.dialogs.inputPrompts.size());
    emit rig.memory()->blockView().cellClicked(0, 0);
    QCOMPARE(rig.dialogs.inputPrompts.size(), asked);
    QVERIFY(rig.dialogs.messages.isEmpty());
    QVERIFY(rig.panel->poll().isEnabled() && !rig.panel->poll().isPaused());
}

void TestLoggerWindows::dataListSavesUnderTheBlockRanges()
{
    Rig rig;
    QVERIFY(rig.download(twoBlocksAndAnEmptyOne()));
    rig.listBlock(1);
    logger::DataListWindow *list = rig.dataList();
    QVERIFY(list);

    rig.state.Recording = true;
    list->buttonClick(QStringLiteral("Save"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    QCOMPARE(rig.dialogs.messages.at(0).icon, Icon::Critical);
    QCOMPARE(rig.dialogs.messages.at(0).text, QStringLiteral("Aready in recording mode, close it and try again !"));
    QVERIFY(rig.dialogs.filters.isEmpty());
    QCOMPARE(list->grid().text(0, 3), QStringLiteral("Ohm"));
    rig.state.Recording = false;

    const QString path = rig.dir.filePath(QStringLiteral("block.Dvm"));
    rig.dialogs.saveAnswers.enqueue(path);
    list->buttonClick(QStringLiteral("Save"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 100);
    QCOMPARE(lines.at(0), QStringLiteral("No.s\t   Date\t   Time\t40m Ohm\t4 Voltage\t"));
    QCOMPARE(lines.at(1), QStringLiteral("1\t2010/05/06\t12:34:56\t12.34\t3.700\t"));
    QCOMPARE(list->grid().text(0, 3), QStringLiteral(" Ohm"));
    QCOMPARE(list->grid().text(0, 4), QStringLiteral(" Voltage"));
    QCOMPARE(list->windowTitle(), QStringLiteral("Data List"));

    // Cancelled: nothing written, the titles read as after a save all the same.
    list->buttonClick(QStringLiteral("Save"));
    QCOMPARE(list->grid().text(0, 3), QStringLiteral(" Ohm"));
    QCOMPARE(rig.dialogs.messages.size(), 1);
    list->buttonClick(QStringLiteral("Nothing"));
}

void TestLoggerWindows::dataListPlots()
{
    Rig rig;
    QVERIFY(rig.download(twoBlocksAndAnEmptyOne()));
    rig.listBlock(3);
    rig.dataList()->buttonClick(QStringLiteral("Plot"));
    QVERIFY(rig.panel->views().window<Role::ListPlot2>());
    QVERIFY(rig.state.PlotFromLogger && !rig.state.PlotFromFile);
    QCOMPARE(rig.state.PlotOhmLimit, 400.0f);
    QCOMPARE(rig.state.PlotVoltLimit, 40.0f);
    QCOMPARE(rig.state.PlotRowCount, 2.0f);
    QVERIFY(rig.dialogs.messages.isEmpty());

    // Print asks for a printer; cancelled, the poll runs on.
    rig.printers.answer = ui::FakePrintService::Answer::Cancel;
    rig.dataList()->buttonClick(QStringLiteral("Print"));
    QTRY_COMPARE(rig.printers.asked, QStringList{QStringLiteral("choose")});
    QTRY_VERIFY(rig.panel->poll().isEnabled() && !rig.panel->poll().isPaused());
}

QTEST_MAIN(TestLoggerWindows)
#include "tst_loggerwindows.moc"
