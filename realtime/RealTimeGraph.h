#pragma once

#include "realtime/GraphGeometry.h"

#include <QFont>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <functional>

class QToolBar;

namespace core {
struct AppState;
}
namespace ui {
class Clock;
}

namespace realtime {

// One of the two sweeping graphs: "Real Time Graph - (m) Ohm " draws the live resistance,
// "Real Time Graph - Voltage " the live voltage. Its own timer moves a pen across the plot,
// wipes a strip ahead of it and joins the new point to the last; at the right end the pen
// starts again at the left. Every drawing goes into a backing store at the screen's pixel
// density, so a covered or minimised window keeps its picture; a step updates only what it
// drew, and only a resize draws the whole picture again.
class RealTimeGraph final : public QWidget
{
    Q_OBJECT
public:
    // `twinShown` tells whether the other graph window is shown: the last one to close
    // clears GraphOn.
    RealTimeGraph(GraphKind kind, core::AppState &state, const ui::Clock &clock, std::function<bool()> twinShown,
                  QWidget *parent = nullptr);

    GraphKind kind() const { return m_kind; }

    // The resistance graph at the main window's left edge, the voltage graph just right of
    // it, both at the top of the screen.
    void placeBy(const QWidget &mainWindow);

    // Timer1: the sweep runs at the given interval until stopped or closed. A picture drawn
    // under other limits or another step starts again from its load state first, so the
    // trace is never drawn to one scale under the labels of another.
    void startSweep(int intervalMs);
    void stopSweep();
    bool isSweeping() const { return m_timer.isActive(); }
    int sweepIntervalMs() const { return m_timer.interval(); }

    // One step of the pen, as Timer1 runs it.
    void tick();

    // "Limit", "Print", "stop"; any other key does nothing.
    void buttonClick(const QString &key);

    // The picture without the tool bar, at the backing store's density, as it is printed.
    QImage picture() const;
    const QPixmap &backingStore() const { return m_store; }
    QToolBar &toolBar() { return *m_toolbar; }

    // What the last redraw put on the scale, bottom to top, and its unit text.
    const QList<QString> &axisLabels() const { return m_labels; }
    const QString &unitText() const { return m_unit; }
    const GraphFrame &frame() const { return m_frame; }
    const Sweep &sweep() const { return m_sweep; }
    const QString &timeText() const { return m_timeText; }

    // The designed client area and the smallest outer size, in pixels.
    static QSize designedSize(GraphKind kind);
    static QSize minimumOuterSize(GraphKind kind);

signals:
    void limitRequested();
    void printRequested();
    // Its own sweep is stopped already; the voltage graph's stop also stops its twin.
    void stopPressed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The whole picture: axes, scale, empty plot, unit; the pen back at the left edge.
    void redraw();
    // The dotted grid lines, drawn once per plot width and copied on every step: a dotted
    // stroke costs tens of microseconds on a high-density screen, a copy one or two.
    void buildGridLines(float graphWidth);
    // The settings a picture is drawn with.
    struct Scale
    {
        int16_t top = 0;
        int16_t bottom = 0;
        float step = 0;
        bool operator==(const Scale &) const = default;
    };
    Scale scale() const;
    int16_t topLimit() const;
    int16_t bottomLimit() const;
    const QString &readingText() const;

    GraphKind m_kind;
    core::AppState &m_state;
    const ui::Clock &m_clock;
    std::function<bool()> m_twinShown;
    QToolBar *m_toolbar = nullptr;
    QTimer m_timer;
    QFont m_font;
    QPixmap m_store;
    GraphFrame m_frame;
    Sweep m_sweep;
    QString m_timeText;
    struct GridLine
    {
        QPixmap dots; // transparent between the dots
        QPoint at;
    };
    QList<GridLine> m_gridLines;
    float m_gridWidth = -1; // the plot width m_gridLines were drawn for
    QList<QString> m_labels;
    QString m_unit;
    Scale m_drawnScale;
};

} // namespace realtime
