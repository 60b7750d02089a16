// The Real Time List at its limit: 43,749 rows through the recorder's list step into the
// open window, the memory they take, and saving the full list as a measurement file.
#include "BenchSupport.h"

#include "core/AppState.h"
#include "files/GridFile.h"
#include "panel/CommandBar.h"
#include "panel/Panel.h"
#include "panel/WindowRegistry.h"
#include "realtime/RealTimeList.h"
#include "ui/GridModel.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    core::AppState state;
    state.ComPortNumber = 1;
    ui::FakeSerialPort port;
    port.openResults.insert(QStringLiteral("/dev/ttyS0"), ui::SerialPort::OpenResult::Opened);
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::FakeClock clock;
    panel::Panel window(state, panel::PanelServices{port, dialogs, shell, clock});
    window.show();
    if (!window.load())
        return 1;
    window.recorder().stopTimer();
    // A reading on the face, as the poll leaves it.
    state.reading.OhmText = QStringLiteral("24.68");
    state.reading.VoltText = QStringLiteral("3.712");
    state.ReadingAtMs = clock.monotonicMs();
    window.recorder().setSampleSeconds(1);
    window.commands().click(QStringLiteral("List"));
    auto *list = window.views().window<panel::Role::List>();
    if (!list)
        return 1;
    QApplication::processEvents();

    const qint64 before = bench::residentBytes();
    QElapsedTimer timer;
    timer.start();
    int steps = 0;
    // The stamps are computed from the first one, so the clock need not move.
    while (state.ListOn && steps < 50000) {
        window.recorder().tick();
        ++steps;
    }
    const double appendMs = timer.nsecsElapsed() / 1e6;
    QApplication::processEvents(); // the view catches up with its last row once
    const double shownMs = timer.nsecsElapsed() / 1e6;
    const qint64 grown = bench::residentBytes() - before;
    const int rows = list->grid().rows() - 1;

    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("list.Dvm")));
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    timer.restart();
    const bool saved = files::writeGrid(list->grid(), file);
    file.close();
    const double saveMs = timer.nsecsElapsed() / 1e6;

    bench::print("realtimelist_rows", rows, "rows");
    bench::print("realtimelist_append_all", appendMs, "ms");
    bench::print("realtimelist_append_and_show", shownMs, "ms");
    bench::print("realtimelist_memory_growth", grown / 1048576.0, "MB");
    bench::print("realtimelist_save_full", saveMs, "ms");
    return (saved && rows == 43749) ? 0 : 1;
}
