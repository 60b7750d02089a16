// The simulator's sorting batch through the real serial code into the Cell Sorting window:
// every cell captured once, none missed, none twice. `bench_sorting_batch [CELLS]`, 100 by
// default (about 4 minutes); `bench_sorting_batch 800` is the half-hour run.
#include "BenchSupport.h"
#include "panel/CommandBar.h"
#include "sorting/SortingWindow.h"
#include "support/SimPanelRig.h"

#include <QAction>
#include <QApplication>
#include <QTest>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int cells = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    SimPanelRig rig;
    if (!rig.start())
        qFatal("the simulator did not start");
    rig.panel->commands().button(11)->trigger();
    auto *window = rig.panel->views().window<panel::Role::Sorting>();
    const qint64 cpuBefore = bench::cpuMicros();
    QElapsedTimer wall;
    wall.start();
    rig.sim.command(QByteArray("cells ") + QByteArray::number(cells));
    const QByteArray done = "cells done " + QByteArray::number(cells);
    if (!QTest::qWaitFor([&] { return rig.sim.output().contains(done); }, cells * 2200 + 60000))
        qFatal("the batch did not end");
    QTest::qWait(500);
    // The simulator announces each cell as it puts it on the probes: "cell K/N MOHM VOLTS".
    QList<double> announced;
    for (const QByteArray &line : rig.sim.output().split('\n')) {
        const QList<QByteArray> w = line.trimmed().split(' ');
        if (w.size() == 4 && w[0] == "cell" && w[1].contains('/'))
            announced << w[2].toDouble();
    }
    // Rows against the cells in order: a row like the previous cell is a double, a cell
    // without its row is missed.
    const QList<sorting::Cell> &rows = window->station().cells();
    const auto same = [](double a, double b) { return std::abs(a - b) <= b * 0.01 + 0.02; };
    int missed = 0;
    int doubles = 0;
    qsizetype r = 0;
    for (qsizetype k = 0; k < announced.size(); ++k) {
        while (r < rows.size() && k > 0 && !same(rows[r].milliOhm, announced[k])
               && same(rows[r].milliOhm, announced[k - 1])) {
            ++doubles;
            ++r;
        }
        if (r < rows.size() && same(rows[r].milliOhm, announced[k]))
            ++r;
        else
            ++missed;
    }
    doubles += int(rows.size() - r);
    bench::print("sorting_batch_cells", double(announced.size()), "cells");
    bench::print("sorting_batch_rows", double(rows.size()), "rows");
    bench::print("sorting_batch_missed", missed, "cells");
    bench::print("sorting_batch_double", doubles, "rows");
    bench::print("sorting_batch_minutes", wall.elapsed() / 60000.0, "min");
    bench::print("sorting_batch_cpu", 100.0 * (bench::cpuMicros() - cpuBefore) / 1000.0 / wall.elapsed(),
                 "% of a core");
    return 0;
}
