// CPU cost of the live poll: the simulator streams a frame every 100 ms, the main window
// polls it through the real serial code for a while, and the process's CPU time is
// compared with the wall time. Prints: poll_cpu: <percent of one core> %
#include "BenchSupport.h"
#include "core/AppState.h"
#include "panel/Panel.h"
#include "support/SimPanelRig.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 20;

    SimPanelRig rig({QStringLiteral("--period"), QStringLiteral("100")});
    if (!rig.start()) {
        std::fprintf(stderr, "the simulator or its port did not start\n");
        return 1;
    }
    panel::Panel &window = *rig.panel;
    window.show();

    int readings = 0;
    QObject::connect(&window.poll(), &meter::LivePoll::readingDecoded, [&] { ++readings; });
    QElapsedTimer wall;
    qint64 cpuStart = 0;
    // Measure after a second of warm-up, so start-up costs do not count.
    QTimer::singleShot(1000, [&] {
        readings = 0;
        cpuStart = bench::cpuMicros();
        wall.start();
        QTimer::singleShot(seconds * 1000, [&] {
            const double cpu = double(bench::cpuMicros() - cpuStart) / double(wall.nsecsElapsed() / 1000) * 100.0;
            std::printf("poll_cpu: %.2f %%\n", cpu);
            std::printf("poll_readings_per_second: %.1f /s\n", readings * 1000.0 / double(wall.elapsed()));
            app.quit();
        });
    });
    return app.exec();
}
