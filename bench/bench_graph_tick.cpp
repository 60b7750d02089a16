// Cost of one sweep step of each real-time graph: the wiped strip, the grid lines, the
// segment and any mark drawn into the backing store, and the update of what changed.
// The second pair of figures adds the repaint of that region on the window.
// Prints: graph_tick_<ohm|volt>_median/p99 and graph_tick_painted_<ohm|volt>_median/p99, in us.
#include "BenchSupport.h"
#include "core/AppState.h"
#include "realtime/RealTimeGraph.h"
#include "ui/Clock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

struct Figures
{
    double median = 0;
    double p99 = 0;
};

Figures figures(std::vector<double> us)
{
    std::sort(us.begin(), us.end());
    return {us[us.size() / 2], us[us.size() * 99 / 100]};
}

void run(realtime::GraphKind kind, const char *name)
{
    core::AppState state;
    core::DecodeStatus(state.reading, 0);
    state.GraphOn = true;
    state.GraphOhmMax = 40;
    state.GraphVoltMax = 4;
    state.GraphVoltMin = -4;
    state.GraphStep = 1;
    ui::SystemClock clock;
    realtime::RealTimeGraph graph(kind, state, clock, [] { return true; });
    graph.show();
    QApplication::processEvents();

    const QStringList ohms = {"12.34", "25.00", "OL", "----", "39.99", "0.50"};
    const QStringList volts = {"3.712", "-1.250", "OL", "-OL", "0.000", "3.999"};
    const int sweeps = 40; // 240 steps each; the first warms the glyph cache and is not counted
    std::vector<double> drawn, painted;
    QElapsedTimer t;
    for (int i = 0; i < sweeps * 240; ++i) {
        state.reading.OhmText = ohms.at((i / 7) % ohms.size());
        state.reading.VoltText = volts.at((i / 7) % volts.size());
        state.ReadingAtMs = clock.monotonicMs(); // measured, as the poll leaves it
        t.start();
        graph.tick();
        const double tickUs = t.nsecsElapsed() / 1000.0;
        QApplication::processEvents();
        const double paintUs = t.nsecsElapsed() / 1000.0;
        if (i >= 240) {
            drawn.push_back(tickUs);
            painted.push_back(paintUs);
        }
    }
    const Figures d = figures(drawn);
    const Figures p = figures(painted);
    std::printf("graph_tick_%s_median: %.1f us\n", name, d.median);
    std::printf("graph_tick_%s_p99: %.1f us\n", name, d.p99);
    std::printf("graph_tick_painted_%s_median: %.1f us\n", name, p.median);
    std::printf("graph_tick_painted_%s_p99: %.1f us\n", name, p.p99);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    run(realtime::GraphKind::Ohm, "ohm");
    run(realtime::GraphKind::Volt, "volt");
    return 0;
}
