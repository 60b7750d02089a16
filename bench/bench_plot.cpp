// The Plot of a 69,998-row list: from the button press to the finished picture of the
// plot window (the curves painted at the screen's pixel ratio). Goal: at most 30 ms,
// whatever the row range.
#include "BenchSupport.h"
#include "core/AppState.h"
#include "files/FileListWindow.h"
#include "panel/Panel.h"
#include "panel/Wiring.h"
#include "plot/PlotRangeWindow.h"
#include "plot/PlotWindow.h"
#include "ui/GridModel.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

constexpr int Rows = 69998;
constexpr int Runs = 9;

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    core::AppState state;
    state.ComPortNumber = 1;
    ui::FakeSerialPort port;
    port.openResults.insert(QStringLiteral("/dev/ttyS0"), ui::SerialPort::OpenResult::Opened);
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::FakeClock clock;
    panel::Panel panel(state, panel::PanelServices{port, dialogs, shell, clock});
    panel.load();
    auto *list = panel.views().show<panel::Role::FileList>();
    list->grid().addRows(bench::recordingRows(Rows));
    state.FileOhmRange = QStringLiteral("40m");
    state.FileVoltRange = QStringLiteral("4");

    // The press and the paint that follows it, timed together.
    const auto timed = [&](const std::function<void()> &press) {
        QElapsedTimer t;
        t.start();
        press();
        auto *window = panel.views().window<panel::Role::ListPlot2>();
        const QPixmap shown = window->canvas().grab();
        const double ms = t.nsecsElapsed() / 1e6;
        if (shown.isNull() || !window->canvas().plot() || !window->canvas().plot()->hasCurves)
            qFatal("no plot drawn");
        return ms;
    };

    std::vector<double> whole, narrow;
    for (int run = 0; run < Runs; ++run)
        whole.push_back(timed([&] { list->buttonClick(QStringLiteral("Plot")); }));
    for (int run = 0; run < Runs; ++run) {
        list->buttonClick(QStringLiteral("Plot"));
        panel.views().window<panel::Role::ListPlot2>()->buttonClick(QStringLiteral("Limit"));
        auto *range = panel.views().window<panel::Role::Plot2Range>();
        range->box(QStringLiteral("TxtT1")).setText(QString::number(1000 + run * 500));
        range->box(QStringLiteral("TxtT2")).setText(QString::number(40000 + run * 1000));
        narrow.push_back(timed([&] { range->findChild<QPushButton *>(QStringLiteral("CmdOk"))->click(); }));
    }
    if (!dialogs.messages.isEmpty())
        qFatal("unexpected message: %s", qPrintable(dialogs.messages.first().text));
    bench::print("plot_69998_rows_press_to_picture_median", bench::median(whole), "ms");
    bench::print("plot_69998_rows_press_to_picture_max", *std::max_element(whole.begin(), whole.end()), "ms");
    bench::print("plot_range_39000_rows_ok_to_picture_median", bench::median(narrow), "ms");
    bench::print("plot_range_39000_rows_ok_to_picture_max", *std::max_element(narrow.begin(), narrow.end()), "ms");
    return 0;
}
