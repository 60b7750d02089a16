// CPU cost of the live poll: the simulator streams a frame every 100 ms, the main window
// polls it through the real serial code for a while, and the process's CPU time is
// compared with the wall time. Prints: poll_cpu: <percent of one core> %
#include "core/AppState.h"
#include "panel/Panel.h"
#include "support/MeterSimProcess.h"
#include "ui/Clock.h"
#include "ui/QtSerialPort.h"
#include "ui/fakes/RecordingShell.h"
#include "ui/fakes/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {
qint64 cpuUs()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000000LL + u.ru_utime.tv_usec + u.ru_stime.tv_usec;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 20;

    QTemporaryDir dir;
    MeterSimProcess sim(dir.filePath(QStringLiteral("meter")), {QStringLiteral("--period"), QStringLiteral("100")});
    if (!sim.start()) {
        std::fprintf(stderr, "simulator did not start\n");
        return 1;
    }
    core::AppState state;
    state.ComPortPath = sim.linkPath();
    ui::QtSerialPort port;
    ui::ScriptedDialogs dialogs;
    ui::RecordingShell shell;
    ui::SystemClock clock;
    panel::Panel window(state, panel::PanelServices{port, dialogs, shell, clock});
    window.show();
    if (!window.load()) {
        std::fprintf(stderr, "port did not open\n");
        return 1;
    }

    int readings = 0;
    QObject::connect(&window.poll(), &meter::LivePoll::readingDecoded, [&] { ++readings; });
    QElapsedTimer wall;
    qint64 cpuStart = 0;
    // Measure after a second of warm-up, so start-up costs do not count.
    QTimer::singleShot(1000, [&] {
        readings = 0;
        cpuStart = cpuUs();
        wall.start();
        QTimer::singleShot(seconds * 1000, [&] {
            const double cpu = double(cpuUs() - cpuStart) / double(wall.nsecsElapsed() / 1000) * 100.0;
            std::printf("poll_cpu: %.2f %%\n", cpu);
            std::printf("poll_readings_per_second: %.1f /s\n", readings * 1000.0 / double(wall.elapsed()));
            app.quit();
        });
    });
    return app.exec();
}
