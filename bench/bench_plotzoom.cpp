// Zooming and panning the plot of a 69,998-row list: from the wheel, key or drag event to the
// finished picture on the canvas. Goal: one frame at 60 Hz, 16 ms, for every step.
#include "BenchSupport.h"
#include "core/AppState.h"
#include "plot/PlotView.h"
#include "plot/PlotWindow.h"
#include "ui/GridModel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr int Rows = 69998;

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ui::GridModel grid(5);
    grid.setHeader({"No.s", "Date", "Time", "40mOhm", "4Voltage"});
    grid.addRows(bench::recordingRows(Rows));
    core::AppState s;
    plot::setPlotFromList(s, false, "40m", "4", grid.rows());
    plot::PlotCanvas canvas;
    canvas.setPlot(plot::drawListPlot(grid, s));
    canvas.show();
    canvas.repaint();

    std::vector<double> wheelSteps, panSteps, valueSteps, homeSteps;
    const auto timed = [&](std::vector<double> &into, QEvent &event) {
        QElapsedTimer t;
        t.start();
        QApplication::sendEvent(&canvas, &event);
        // The canvas painted into a picture of its own: the whole frame, labels and curves.
        const QPixmap picture = canvas.grab();
        into.push_back(t.nsecsElapsed() / 1e6);
        if (picture.isNull())
            qFatal("nothing painted");
    };
    const QPointF at(200, 150);
    for (int round = 0; round < 5; ++round) {
        // In eight notches about the pointer (down to about a sixth of the list), then out again.
        for (int notch : {1, 1, 1, 1, 1, 1, 1, 1, -1, -1, -1, -1}) {
            QWheelEvent wheel(at, canvas.mapToGlobal(at), QPoint(), QPoint(0, 120 * notch), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            timed(wheelSteps, wheel);
        }
        for (int k = 0; k < 10; ++k) {
            QKeyEvent key(QEvent::KeyPress, k < 5 ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
            timed(panSteps, key);
        }
        for (int notch : {-1, -1, 1, 1}) {
            QWheelEvent wheel(at, canvas.mapToGlobal(at), QPoint(), QPoint(0, 120 * notch), Qt::NoButton,
                              Qt::ControlModifier, Qt::NoScrollPhase, false);
            timed(valueSteps, wheel);
        }
        QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
        timed(homeSteps, home);
    }
    const auto max = [](const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); };
    bench::print("plot_zoom_69998_rows_wheel_step_median", bench::median(wheelSteps), "ms");
    bench::print("plot_zoom_69998_rows_wheel_step_max", max(wheelSteps), "ms");
    bench::print("plot_zoom_69998_rows_pan_step_median", bench::median(panSteps), "ms");
    bench::print("plot_zoom_69998_rows_pan_step_max", max(panSteps), "ms");
    bench::print("plot_zoom_69998_rows_value_zoom_step_median", bench::median(valueSteps), "ms");
    bench::print("plot_zoom_69998_rows_home_max", max(homeSteps), "ms");
    return 0;
}
