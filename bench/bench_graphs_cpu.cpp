// CPU cost of the whole program with both real-time graphs sweeping: the simulator streams
// a frame every 100 ms, the main window polls it through the real serial code, and Graph
// Display opens both graphs at the poll's 150 ms. The process's CPU time is compared with
// the wall time. Prints: graphs_cpu: <percent of one core> %
#include "BenchSupport.h"
#include "core/AppState.h"
#include "meter/LivePoll.h"
#include "panel/CommandBar.h"
#include "panel/Panel.h"
#include "realtime/RealTimeGraph.h"
#include "support/SimPanelRig.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Offscreen unless a display is asked for (QT_QPA_PLATFORM=xcb under Xvfb, say).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 20;

    SimPanelRig rig({QStringLiteral("--period"), QStringLiteral("100")});
    if (!rig.start()) {
        std::fprintf(stderr, "the simulator or its port did not start\n");
        return 1;
    }
    core::AppState &state = rig.state;
    panel::Panel &window = *rig.panel;
    window.show();
    const auto ohmGraph = [&] { return window.views().window<panel::Role::RealTimeX>(); };
    const auto voltGraph = [&] { return window.views().window<panel::Role::RealTimeY>(); };
    // Graph Display once the first reading has come, so that its range is the one in use.
    QObject::connect(&window.poll(), &meter::LivePoll::readingDecoded, &window, [&] {
        if (!state.GraphOn)
            window.commands().button(5)->trigger();
    });

    QElapsedTimer wall;
    qint64 cpuStart = 0;
    float sweptFrom = 0;
    // Measure after two seconds of warm-up, so start-up costs do not count.
    QTimer::singleShot(2000, [&] {
        if (!ohmGraph() || !voltGraph() || !ohmGraph()->isSweeping() || !voltGraph()->isSweeping()) {
            std::fprintf(stderr, "graphs did not start\n");
            app.exit(1);
            return;
        }
        cpuStart = bench::cpuMicros();
        sweptFrom = ohmGraph()->sweep().SweepX;
        wall.start();
        QTimer::singleShot(seconds * 1000, [&] {
            const double cpu = double(bench::cpuMicros() - cpuStart) / double(wall.nsecsElapsed() / 1000) * 100.0;
            std::printf("graphs_cpu: %.2f %%\n", cpu);
            // Pen steps in the window; a sweep wraps every 240, at most once in 36 s.
            float steps = ohmGraph() ? ohmGraph()->sweep().SweepX - sweptFrom : 0;
            if (steps < 0)
                steps += 240;
            std::printf("graphs_steps_per_second: %.1f /s\n", steps * 1000.0 / double(wall.elapsed()));
            app.quit();
        });
    });
    return app.exec();
}
