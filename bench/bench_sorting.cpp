// Cell sorting: a capture into a 10,000-cell session (row, statistics, histogram, file
// append with sync), reopening such a session, the memory of the window with it, and the
// capture latency through the simulator and the real serial code.
#include "BenchSupport.h"
#include "core/AppState.h"
#include "meter/LivePoll.h"
#include "panel/CommandBar.h"
#include "sorting/SortingWindow.h"
#include "support/SimPanelRig.h"
#include "support/SortingFakes.h"
#include "ui/fakes/CountingTone.h"
#include "ui/fakes/FakeClock.h"
#include "ui/fakes/FakeSerialPort.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

constexpr int SessionCells = 10000;

void sessionFigures()
{
    SortingFakes rig;
    const qint64 before = bench::residentBytes();
    QString path;
    std::vector<double> captureMs;
    {
        sorting::SortingWindow window(
            sorting::SortingContext{rig.state, rig.poll, rig.dialogs, rig.clock, rig.tone, rig.dir.path()});
        window.show();
        QElapsedTimer t;
        for (int i = 0; i < SessionCells; ++i) {
            const int ohm = 1500 + (i * 7919) % 2400; // 15.00 .. 38.99 mOhm
            rig.reading(0, 0, 0x83);                  // lift
            for (int k = 0; k < 4; ++k)
                rig.reading(ohm, 3700, 0x03);
            // The fifth steady reading completes the hold: the capture and all that follows it.
            t.start();
            rig.reading(ohm, 3700, 0x03);
            captureMs.push_back(t.nsecsElapsed() / 1e6);
            if (i % 500 == 0)
                QCoreApplication::processEvents(); // paint now and then, as the event loop would
        }
        QCoreApplication::processEvents();
        if (window.station().cells().size() != SessionCells)
            qFatal("captured %d of %d", int(window.station().cells().size()), SessionCells);
        path = window.station().path();
        bench::print("sorting_session_memory", (bench::residentBytes() - before) / 1048576.0, "MB");
    }
    std::vector<double> last(captureMs.end() - 1000, captureMs.end());
    bench::print("sorting_capture_10k_median", bench::median(captureMs), "ms");
    bench::print("sorting_capture_last_1000_median", bench::median(last), "ms");
    bench::print("sorting_capture_10k_max", *std::max_element(captureMs.begin(), captureMs.end()), "ms");

    std::vector<double> reopen;
    for (int run = 0; run < 5; ++run) {
        sorting::SortingWindow window(
            sorting::SortingContext{rig.state, rig.poll, rig.dialogs, rig.clock, rig.tone, rig.dir.path()});
        window.show();
        rig.dialogs.openAnswers.enqueue(path);
        QElapsedTimer t;
        t.start();
        window.openSession();
        QCoreApplication::processEvents(); // the table and histogram drawn
        reopen.push_back(t.nsecsElapsed() / 1e6);
        if (window.station().cells().size() != SessionCells)
            qFatal("reopened %d cells", int(window.station().cells().size()));
    }
    bench::print("sorting_reopen_10k_median", bench::median(reopen), "ms");
}

// From the first frame of the settled reading (the earliest of the unbroken run of readings
// within 1 % of the captured value) to the row, the grade and the tone.
void latencyFigures()
{
    SimPanelRig rig;
    if (!rig.start())
        qFatal("the simulator did not start");
    rig.panel->commands().button(11)->trigger();
    auto *window = rig.panel->views().window<panel::Role::Sorting>();
    QList<QPair<qint64, double>> seen; // decode time, mOhm
    QElapsedTimer clock;
    clock.start();
    qint64 capturedAt = -1;
    QObject::connect(&rig.panel->poll(), &meter::LivePoll::readingDecoded, window, [&] {
        seen.append({clock.elapsed(), sorting::milliOhmOf(rig.state.reading.OhmText, rig.state.reading.OhmInMilli)});
    });
    std::vector<double> latencies;
    const double values[] = {25.19, 47.3, 88.1, 130.4, 19.02, 61.7, 240.5, 33.3, 72.0, 110.9};
    for (double v : values) {
        rig.sim.command("lift");
        QTest::qWait(700);
        const int before = int(window->station().cells().size());
        seen.clear();
        rig.sim.command(QByteArray("cell ") + QByteArray::number(v) + " 3.7");
        if (!QTest::qWaitFor([&] { return window->station().cells().size() > before; }, 5000))
            qFatal("no capture of %f", v);
        capturedAt = clock.elapsed();
        const double captured = window->station().cells().last().milliOhm;
        qsizetype first = seen.size() - 1;
        while (first > 0 && std::abs(seen[first - 1].second - captured) <= captured * 0.01)
            --first;
        latencies.push_back(double(capturedAt - seen[first].first));
    }
    bench::print("sorting_capture_latency_median", bench::median(latencies), "ms");
    bench::print("sorting_capture_latency_max", *std::max_element(latencies.begin(), latencies.end()), "ms");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    sessionFigures();
    latencyFigures();
    return 0;
}
